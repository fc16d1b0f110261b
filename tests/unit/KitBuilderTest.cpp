#include "tools/kitbuilder/KitBuilder.h"

#include <gtest/gtest.h>

#include "ArchiveTestSupport.h"
#include "tools/kitbuilder/InstallProfileWriter.h"
#include "tools/kitbuilder/KitDescription.h"

using namespace archive_test;
using ArchiveFormat::JoinPath;

namespace {

// Lines of one section of a profile text, in file order.
std::vector<std::string> SectionLines(const std::string& profile, const std::string& section) {
    std::vector<std::string> lines;
    bool inside = false;
    std::size_t pos = 0;
    while (pos < profile.size()) {
        std::size_t end = profile.find("\r\n", pos);
        std::string line = profile.substr(pos, end - pos);
        pos = end == std::string::npos ? profile.size() : end + 2;
        if (!line.empty() && line[0] == '[') {
            inside = line == "[" + section + "]";
            continue;
        }
        if (inside && !line.empty())
            lines.push_back(line);
    }
    return lines;
}

const char* kHeader =
    "[kit]\n"
    "disk_size = 20000\n"
    "profile_reserve = 2000\n"
    "label = Tessaly Viewer Disk %d\n"
    "[diskettes]\n"
    "2 = Tessaly Viewer Disk 2 (samples)|spare\n"
    "[destinations]\n"
    "0 = TVIEWER|-1|\n"
    "1 = SAMPLES|0|\n"
    "[groups]\n"
    "Viewer = Tessaly Viewer|Program files|1|1|1\n"
    "Samples = Samples|Sample molecules|0|1|1\n"
    "[targets]\n"
    "tyview.exe = 0|0|0|Tessaly Viewer||TYVIEW.EXE|\n";

}  // namespace

TEST(InstallProfileWriter, SectionsInLoadOrderWithBarSeparatedFields) {
    InstallProfile p;
    p.destinations = {{0, "TVIEWER", -1, ""}, {1, "SAMPLES", 0, ""}};
    p.components = {{"Viewer", "Tessaly Viewer", "Program files", 1, 1, 1}};
    p.targets = {{"TYVIEW.EXE", 0, 3, 1, "Tessaly Viewer", "/x", "TYVIEW.EXE", ""}};
    p.componentFiles = {{"Viewer", {{"DATA.A1", 123456, 1, 5, 1, 0, ""}, {"README.TXT", 99, 0, 1, -2, -1, "t"}}}};
    p.diskettes = {{1, "Disk 1", ""}, {2, "Disk 2", "x"}};
    EXPECT_EQ(WriteInstallProfile(p),
              "[destinations]\r\n0=TVIEWER|-1|\r\n1=SAMPLES|0|\r\n"
              "\r\n[groups]\r\nViewer=Tessaly Viewer|Program files|1|1|1\r\n"
              "\r\n[targets]\r\nTYVIEW.EXE=0|3|1|Tessaly Viewer|/x|TYVIEW.EXE|\r\n"
              "\r\n[Viewer]\r\nDATA.A1=123456|1|5|1|0|\r\nREADME.TXT=99|0|1|-2|-1|t\r\n"
              "\r\n[diskettes]\r\n1=Disk 1|\r\n2=Disk 2|x\r\n");
}

