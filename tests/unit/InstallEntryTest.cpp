// The copy engine's pure rules: which copy wins, and which member names may
// be created in a destination directory.
#include "archive/InstallEntry.h"

#include <gtest/gtest.h>

namespace {

FileVersion None() { return FileVersion{}; }

struct DecisionCase {
    const char* what;
    FileVersion newVersion;
    FileVersion oldVersion;
    std::int64_t newTime;
    std::int64_t oldTime;
    bool replaces;
};

TEST(InstallEntryDecision, VersionsThenTimes) {
    const DecisionCase cases[] = {
        {"newer build", MakeFileVersion(4, 0, 0, 1), MakeFileVersion(4, 0, 0, 0), 0, 0, true},
        {"older build", MakeFileVersion(4, 0, 0, 0), MakeFileVersion(4, 0, 0, 1), 0, 0, false},
        {"same version, newer time", MakeFileVersion(2, 0, 0, 5), MakeFileVersion(2, 0, 0, 5), 900, 100, false},
        {"major decides over minor", MakeFileVersion(3, 0, 0, 0), MakeFileVersion(2, 9, 9, 9), 0, 0, true},
        {"minor decides", MakeFileVersion(2, 1, 0, 0), MakeFileVersion(2, 0, 65535, 65535), 0, 0, true},
        {"third part decides", MakeFileVersion(2, 0, 3, 0), MakeFileVersion(2, 0, 4, 0), 0, 0, false},
        {"parts are unsigned", MakeFileVersion(0x8000, 0, 0, 0), MakeFileVersion(0x7fff, 0, 0, 0), 0, 0, true},
        {"installed has version, new none, new is later", None(), MakeFileVersion(1, 0, 0, 0), 900, 100, false},
        {"new has version, installed none, new is older", MakeFileVersion(1, 0, 0, 0), None(), 100, 900, true},
        {"no versions, newer time", None(), None(), 101, 100, true},
        {"no versions, equal times", None(), None(), 100, 100, false},
        {"no versions, older time", None(), None(), 99, 100, false},
        {"no versions, unreadable installed time", None(), None(), 1, 0, true},
        {"no versions, both unreadable", None(), None(), 0, 0, false},
    };
    for (const DecisionCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(NewFileReplaces(c.newVersion, c.oldVersion, c.newTime, c.oldTime), c.replaces);
    }
}

TEST(InstallEntryDecision, VersionPartsInOrderOfSignificance) {
    FileVersion v = MakeFileVersion(2, 0, 0, 5);
    EXPECT_TRUE(v.present);
    EXPECT_EQ(v.parts[0], 2);
    EXPECT_EQ(v.parts[3], 5);
    EXPECT_FALSE(None().present);
}

struct NameCase {
    const char* name;
    bool safe;
};

TEST(InstallEntryNames, OnlyPlainNamesAreSafe) {
    const NameCase cases[] = {
        {"TYVIEWER.EXE", true},
        {"readme.txt", true},
        {"NOEXT", true},
        {"long name with blanks.dat", true},
        {"CONFIG.SYS", true},
        {"COM10.TXT", true},
        {"LPT0", true},
        {"CONSOLE.TXT", true},
        {"", false},
        {".", false},
        {"..", false},
        {"..\\EVIL.DLL", false},
        {"../EVIL.DLL", false},
        {"SUB\\FILE.TXT", false},
        {"SUB/FILE.TXT", false},
        {"\\WINDOWS\\WIN.INI", false},
        {"C:WIN.INI", false},
        {"C:\\AUTOEXEC.BAT", false},
        {"\\\\SERVER\\SHARE\\X", false},
        {"FILE.TXT:STREAM", false},
        {"CON", false},
        {"con", false},
        {"NUL.TXT", false},
        {"AUX.DAT", false},
        {"PRN", false},
        {"COM1", false},
        {"com9.log", false},
        {"LPT1", false},
        {"LPT1.TXT", false},
        {"CLOCK$", false},
        {"CON .TXT", false},
        {"A*.DLL", false},
        {"A?.DLL", false},
        {"A<B", false},
        {"A|B", false},
        {"\"Q\"", false},
        {"TRAIL.", false},
        {"TRAIL ", false},
        {"TAB\tNAME", false},
        {"NEW\nLINE", false},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsSafeMemberName(c.name), c.safe);
    }
    EXPECT_FALSE(IsSafeMemberName(std::string(256, 'A')));
    EXPECT_TRUE(IsSafeMemberName(std::string(255, 'A')));
}

TEST(InstallEntryNames, DeviceNamesWithAndWithoutExtension) {
    EXPECT_TRUE(IsDeviceName("CON"));
    EXPECT_TRUE(IsDeviceName("Aux.Txt"));
    EXPECT_TRUE(IsDeviceName("lpt9.a.b"));
    EXPECT_FALSE(IsDeviceName("CONX"));
    EXPECT_FALSE(IsDeviceName("XCON"));
    EXPECT_FALSE(IsDeviceName("COM"));
    EXPECT_FALSE(IsDeviceName(".CON"));
}

}  // namespace
