// What tvkit tells the publisher: the summary after a build agrees with the
// files it wrote, and the key list of --help is the parser's own.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "ArchiveTestSupport.h"
#include "tools/kitbuilder/KitBuilder.h"
#include "tools/kitbuilder/KitDescription.h"

using namespace archive_test;
using ArchiveFormat::JoinPath;
namespace fs = std::filesystem;

namespace {

const char* kKit =
    "[kit]\ndisk_size = 24000\nprofile_reserve = 2000\n"
    "[destinations]\n0 = TVIEWER|-1|\n"
    "[groups]\nViewer = Tessaly Viewer|Program files|1|1|1\n"
    "[file README.TXT]\nsource = src/readme\ncomponent = Viewer\n"
    "[archive DATA.A1]\ncomponent = Viewer\n"
    "[file TEXT.DAT]\nsource = src/text\narchive = DATA.A1\n"
    "[file NOISE.DAT]\nsource = src/noise\narchive = DATA.A1\n"
    "[file EMPTY.DAT]\nsource = src/empty\narchive = DATA.A1\n"
    "[archive RAW.A1]\ncomponent = Viewer\nmethod = stored\n"
    "[file RAW.DAT]\nsource = src/raw\narchive = RAW.A1\n"
    "[file NOTES.TXT]\nsource = src/notes\ncomponent = Viewer\n";

// The numbers of a line after the first word, in order.
std::vector<std::uint64_t> Numbers(const std::string& line) {
    std::vector<std::uint64_t> numbers;
    std::string digits;
    for (char c : line + " ") {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits += c;
        } else if (!digits.empty()) {
            numbers.push_back(std::stoull(digits));
            digits.clear();
        }
    }
    return numbers;
}

}  // namespace

TEST(KitSummary, NumbersAgreeWithTheFilesWritten) {
    ScratchDir scratch;
    std::string src = scratch.Dir("src");
    const std::map<std::string, Bytes> sources = {
        {"readme", Payload(3000, 1)}, {"text", Payload(40000, 2)}, {"noise", Payload(9000, 3, false)},
        {"empty", {}},                {"raw", Payload(12000, 4)},  {"notes", Payload(5000, 5, false)},
    };
    for (const auto& [name, data] : sources)
        WriteFile(JoinPath(src, name), data);
    FakeFileStatus status;
    std::string out = scratch.Dir("kit");
    KitResult result = BuildKit(ParseKitDescription(kKit, scratch.path.string()), out, status);
    std::vector<std::string> summary = KitSummary(result);
    ASSERT_GE(result.diskettes, 3);
    ASSERT_EQ(summary.size(), static_cast<std::size_t>(result.diskettes) + 3);
    EXPECT_EQ(summary[0], std::to_string(result.diskettes) + " diskette(s):");

    // One line per directory written: its file count and bytes as the file
    // system has them, of the diskette's size.
    std::size_t seen = 0;
    for (int d = 1; d <= result.diskettes; ++d) {
        char name[16];
        std::snprintf(name, sizeof name, "DISK%02d", d);
        std::uint64_t files = 0, bytes = 0;
        for (const auto& entry : fs::directory_iterator(JoinPath(out, name))) {
            ++files;
            bytes += entry.file_size();
        }
        seen += files;
        const std::string& line = summary[static_cast<std::size_t>(d)];
        EXPECT_EQ(line.substr(0, 8), std::string("  ") + name) << line;
        std::vector<std::uint64_t> n = Numbers(line.substr(8));
        ASSERT_EQ(n.size(), 5u) << line;
        EXPECT_EQ(n[0], files) << line;
        EXPECT_EQ(n[1], bytes) << line;
        EXPECT_EQ(n[2], 24000u) << line;
        EXPECT_EQ(n[3] * 10 + n[4], bytes * 1000 / 24000) << line;
        EXPECT_LE(bytes, 24000u) << line;
    }
    EXPECT_FALSE(fs::exists(JoinPath(out, "DISK" + std::to_string(result.diskettes + 1))));

    // Members: text is deflated; noise, the empty file and the stored
    // archive's member are stored. Before: the sources' sizes; after: what
    // the listing gives each member.
    std::uint64_t before = 0;
    for (const char* m : {"text", "noise", "empty", "raw"})
        before += sources.at(m).size();
    std::uint64_t after = 0;
    for (const std::string& line : result.listing)
        if (line.rfind("  DATA.A1: ", 0) == 0 || line.rfind("  RAW.A1: ", 0) == 0)
            after += Numbers(line.substr(line.find("-> ")))[0];
    std::vector<std::uint64_t> members = Numbers(summary[summary.size() - 2]);
    ASSERT_EQ(members.size(), 7u) << summary[summary.size() - 2];
    EXPECT_EQ(members[0], 4u);
    EXPECT_EQ(members[1], 1u);  // deflated
    EXPECT_EQ(members[2], 3u);  // stored
    EXPECT_EQ(members[3], before);
    EXPECT_EQ(members[4], after);
    EXPECT_LT(after, before);
    EXPECT_EQ(summary.back(), "2 single file(s): 8000 bytes");
    // Every file written is somewhere in the listing, and nothing else.
    EXPECT_EQ(seen, static_cast<std::size_t>(std::count_if(result.listing.begin(), result.listing.end(),
                                                           [](const std::string& l) { return l.rfind("DISK", 0) == 0; })));
}

