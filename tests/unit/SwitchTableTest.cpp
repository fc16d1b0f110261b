// The command-line switch table and what Setup takes from it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SwitchTableCases.h"
#include "app/SwitchTable.h"
#include "support/FilePath.h"

namespace {

using namespace switch_cases;

struct ParseCase {
    const char* arguments;
    Table expected;  // the whole table, sorted by key
};

TEST(SwitchTableTest, SplitsWordsIntoKeysAndValues) {
    const ParseCase cases[] = {
        {"", {}},
        {"   ", {}},
        {"/D:C:\\KIT", {{"D", "C:\\KIT"}}},
        {"/DC:\\KIT", {{"DC", "\\KIT"}}},           // the key runs to the first colon
        {"/DA:\\X", {{"DA", "\\X"}}},
        {"/Dvalue", {{"D", "value"}}},               // one-letter key, value directly after
        {"/U", {{"U", ""}}},
        {"/u", {{"u", ""}}},                         // kept, but not recognised
        {"/", {}},                                   // a lone slash is ignored
        {"abc /B", {{"#0", "abc"}, {"B", ""}}},
        {"a  b   /I c", {{"#0", "a"}, {"#1", "b"}, {"#2", "c"}, {"I", ""}}},
        {"/U:anything", {{"U", "anything"}}},
        {"/:x", {{"", "x"}}},                        // empty key before the colon
        {"/KEY:a:b", {{"KEY", "a:b"}}},              // only the first colon splits
        {"/D:first /D:second", {{"D", "second"}}},   // a later word wins
        {"/B/U", {{"B", "/U"}}},                     // no blank, one word
        {"\t/B", {{"#0", "\t/B"}}},                  // only the space separates words
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(Parse(c.arguments), c.expected);
    }
}

TEST(SwitchTableTest, OnlyUpperCaseKeysSetTheFlags) {
    const SettingsCase cases[] = {
        {"", false, false, false, false, ""},
        {"/U", true, false, false, false, ""},
        {"/u /b /i /d:C:\\X", false, false, false, false, ""},
        {"/U:yes", true, false, false, false, ""},
        {"/Ux", true, false, false, false, ""},
        {"abc /B", false, true, false, false, ""},
        {"/I /B /U", true, true, true, false, ""},
        {"/D:C:\\KIT", false, false, false, true, "C:\\KIT"},
        {"/DC:\\KIT", false, false, false, false, ""},
        {"/D", false, false, false, false, ""},   // no directory: nothing to move to
        {"/D:", false, false, false, false, ""},
        // The quiet switch is a batch run too, and parsed like every other.
        {"/Q", false, true, false, false, "", true},
        {"/q", false, false, false, false, ""},
        {"/B /Q", false, true, false, false, "", true},
        {"/Qx", false, true, false, false, "", true},
        {"/Q:yes /U", true, true, false, false, "", true},
        {"/QB", false, true, false, false, "", true},  // one word: key Q, value B
        {"Q /QQ:", false, false, false, false, ""},     // a plain word, and the key QQ
    };
    for (const SettingsCase& c : cases) ExpectSettings(c);
}

TEST(SwitchTableTest, DirectorySwitchMovesProfileAndSourceDirectory) {
    struct Case {
        const char* path;
        const char* directory;
        const char* expected;
    };
    const Case cases[] = {
        {"A:\\SETUP.ini", "C:\\KIT", "C:\\KIT\\SETUP.ini"},
        {"A:\\", "C:\\KIT", "C:\\KIT\\"},
        {"A:\\", "C:\\KIT\\", "C:\\KIT\\"},
        {"A:\\DISK1\\SETUP.ini", "\\KIT", "A:\\KIT\\SETUP.ini"},  // no drive: the drive stays
        {"A:\\SETUP.ini", "D:", "D:\\SETUP.ini"},  // a bare drive means its root
        {"A:\\SETUP.ini", "", "A:\\SETUP.ini"},
        {"Z:\\build\\app\\SETUP.ini", "\\\\server\\kit", "\\\\server\\kit\\SETUP.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " <- " + c.directory);
        FilePath path(c.path);
        ApplyDirectorySwitch(path, c.directory);
        EXPECT_EQ(path.GetPath(), c.expected);
    }
}

TEST(SwitchTableTest, DirectorySwitchLeavesAnUnsplittablePathAlone) {
    const std::string longName(300, 'x');
    FilePath path("A:\\" + longName + ".ini");
    ApplyDirectorySwitch(path, "C:\\KIT");
    EXPECT_EQ(path.GetPath(), "A:\\" + longName + ".ini");
}

}  // namespace
