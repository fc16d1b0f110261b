// The kit builder's deflate at levels 0 to 12, read back by Setup's reader
// (zlib), and the same kit whatever the number of deflating threads.

#include <gtest/gtest.h>

#include <filesystem>

#include "ArchiveTestSupport.h"
#include "tools/kitbuilder/KitBuilder.h"
#include "tools/kitbuilder/KitDeflate.h"
#include "tools/kitbuilder/KitDescription.h"
#include "tools/kitbuilder/KitVerifier.h"

using namespace archive_test;
using ArchiveFormat::JoinPath;
namespace fs = std::filesystem;

namespace {

std::string Description(int level, int members) {
    std::string text =
        "[kit]\ndisk_size = 30000\nprofile_reserve = 3000\n[destinations]\n0 = TVIEWER|-1|\n"
        "[groups]\nViewer = Tessaly Viewer|Program files|1|1|1\n"
        "[archive DATA.A1]\ncomponent = Viewer\n";
    if (level >= 0)
        text += "level = " + std::to_string(level) + "\n";
    for (int i = 0; i < members; ++i)
        text += "[file M" + std::to_string(i) + ".DAT]\nsource = src/m" + std::to_string(i) + "\narchive = DATA.A1\n";
    return text;
}

void WriteSources(const ScratchDir& scratch, int members) {
    std::string src = scratch.Dir("src");
    for (int i = 0; i < members; ++i)
        WriteFile(JoinPath(src, "m" + std::to_string(i)),
                  Payload(500 + 977 * static_cast<std::size_t>(i % 13), static_cast<std::uint32_t>(i), i % 4 != 0));
}

std::map<std::string, Bytes> Tree(const std::string& dir) {
    std::map<std::string, Bytes> files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            files[fs::path(e.path()).lexically_relative(dir).generic_string()] = ReadFile(e.path().string());
    return files;
}

}  // namespace

TEST(KitDeflate, EveryLevelMakesZlibStreamsTheReaderDecodes) {
    ScratchDir scratch;
    WriteSources(scratch, 12);
    FakeFileStatus status;
    std::uint64_t level9 = 0, level12 = 0;
    for (int level = 0; level <= kKitMaxLevel; ++level) {
        SCOPED_TRACE(level);
        std::string out = scratch.Dir("kit" + std::to_string(level));
        fs::remove_all(out);
        KitResult result = BuildKit(ParseKitDescription(Description(level, 12), scratch.path.string()), out, status);
        // The verifier decodes every member with the reader's zlib and
        // compares its checksum.
        KitVerifyResult verified = VerifyKit(out);
        EXPECT_EQ(verified.problems, std::vector<std::string>{});
        EXPECT_EQ(verified.members, 12);
        std::uint64_t bytes = 0;
        for (const auto& [name, data] : Tree(out))
            if (name.find("DATA.A") != std::string::npos)
                bytes += data.size();
        if (level == 9)
            level9 = bytes;
        if (level == 12)
            level12 = bytes;
    }
    EXPECT_LE(level12, level9);
    // An archive without a level takes the default; out of range is refused by line.
    EXPECT_EQ(ParseKitDescription(Description(-1, 1), ".").archives[0].level, kKitDefaultLevel);
    try {
        ParseKitDescription(Description(13, 1), ".");
        FAIL() << "level 13 accepted";
    } catch (const KitError& e) {
        EXPECT_NE(std::string(e.what()).find("line 10: level must be between 0 and 12"), std::string::npos) << e.what();
    }
    EXPECT_THROW(KitDeflate(Bytes(10, 1), 13), ArchiveWriteError);
}

TEST(KitDeflate, OneAndTwoThreadsGiveByteIdenticalKits) {
    ScratchDir scratch;
    WriteSources(scratch, 40);
    FakeFileStatus status;
    std::map<std::string, Bytes> first;
    for (int threads : {1, 2, 3}) {
        SCOPED_TRACE(threads);
        std::string out = scratch.Dir("kit" + std::to_string(threads));
        fs::remove_all(out);
        KitResult result =
            BuildKit(ParseKitDescription(Description(kKitDefaultLevel, 40), scratch.path.string()), out, status, {}, threads);
        EXPECT_GE(result.diskettes, 3);
        std::map<std::string, Bytes> files = Tree(out);
        if (threads == 1)
            first = files;
        else
            EXPECT_TRUE(files == first);
    }
    EXPECT_EQ(VerifyKit(scratch.Dir("kit2")).problems, std::vector<std::string>{});
}

TEST(KitDeflate, BuildErrorsNameTheDescriptionsLine) {
    ScratchDir scratch;
    WriteSources(scratch, 2);
    fs::remove(scratch.File("src/m1"));
    FakeFileStatus status;
    try {
        BuildKit(ParseKitDescription(Description(9, 2), scratch.path.string()), scratch.Dir("kit"), status);
        FAIL() << "built without a source";
    } catch (const KitError& e) {
        EXPECT_NE(std::string(e.what()).find("line 14: cannot read"), std::string::npos) << e.what();
    }
    std::string tooBig = Description(9, 2) + "[kit]\nprofile_reserve = 40000\n";
    WriteFile(scratch.File("src/m1"), Bytes(10));
    try {
        BuildKit(ParseKitDescription(tooBig, scratch.path.string()), scratch.Dir("kit2"), status);
        FAIL() << "a reserve larger than the diskette was accepted";
    } catch (const KitError& e) {
        EXPECT_NE(std::string(e.what()).find("line 18: SETUP.EXE and the profile reserve"), std::string::npos)
            << e.what();
    }
}
