#include "system/IniLineEditor.h"
#include "system/ReplaceAtReboot.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

#include "wine/SystemTestSupport.h"

namespace {

// Every file in a directory, by name.
std::vector<std::string> Listing(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0) {
            names.push_back(found.cFileName);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

class SystemIniEditor : public ::testing::Test {
protected:
    void SetUp() override {
        dir = systest::ScratchDir("ini");
        path = dir + "wininit.ini";
    }
    std::string dir;
    std::string path;
};

TEST_F(SystemIniEditor, SetsTheEntryInItsSection) {
    const std::string entry = "C:\\D.DLL=C:\\S.DLL\r\n";
    const std::string longLine = "long=" + std::string(2000, 'x') + "\r\n";
    struct Case {
        const char* name;
        std::optional<std::string> before;  // none: no file
        std::string after;
    } cases[] = {
        {"missing file", std::nullopt, "[rename]\r\n" + entry},
        {"empty file", "", "[rename]\r\n" + entry},
        {"section followed by another", "[rename]\r\nC:\\A=C:\\B\r\n[other]\r\nx=y\r\n",
         "[rename]\r\nC:\\A=C:\\B\r\n" + entry + "[other]\r\nx=y\r\n"},
        {"section last, other lines kept",
         "; comment\r\n\r\n[boot]\r\nshell=x\r\n\r\n  [Rename]  \r\nNUL=C:\\T\r\n",
         "; comment\r\n\r\n[boot]\r\nshell=x\r\n\r\n  [Rename]  \r\nNUL=C:\\T\r\n" + entry},
        {"no such section", "[boot]\r\na=b\r\n", "[boot]\r\na=b\r\n[rename]\r\n" + entry},
        {"same destination, other source", "[rename]\r\nC:\\D.DLL=C:\\OLD.DLL\r\n",
         "[rename]\r\nC:\\D.DLL=C:\\OLD.DLL\r\n" + entry},
        {"entry only in another section", "[keep]\r\n" + entry,
         "[keep]\r\n" + entry + "[rename]\r\n" + entry},
        {"last line without its end", "[rename]\r\nC:\\A=C:\\B",
         "[rename]\r\nC:\\A=C:\\B\r\n" + entry},
        {"bare line ends become CR LF", "[x]\na=b\n", "[x]\r\na=b\r\n[rename]\r\n" + entry},
        {"a line longer than the read buffer", "[rename]\r\n" + longLine + "[z]\r\n",
         "[rename]\r\n" + longLine + entry + "[z]\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(path.c_str());
        if (c.before) {
            ASSERT_TRUE(systest::WriteFileText(path, *c.before));
        }
        IniEntryEditor editor(path);
        EXPECT_TRUE(editor.SetEntry("rename", "C:\\D.DLL", "C:\\S.DLL"));
        EXPECT_EQ(systest::ReadFileText(path), c.after);
        // The copy took the file's place; nothing else is left behind.
        EXPECT_EQ(Listing(dir), std::vector<std::string>{"wininit.ini"});
    }
}

TEST_F(SystemIniEditor, AnExistingEntryLeavesTheFileUntouched) {
    // Bare line ends and odd spacing survive: the file is not rewritten.
    const std::string before = "[x]\na=b\n[RENAME]\n  c:\\d.dll=C:\\S.DLL   \n[y]\n";
    ASSERT_TRUE(systest::WriteFileText(path, before));
    IniEntryEditor editor(path);
    EXPECT_TRUE(editor.SetEntry("rename", "C:\\D.DLL", "C:\\S.DLL"));
    EXPECT_EQ(systest::ReadFileText(path), before);
    EXPECT_EQ(Listing(dir), std::vector<std::string>{"wininit.ini"});

    // Twice the same schedule: the second leaves the file as the first made it.
    DeleteFileA(path.c_str());
    EXPECT_TRUE(IniEntryEditor(path).SetEntry("rename", "C:\\D.DLL", "C:\\S.DLL"));
    const std::string once = systest::ReadFileText(path);
    EXPECT_TRUE(IniEntryEditor(path).SetEntry("rename", "C:\\D.DLL", "C:\\S.DLL"));
    EXPECT_EQ(systest::ReadFileText(path), once);
}

TEST_F(SystemIniEditor, ReadOnlyFileIsStillEdited) {
    ASSERT_TRUE(systest::WriteFileText(path, "[rename]\r\n"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(IniEntryEditor(path).SetEntry("rename", "C:\\D", "C:\\S"));
    EXPECT_EQ(systest::ReadFileText(path), "[rename]\r\nC:\\D=C:\\S\r\n");
    EXPECT_EQ(Listing(dir), std::vector<std::string>{"wininit.ini"});
}

TEST_F(SystemIniEditor, AFileThatCannotBeReadIsNeverReplaced) {
    const std::string before = "[rename]\r\nC:\\A=C:\\B\r\n";
    ASSERT_TRUE(systest::WriteFileText(path, before));
    HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(IniEntryEditor(path).SetEntry("rename", "C:\\D", "C:\\S"));
    CloseHandle(locked);
    EXPECT_EQ(systest::ReadFileText(path), before);
    EXPECT_EQ(Listing(dir), std::vector<std::string>{"wininit.ini"});
}

}  // namespace
