// The copy engine's pure rule: which copy wins.
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

}  // namespace