TEST(KitDescriptionParse, BadDescriptionsNameTheirLine) {
    struct Case {
        const char* label;
        std::string text;
        const char* message;
    };
    const std::string base = kHeader;
    const std::vector<Case> cases = {
        {"unknown section", base + "[files]\n", "line 15: unknown section"},
        {"unknown key", base + "[kit]\nfloppy = 1\n", "unknown key 'floppy'"},
        {"bad number", "[kit]\ndisk_size = big\n", "line 2: disk_size must be a number"},
        {"tiny disk", "[kit]\ndisk_size = 100\n", "disk_size must be between"},
        {"no main destination", "[destinations]\n1 = X|0|\n", "must define 0"},
        {"unknown component", base + "[file A.TXT]\nsource = a\ncomponent = Nope\n", "'Nope' is not in [groups]"},
        {"no source", base + "[file A.TXT]\ncomponent = Viewer\n", "has no source"},
        {"unknown archive", base + "[file A.TXT]\nsource = a\narchive = X.A1\n", "no [archive X.A1]"},
        {"empty archive", base + "[archive X.A1]\ncomponent = Viewer\n", "has no files"},
        {"bar in text", base + "[file A.TXT]\nsource = a\ncomponent = Viewer\ntext = a|b\n", "must not contain '|'"},
        {"path as name", base + "[file sub/A.TXT]\n", "not a file name"},
        // Names Setup would refuse on the user's disk.
        {"device with extension", base + "[file AUX.DAT]\nsource = a\ncomponent = Viewer\n",
         "line 15: 'AUX.DAT' is a name Setup refuses"},
        {"device alone", base + "[file nul]\nsource = a\ncomponent = Viewer\n", "line 15: 'nul' is a name Setup refuses"},
        {"trailing dot", base + "[file A.TXT.]\nsource = a\ncomponent = Viewer\n",
         "line 15: 'A.TXT.' is a name Setup refuses"},
        {"dot dot", base + "[file ..]\nsource = a\ncomponent = Viewer\n", "line 15: '..' is a name Setup refuses"},
        {"device archive", base + "[archive COM1.A1]\ncomponent = Viewer\n", "line 15: 'COM1.A1' is a name Setup refuses"},
        {"same name twice", base + "[file A.TXT]\nsource = a\ncomponent = Viewer\n[file a.txt]\n", "given twice"},
        {"undefined destination", base + "[file A.TXT]\nsource = a\ncomponent = Viewer\ndestination = 7\n",
         "destination 7 is not in [destinations]"},
        {"section clash", "[groups]\nTargets = x\n", "clash"},
        {"too many fields", "[destinations]\n0 = a|b|c|d\n", "at most 3 fields"},
        {"mixed components", base + "[archive X.A1]\ncomponent = Viewer\n[file A]\nsource = a\narchive = X.A1\n"
                                    "component = Samples\n", "but its archive in 'Viewer'"},
    };
    for (const Case& c : cases) {
        try {
            ParseKitDescription(c.text, ".");
            ADD_FAILURE() << c.label << ": accepted";
        } catch (const KitError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.label << ": " << e.what();
        }
    }
}

