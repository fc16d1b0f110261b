// Command lines nobody should type: overlong words, thousands of switches,
// odd slashes, quotes, device and namespace prefixes, control characters.
// The switch table must take each apart by the same rules as a sane one,
// keep every value whole (never cut), and never let a value that cannot be
// a usable directory move the profile somewhere truncated.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "SwitchTableCases.h"
#include "app/SwitchTable.h"
#include "support/FilePath.h"

namespace {

using namespace switch_cases;

TEST(HostileSwitchTable, OddWordsFollowTheOrdinaryRules) {
    struct Case {
        std::string arguments;
        Table expected;
    };
    const Case cases[] = {
        {"/", {}},
        {"/ / /", {}},
        {"//", {{"/", ""}}},                       // key "/", not recognised
        {"///B", {{"/", "/B"}}},                   // no batch mode hides in there
        {"/d:C:\\X /u /b /i", {{"b", ""}, {"d", "C:\\X"}, {"i", ""}, {"u", ""}}},
        {"/Ufoo", {{"U", "foo"}}},
        {"/D:\"C:\\Program Files\\Kit\"", {{"#0", "Files\\Kit\""}, {"D", "\"C:\\Program"}}},
        {"/D:\\\\?\\C:\\x", {{"D", "\\\\?\\C:\\x"}}},
        {"/D:\\\\.\\NUL", {{"D", "\\\\.\\NUL"}}},
        {"/B\x01", {{"B", "\x01"}}},               // a control character is only a value
        {"\x01/B", {{"#0", "\x01/B"}}},            // ... or a plain word
        {"/B\t/U\r\n", {{"B", "\t/U\r\n"}}},       // tabs and line breaks do not split
        {"/\x7f", {{"\x7f", ""}}},
        {"/\xff:\xfe", {{"\xff", "\xfe"}}},
        {"/::", {{"", ":"}}},
        {"/D::", {{"D", ":"}}},
        {"/:", {{"", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(Parse(c.arguments), c.expected);
    }
}

TEST(HostileSwitchTable, OddSwitchesSetOnlyWhatTheirUpperCaseKeysSay) {
    const SettingsCase cases[] = {
        {"/ // ///B", false, false, false, false, ""},
        {"/d:C:\\X /u /b /i", false, false, false, false, ""},
        {"/Ufoo", true, false, false, false, ""},
        {"/B\x01 /I\x7f", false, true, true, false, ""},
        {"/D:\"C:\\Program Files\"", false, false, false, true, "\"C:\\Program"},
        {"/D:\\\\?\\C:\\x", false, false, false, true, "\\\\?\\C:\\x"},
        {"/D: /B", false, true, false, false, ""},  // an empty value moves nothing
        {"/D:x /D:", false, false, false, false, ""},  // the later, empty one wins
    };
    for (const SettingsCase& c : cases) ExpectSettings(c);
}

TEST(HostileSwitchTable, OverlongWordsAreKeptWhole) {
    const std::string word(10000, 'w');
    EXPECT_EQ(Parse(word), (Table{{"#0", word}}));
    EXPECT_EQ(Parse("/Q" + word), (Table{{"Q", word}}));
    EXPECT_EQ(Parse("/" + word + ":v"), (Table{{word, "v"}}));

    const std::string directory = "C:\\" + std::string(297, 'd');
    const SwitchSettings s = ReadSwitchSettings(ParseSwitches("/B /D:" + directory + " " + word));
    EXPECT_TRUE(s.batchMode);
    ASSERT_TRUE(s.hasDirectory);
    EXPECT_EQ(s.directory.size(), 300u);
    EXPECT_EQ(s.directory, directory);
}

TEST(HostileSwitchTable, ThousandsOfSwitchesAndWords) {
    std::string arguments;
    for (int i = 0; i < 3000; ++i) arguments += "/K" + std::to_string(i) + ":v" + std::to_string(i) + " ";
    for (int i = 0; i < 3000; ++i) arguments += "w" + std::to_string(i) + " ";
    for (int i = 0; i < 2000; ++i) arguments += "/B ";
    arguments += "/I";
    const SwitchTable table = ParseSwitches(arguments);
    // 3000 keys, 3000 numbered words, B and I: repeats collapse into one.
    EXPECT_EQ(table.size(), 6002u);
    EXPECT_EQ(table.at("K2999"), "v2999");
    EXPECT_EQ(table.at("#0"), "w0");
    EXPECT_EQ(table.at("#2999"), "w2999");
    const SwitchSettings s = ReadSwitchSettings(table);
    EXPECT_TRUE(s.batchMode);
    EXPECT_TRUE(s.ignoreConditions);
    EXPECT_FALSE(s.uninstallMode);
    EXPECT_FALSE(s.hasDirectory);
}

// Whatever the "D" value, the profile and source paths it produces are
// the whole value with the file name: never a cut path, which would name
// some other file. One that is too long is refused by every file operation.
TEST(HostileSwitchTable, DirectoryValuesNeverProduceACutPath) {
    struct Case {
        std::string directory;
        std::string expected;
        bool tooLong;
    };
    const std::string d252 = "C:\\" + std::string(249, 'd');
    const std::string d300 = "C:\\" + std::string(297, 'd');
    const Case cases[] = {
        // 252 characters, a backslash and SETUP.ini: 262 in all, which the
        // system refuses as a whole instead of opening a shortened name.
        {d252, d252 + "\\SETUP.ini", true},
        {"C:\\" + std::string(200, 'd'), "C:\\" + std::string(200, 'd') + "\\SETUP.ini", false},
        {d300, d300 + "\\SETUP.ini", true},
        {"\\\\?\\C:\\x", "\\\\?\\C:\\x\\SETUP.ini", false},
        {"\\\\.\\NUL", "\\\\.\\NUL\\SETUP.ini", false},
        {"\"C:\\Program", "Z:\"C:\\Program\\SETUP.ini", false},  // no drive of its own: Z: stays
        {"C:\\a\x07" "b", "C:\\a\x07" "b\\SETUP.ini", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.directory);
        FilePath path("Z:\\build\\app\\SETUP.ini");
        ApplyDirectorySwitch(path, c.directory);
        EXPECT_EQ(path.GetPath(), c.expected);
        EXPECT_EQ(path.IsTooLong(), c.tooLong);
        // The file name survives whole wherever the path can still be split.
        if (!c.tooLong) {
            EXPECT_EQ(path.GetFileName(), "SETUP.ini");
        }
    }
}

}  // namespace
