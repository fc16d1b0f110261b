#include "system/DdeCommands.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SystemDdeCommands, ExactStrings) {
    struct Case {
        std::optional<std::string> actual;
        const char* expected;
    } cases[] = {
        {ddecmd::CreateGroup("Tessaly Viewer"), "[CreateGroup (\"Tessaly Viewer\")]"},
        {ddecmd::ReplaceItem("Tessaly Viewer"), "[ReplaceItem (Tessaly Viewer)]"},
        {ddecmd::DeleteItem("Read Me"), "[DeleteItem (Read Me)]"},
        {ddecmd::DeleteGroup("Tessaly Viewer"), "[DeleteGroup(\"Tessaly Viewer\")]"},
        {ddecmd::CreateGroup(""), "[CreateGroup (\"\")]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        ASSERT_TRUE(c.actual.has_value());
        EXPECT_EQ(*c.actual, c.expected);
    }
}

TEST(SystemDdeCommands, CommandLineQuotingAndArguments) {
    struct Case {
        const char* path;
        std::optional<std::string> args;
        const char* expected;
    } cases[] = {
        {"C:\\TY\\TYVIEW.EXE", std::nullopt, "C:\\TY\\TYVIEW.EXE"},
        {"C:\\TY\\TYVIEW.EXE", std::string(), "C:\\TY\\TYVIEW.EXE "},
        {"C:\\TY\\TYVIEW.EXE", std::string("/x a.pdb"), "C:\\TY\\TYVIEW.EXE /x a.pdb"},
        {"C:\\Program Files\\TY\\v.exe", std::nullopt, "\"C:\\Program Files\\TY\\v.exe\""},
        {"C:\\Tab\there\\v.exe", std::string("-a"), "\"C:\\Tab\there\\v.exe\" -a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(ddecmd::CommandLine(c.path, c.args), c.expected);
    }
}

TEST(SystemDdeCommands, AddItemFieldsAndShowState) {
    struct Case {
        const char* path;
        std::optional<std::string> args;
        const char* name;
        const char* icon;
        int index;
        int show;
        const char* expected;
    } cases[] = {
        {"C:\\TY\\TYVIEW.EXE", std::string(), "Tessaly Viewer", "C:\\TY\\TYVIEW.ICO", 3, 5,
         "[AddItem (C:\\TY\\TYVIEW.EXE ,\"Tessaly Viewer\",C:\\TY\\TYVIEW.ICO,3,-1,-1,,,0)]"},
        {"C:\\TY\\TYVIEW.EXE", std::nullopt, "Viewer", "", 0, 2,
         "[AddItem (C:\\TY\\TYVIEW.EXE,\"Viewer\",C:\\TY\\TYVIEW.EXE,0,-1,-1,,,1)]"},
        // A blank in the path quotes it; an absent icon names the program
        // without its arguments.
        {"C:\\Program Files\\TY\\v.exe", std::string("a.pdb"), "Viewer 2.0", "", 1, 5,
         "[AddItem (\"C:\\Program Files\\TY\\v.exe\" a.pdb,\"Viewer 2.0\","
         "\"C:\\Program Files\\TY\\v.exe\",1,-1,-1,,,0)]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        auto command = ddecmd::AddItem(c.path, c.args, c.name, c.icon, c.index, c.show, 5);
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(*command, c.expected);
    }
}

// The buffer holds 511 characters and the terminator: one more is refused,
// never cut, for every command.
TEST(SystemDdeCommands, RefusesCommandsBeyondTheBuffer) {
    const std::string createFrame = "[CreateGroup (\"\")]";
    const std::size_t fits = 511 - createFrame.size();
    auto atLimit = ddecmd::CreateGroup(std::string(fits, 'g'));
    ASSERT_TRUE(atLimit.has_value());
    EXPECT_EQ(atLimit->size(), 511u);
    EXPECT_FALSE(ddecmd::CreateGroup(std::string(fits + 1, 'g')).has_value());

    const std::string longName(600, 'n');
    EXPECT_FALSE(ddecmd::ReplaceItem(longName).has_value());
    EXPECT_FALSE(ddecmd::DeleteItem(longName).has_value());
    EXPECT_FALSE(ddecmd::DeleteGroup(longName).has_value());
    EXPECT_FALSE(ddecmd::AddItem("C:\\v.exe", std::nullopt, longName, "", 0, 5, 5).has_value());
    EXPECT_FALSE(ddecmd::AddItem(std::string(300, 'p'), std::string(), "n", std::string(300, 'i'), 0,
                                 5, 5)
                     .has_value());
    EXPECT_FALSE(ddecmd::Format("%s", std::string(512, 'x').c_str()).has_value());
    EXPECT_EQ(ddecmd::Format("%s", std::string(511, 'x').c_str())->size(), 511u);
}

TEST(SystemDdeCommands, RefusesTextsThatWouldStartAnotherCommand) {
    // An item name from an edited install log must not smuggle in commands.
    const std::string smuggled = "x)][DeleteGroup(\"Main\")][DeleteItem (y";
    EXPECT_FALSE(ddecmd::DeleteItem(smuggled).has_value());
    EXPECT_FALSE(ddecmd::ReplaceItem(smuggled).has_value());
    EXPECT_FALSE(ddecmd::AddItem("C:\\v.exe", std::nullopt, smuggled, "", 0, 5, 5).has_value());
    EXPECT_FALSE(ddecmd::CreateGroup("Main\")][DeleteGroup(\"Accessories").has_value());
    EXPECT_FALSE(ddecmd::DeleteGroup("a]b").has_value());
    EXPECT_FALSE(ddecmd::AddItem("C:\\v.exe", std::string("][ExitProgman(0)"), "Viewer", "", 0, 5, 5)
                     .has_value());
    EXPECT_FALSE(ddecmd::AddItem("C:\\v.exe", std::nullopt, "Viewer", "C:\\[i].ico", 0, 5, 5).has_value());
    // A quote inside a quoted text would end it early.
    EXPECT_FALSE(ddecmd::AddItem("C:\\v.exe", std::nullopt, "Say \"hi\"", "", 0, 5, 5).has_value());
    EXPECT_FALSE(ddecmd::CreateGroup("Say \"hi\"").has_value());

    // What a title may hold otherwise is kept, as are the command line's
    // own quotes around a path with blanks.
    EXPECT_EQ(ddecmd::DeleteItem("Viewer 2.0 (32-bit)").value(), "[DeleteItem (Viewer 2.0 (32-bit))]");
    EXPECT_TRUE(ddecmd::AddItem("C:\\Program Files\\v.exe", std::string("a.pdb"), "Viewer's", "", 0, 5, 5)
                    .has_value());
}

}  // namespace

namespace {

TEST(SystemDdeCommands, GroupListReply) {
    using V = std::vector<std::string>;
    EXPECT_EQ(ddecmd::SplitGroupList("Accessories\r\nGames\r\nMain\r\n"), (V{"Accessories", "Games", "Main"}));
    EXPECT_EQ(ddecmd::SplitGroupList("\r\n"), V{});
    EXPECT_EQ(ddecmd::SplitGroupList(""), V{});
    EXPECT_EQ(ddecmd::SplitGroupList("A\nB\rC"), (V{"A", "B", "C"}));
    EXPECT_EQ(ddecmd::SplitGroupList("With Blank\r\n\r\nx"), (V{"With Blank", "x"}));
}

}  // namespace
