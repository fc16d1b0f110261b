// tvkit's core on Windows: the members carry the sources' own times and
// attributes as Win32 reports them, and the finished kit verifies.

#include <gtest/gtest.h>

#include <windows.h>

#include "../unit/ArchiveTestSupport.h"
#include "tools/kitbuilder/KitBuilder.h"
#include "tools/kitbuilder/KitDescription.h"
#include "tools/kitbuilder/KitVerifier.h"

using namespace archive_test;
using ArchiveFormat::JoinPath;

TEST(KitBuilderWin32, MembersCarryWin32TimesAndAttributesAndTheKitVerifies) {
    ScratchDir scratch;
    std::string src = scratch.Dir("src");
    WriteFile(JoinPath(src, "A.EXE"), Payload(5000, 1, false));
    WriteFile(JoinPath(src, "B.TXT"), Payload(9000, 2));
    // Read-only on the build host must not make the installed file read-only;
    // the hidden bit is the publisher's choice and is kept.
    ASSERT_TRUE(SetFileAttributesA(JoinPath(src, "A.EXE").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    FileStatusPlatform& status = Win32FileStatus();
    FileStatus a = status.GetStatus(JoinPath(src, "A.EXE"));
    ASSERT_NE(a.modTime, 0);

    std::string text =
        "[kit]\ndisk_size = 8000\nprofile_reserve = 1000\n[destinations]\n0 = TVIEWER|-1|\n"
        "[groups]\nViewer = Tessaly Viewer|Program files|1|1|1\n"
        "[archive DATA.A1]\ncomponent = Viewer\n"
        "[file A.EXE]\nsource = src/A.EXE\narchive = DATA.A1\n"
        "[file B.TXT]\nsource = src/B.TXT\narchive = DATA.A1\n";
    std::string out = scratch.Dir("kit");
    KitResult result = BuildKit(ParseKitDescription(text, scratch.path.string()), out, status);
    EXPECT_GE(result.diskettes, 1);

    Bytes volume = ReadFile(JoinPath(JoinPath(out, "DISK01"), "DATA.A1"));
    ASSERT_GE(volume.size(), 8u + 346u);
    EntryHeader h;
    std::copy(volume.begin() + 8, volume.begin() + 8 + 346, h.Bytes());
    EXPECT_EQ(h.Name(), "A.EXE");
    EXPECT_EQ(h.ModTime(), static_cast<std::int32_t>(a.modTime));
    EXPECT_EQ(h.Attributes() & FILE_ATTRIBUTE_READONLY, 0);
    EXPECT_NE(h.Attributes() & FILE_ATTRIBUTE_HIDDEN, 0);
    EXPECT_EQ(h.Method(), 2);  // incompressible: stored

    KitVerifyResult verified = VerifyKit(out);
    EXPECT_TRUE(verified.problems.empty()) << (verified.problems.empty() ? "" : verified.problems[0]);
    EXPECT_EQ(verified.members, 2);
    SetFileAttributesA(JoinPath(src, "A.EXE").c_str(), FILE_ATTRIBUTE_NORMAL);
}