TEST(KitDescriptionKeys, EveryKeyOfTheHelpIsOneTheParserTakes) {
    ScratchDir scratch;
    WriteFile(JoinPath(scratch.Dir("samples"), "a.mol"), Payload(100, 1));
    WriteFile(JoinPath(scratch.Dir("samples/x"), "b.mol"), Payload(100, 2));
    WriteFile(scratch.File("src"), Payload(100, 3));
    const std::string base =
        "[destinations]\n0 = TVIEWER|-1|\n1 = SAMPLES|0|\n2 = HELP|0|\n"
        "[groups]\nViewer = Tessaly Viewer|Program files|1|1|1\nSamples = Samples|x|0|1|1\n"
        "[archive DATA.A1]\ncomponent = Viewer\n[archive SAMPLES.A1]\ncomponent = Samples\n"
        "[file A.DAT]\nsource = src\narchive = DATA.A1\n[file B.DAT]\nsource = src\narchive = SAMPLES.A1\n";
    const std::string help = KitDescriptionHelp();
    std::set<std::string> sections;
    for (const KitKey& k : KitDescriptionKeys()) {
        std::string key = k.key;
        SCOPED_TRACE(std::string(k.section) + " " + key);
        sections.insert(k.section);
        EXPECT_NE(help.find("  " + key + " = " + k.example + "\n"), std::string::npos);
        EXPECT_NE(help.find(k.meaning), std::string::npos);
        // A section of the kind holding this key and what the cross-checks
        // need besides; the description must parse.
        const std::map<std::string, std::pair<std::string, std::string>> around = {
            {"kit", {"[kit]\n", ""}},
            {"archive", {"[archive X.A1]\ncomponent = Viewer\n", "[file X.DAT]\nsource = src\narchive = X.A1\n"}},
            {"file", {"[file X.DAT]\nsource = src\ncomponent = Viewer\n", ""}},
            {"tree", {"[tree t]\nsource = samples\narchive = SAMPLES.A1\n", ""}},
        };
        auto it = around.find(k.section);
        if (it == around.end())
            continue;  // a line section: its entry gives the form of the lines
        if (key.rfind("subdir ", 0) == 0)
            key = "subdir x";
        std::string text = base + it->second.first + key + " = " + k.example + "\n" + it->second.second;
        try {
            ParseKitDescription(text, scratch.path.string());
        } catch (const KitError& e) {
            ADD_FAILURE() << text << "\n-> " << e.what();
        }
    }
    // Every section the parser knows has its entries.
    EXPECT_EQ(sections, (std::set<std::string>{"kit", "diskettes", "destinations", "groups", "targets", "archive",
                                               "file", "tree"}));
    // And the sections of named keys take nothing else.
    for (const char* section : {"[kit]\n", "[archive B.A1]\ncomponent = Viewer\n", "[file C.DAT]\n", "[tree t]\n"}) {
        try {
            ParseKitDescription(base + section + "compression = 9\n", scratch.path.string());
            ADD_FAILURE() << section << "compression accepted";
        } catch (const KitError& e) {
            EXPECT_NE(std::string(e.what()).find("unknown key 'compression'"), std::string::npos) << e.what();
        }
    }
}