TEST(KitBuilder, BuildsDiskettesThatSetupsReaderInstallsFrom) {
    ScratchDir scratch;
    std::string src = scratch.Dir("src");
    std::map<std::string, Bytes> sources = {
        {"TYVIEW.EXE", Payload(30000, 1, false)}, {"TYVIEW.HLP", Payload(12000, 2)},
        {"EMPTY.INI", {}},                         {"README.TXT", Payload(3000, 3)},
        {"CAFFEINE.PDB", Payload(25000, 4)},       {"BIG.PDB", Payload(15000, 5, false)},
    };
    for (const auto& [name, data] : sources)
        WriteFile(JoinPath(src, name), data);
    WriteFile(JoinPath(src, "setup.exe"), Payload(1000, 9, false));
    std::string text = std::string(kHeader) +
                       "[kit]\nsetup_exe = src/setup.exe\n"
                       "[file README.TXT]\nsource = src/README.TXT\ncomponent = Viewer\n"
                       "[archive DATA.A1]\ncomponent = Viewer\nlevel = 9\n"
                       "[file TYVIEW.EXE]\nsource = src/TYVIEW.EXE\narchive = DATA.A1\n"
                       "[file TYVIEW.HLP]\nsource = src/TYVIEW.HLP\narchive = DATA.A1\n"
                       "[file EMPTY.INI]\nsource = src/EMPTY.INI\narchive = DATA.A1\ndestination = -2\n"
                       "[archive SAMPLES.AA]\ncomponent = Samples\nmethod = stored\n"
                       "[file CAFFEINE.PDB]\nsource = src/CAFFEINE.PDB\narchive = SAMPLES.AA\ndestination = 1\n"
                       "[file BIG.PDB]\nsource = src/BIG.PDB\narchive = SAMPLES.AA\ndestination = 1\n";
    KitDescription kit = ParseKitDescription(text, scratch.path.string());
    FakeFileStatus status;
    std::string out = scratch.Dir("kit");
    KitResult result = BuildKit(kit, out, status);
    ASSERT_GE(result.diskettes, 3);

    // Every diskette fits; DISK01 holds Setup and its profile.
    for (int d = 1; d <= result.diskettes; ++d) {
        char name[16];
        std::snprintf(name, sizeof name, "DISK%02d", d);
        std::uint64_t used = 0;
        for (const auto& entry : std::filesystem::directory_iterator(JoinPath(out, name)))
            used += entry.file_size();
        EXPECT_LE(used, 20000u) << name;
    }
    std::string disk1 = JoinPath(out, "DISK01");
    EXPECT_TRUE(ReadFile(JoinPath(disk1, "SETUP.EXE")) == ReadFile(JoinPath(src, "setup.exe")));
    Bytes profileBytes = ReadFile(JoinPath(disk1, "SETUP.ini"));
    std::string profile(profileBytes.begin(), profileBytes.end());
    EXPECT_EQ(profile, result.profileText);

    EXPECT_EQ(SectionLines(profile, "destinations"), (std::vector<std::string>{"0=TVIEWER|-1|", "1=SAMPLES|0|"}));
    EXPECT_EQ(SectionLines(profile, "targets"),
              (std::vector<std::string>{"tyview.exe=0|0|0|Tessaly Viewer||TYVIEW.EXE|"}));
    std::vector<std::string> viewer = SectionLines(profile, "Viewer");
    ASSERT_EQ(viewer.size(), 2u);
    EXPECT_EQ(viewer[0], "README.TXT=3000|0|1|1|0|");
    EXPECT_EQ(viewer[1], "DATA.A1=42000|1|3|1|0|");
    std::vector<std::string> samples = SectionLines(profile, "Samples");
    ASSERT_EQ(samples.size(), 1u);
    EXPECT_EQ(samples[0].substr(0, 21), "SAMPLES.AA=40000|1|2|");
    std::vector<std::string> diskettes = SectionLines(profile, "diskettes");
    ASSERT_EQ(diskettes.size(), static_cast<std::size_t>(result.diskettes));
    EXPECT_EQ(diskettes[0], "1=Tessaly Viewer Disk 1|");
    EXPECT_EQ(diskettes[1], "2=Tessaly Viewer Disk 2 (samples)|spare");

    // Install both archives the way Setup does, moving through DISKnn.
    FakeLocator locator;
    for (int d = 1; d <= result.diskettes; ++d) {
        char name[16];
        std::snprintf(name, sizeof name, "DISK%02d", d);
        locator.diskDirs[d] = JoinPath(out, name);
    }
    std::map<std::string, Bytes> installed;
    for (const std::string& line : {viewer[1], samples[0]}) {
        std::string name = line.substr(0, line.find('='));
        int diskette = std::stoi(line.substr(line.find('|', line.find('|', line.find('|') + 1) + 1) + 1));
        locator.current = locator.diskDirs.at(diskette);
        CMediaMultiFile archive(&locator, nullptr, diskette);
        archive.OpenArchive(JoinPath(locator.current, name));
        CMultiFileEntry entry(&status);
        while (archive.NextEntry(entry, false)) {
            entry.SetOutputPath(scratch.File("installed_" + entry.memberName));
            archive.Extract(entry);
            installed[entry.memberName] = ReadFile(entry.GetOutputPath());
            if (entry.memberName == "EMPTY.INI") {
                EXPECT_EQ(entry.header.Destination(), -2);
            }
            if (entry.memberName == "BIG.PDB") {
                EXPECT_EQ(entry.header.Method(), 2);
            }
        }
    }
    EXPECT_EQ(installed.size(), 5u);
    for (const auto& [name, data] : installed)
        EXPECT_TRUE(data == sources.at(name)) << name;
    EXPECT_TRUE(ReadFile(JoinPath(disk1, "README.TXT")) == sources.at("README.TXT"));
    EXPECT_FALSE(locator.calls.empty());  // at least one archive continued

    // A second build into the same place is refused rather than mixed in.
    EXPECT_THROW(BuildKit(kit, out, status), KitError);
}

TEST(KitBuilder, ProfileReserveAndVolumeNamesAreChecked) {
    ScratchDir scratch;
    WriteFile(scratch.File("a"), Payload(50000, 1, false));
    FakeFileStatus status;
    std::string small = std::string(kHeader) + "[kit]\nprofile_reserve = 20\n[file A.TXT]\nsource = a\ncomponent = Viewer\n";
    EXPECT_THROW(BuildKit(ParseKitDescription(small, scratch.path.string()), scratch.Dir("k1"), status), KitError);

    // DATA.A8 can only go on to DATA.A9; a third volume would be "DATA.A:".
    std::string names = std::string(kHeader) + "[archive DATA.A8]\ncomponent = Viewer\nmethod = stored\n"
                                               "[file A.TXT]\nsource = a\narchive = DATA.A8\n";
    try {
        BuildKit(ParseKitDescription(names, scratch.path.string()), scratch.Dir("k2"), status);
        FAIL();
    } catch (const KitError& e) {
        EXPECT_NE(std::string(e.what()).find("DATA.A:"), std::string::npos) << e.what();
    }
}
