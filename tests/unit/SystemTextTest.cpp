#include "system/IniEntryText.h"
#include "system/RegistrationText.h"
#include "system/StatusReport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SystemIniText, SectionHeaders) {
    struct Case {
        const char* line;
        bool header;
        const char* name;
    } cases[] = {
        {"[rename]\n", true, "rename"},
        {"  [Rename]  \r\n", true, "Rename"},
        {"[x", true, ""},
        {"[]", true, ""},
        {"[", true, ""},
        {"[a]b]", true, "a]b"},
        {"x=[y]", false, ""},
        {"   \n", false, ""},
        {"", false, ""},
        {"; [comment]", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::string name = "unchanged";
        EXPECT_EQ(initext::ParseSectionHeader(c.line, name), c.header);
        if (c.header) {
            EXPECT_EQ(name, c.name);
        }
    }
}

TEST(SystemIniText, EntrySplitting) {
    struct Case {
        const char* line;
        bool entry;
        const char* key;
        const char* value;
    } cases[] = {
        {"C:\\W\\A.DLL=C:\\W\\1234.DLL\n", true, "C:\\W\\A.DLL", "C:\\W\\1234.DLL"},
        {"  key=value  \r\n", true, "key", "value"},
        {"key = value", true, "key ", " value"},
        {"NUL=C:\\x", true, "NUL", "C:\\x"},
        {"a=b=c", true, "a", "b=c"},
        {"=v", true, "", "v"},
        {"no equals\n", false, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::string key, value;
        EXPECT_EQ(initext::SplitEntry(c.line, key, value), c.entry);
        if (c.entry) {
            EXPECT_EQ(key, c.key);
            EXPECT_EQ(value, c.value);
        }
    }
}

TEST(SystemIniText, NamesCompareWithoutCase) {
    EXPECT_TRUE(initext::EqualsNoCase("Rename", "rEnAmE"));
    EXPECT_TRUE(initext::EqualsNoCase("", ""));
    EXPECT_FALSE(initext::EqualsNoCase("rename", "renames"));
    EXPECT_FALSE(initext::EqualsNoCase("C:\\A", "C:/A"));
    EXPECT_EQ(initext::EntryLine("C:\\D", "C:\\S"), "C:\\D=C:\\S\n");
    EXPECT_EQ(initext::HeaderLine("rename"), "[rename]\n");
}

TEST(SystemRegistrationText, ExtensionListsInOrder) {
    using V = std::vector<std::string>;
    EXPECT_EQ(regtext::SplitExtensionList(regtext::kExtensionList1),
              (V{".msl", ".pdb", ".ent", ".mol", ".mdl", ".sd", ".car"}));
    EXPECT_EQ(regtext::SplitExtensionList(regtext::kExtensionList2),
              (V{".csd", ".fdat", ".msf", ".mol2", ".tyd", ".cpd", ".xyz", ".skc"}));
    EXPECT_EQ(regtext::SplitExtensionList(" .a, ,.b  .c,,"), (V{".a", ".b", ".c"}));
    EXPECT_EQ(regtext::SplitExtensionList(""), V{});
    EXPECT_EQ(regtext::SplitExtensionList(", ,"), V{});
}

TEST(SystemRegistrationText, KeysAndUninstallCommand) {
    EXPECT_EQ(regtext::AppPathKey("tyviewer.exe"),
              "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tyviewer.exe");
    EXPECT_EQ(regtext::UninstallKey("Tessaly Viewer"),
              "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaly Viewer");
    EXPECT_EQ(regtext::UninstallCommand("C:\\Tessaly\\", "SETUP.EXE"), "C:\\Tessaly\\SETUP.EXE /U");
    EXPECT_EQ(regtext::UninstallCommand("C:\\Tessaly", "setup.exe"), "C:\\Tessaly\\setup.exe /U");
}

TEST(SystemStatusReport, ValuesOfOneRun) {
    StatusReport ok = BuildStatusReport("tyviewer.exe", "Tessaly Viewer", true, "Successful installation.");
    EXPECT_EQ(ok.reportName, "tyviewer");
    EXPECT_EQ(ok.manufacturer, "");
    EXPECT_EQ(ok.product, "Tessaly Viewer");
    EXPECT_EQ(ok.version, "1.0");
    EXPECT_EQ(ok.locale, "ENU");
    EXPECT_FALSE(ok.serialNumber.has_value());
    EXPECT_EQ(ok.statusText, "Successful installation.");
    EXPECT_TRUE(ok.success);

    struct Case {
        const char* program;
        const char* stem;
    } stems[] = {{"TYVIEW.EXE", "TYVIEW"}, {"a.b.exe", "a.b"}, {"noext", "noext"},
                 {"C:\\dir.x\\prog", "prog"}, {"", ""}};
    for (const auto& c : stems) {
        SCOPED_TRACE(c.program);
        EXPECT_EQ(BuildStatusReport(c.program, "P", false, "Install failed.").reportName, c.stem);
    }
    EXPECT_FALSE(BuildStatusReport("x.exe", "P", false, "Install failed.").success);
    EXPECT_STREQ(kStatusNotWrittenEvent, "Could not write SMS status.");
}

}  // namespace
