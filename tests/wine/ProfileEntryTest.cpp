// ProfileString and ProfileSectionReader over real files and the platform's
// private-profile functions.
#include "profile/ProfileEntry.h"

#include <gtest/gtest.h>

#include "ProfileTestFiles.h"
#include "errors/SetupException.h"
#include "profile/ProfileSectionReader.h"

namespace {

std::string RawValue(const std::string& file, const char* section, const char* key) {
    char buffer[1024] = {};
    GetPrivateProfileStringA(section, key, "<none>", buffer, sizeof buffer, file.c_str());
    return buffer;
}

TEST(ProfileString, ReadsValuesAndDefaults) {
    ProfileScratchDir dir;
    const std::string file = dir.Create("entry.ini",
                                        "[Sect]\r\nName = Tessaly Viewer \r\nEmpty=\r\nLong=" + std::string(300, 'v') +
                                            "\r\n");
    struct Case {
        const char* key;
        const char* defaultValue;
        bool result;
        std::string value;
    };
    const Case cases[] = {
        {"Name", "", true, "Tessaly Viewer"},
        {"name", "", true, "Tessaly Viewer"},  // keys match without regard to case
        {"Empty", "dflt", false, ""},
        {"Missing", "dflt", true, "dflt"},
        {"Missing", "", false, ""},
        {"Long", "", true, std::string(254, 'v')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        ProfileString entry(c.defaultValue, "SECT", c.key, file);
        EXPECT_EQ(entry.Read(), c.result);
        EXPECT_EQ(entry.value, c.value);
        EXPECT_EQ(entry.valueAsRead, c.value);
        EXPECT_FALSE(entry.IsModified());
    }
}

TEST(ProfileString, LoadOnCreateAndSaveOnDestroy) {
    ProfileScratchDir dir;
    const std::string file = dir.Create("save.ini", "[S]\r\nA=one\r\nB=two\r\n");
    {
        ProfileString a("", "S", "A", file, true, true);
        EXPECT_EQ(a.value, "one");
        a.value = "ONE";  // differs only in case: still modified
        EXPECT_TRUE(a.IsModified());
        ProfileString b("", "S", "B", file, true, true);
        EXPECT_FALSE(b.IsModified());
        ProfileString c("three", "S", "C", file, false, true);  // missing key: the default is read
        EXPECT_EQ(c.value, "three");
        c.value = "changed";
        ProfileString noKey("x", "S", "", file, false, true);  // nothing read without a key
        EXPECT_EQ(noKey.value, "x");
        EXPECT_EQ(noKey.valueAsRead, "");
    }
    EXPECT_EQ(RawValue(file, "S", "A"), "ONE");
    EXPECT_EQ(RawValue(file, "S", "B"), "two");
    EXPECT_EQ(RawValue(file, "S", "C"), "<none>");  // no save-on-destroy

    ProfileString created;
    EXPECT_EQ(created.section, "");
    EXPECT_FALSE(created.saveOnDestroy);
    EXPECT_FALSE(created.loadOnCreate);
    created.section = "New";
    created.key = "K";
    created.file = dir.Path("created.ini");
    created.value = "v|1|2";
    created.Write();
    EXPECT_EQ(RawValue(dir.Path("created.ini"), "new", "k"), "v|1|2");
}

TEST(ProfileString, EmptyFileMeansTheProgramsOwnProfile) {
    const std::string name = DefaultProfileFileName();
    EXPECT_EQ(name, "wine_tests.INI");
    ProfileString entry("fallback", "NoSuchSection", "NoSuchKey", "");
    EXPECT_TRUE(entry.Read());
    EXPECT_EQ(entry.file.GetPath(), name);
    EXPECT_EQ(entry.value, "fallback");
}

std::vector<std::string> AllKeys(const std::string& file, const std::string& section) {
    ProfileSectionReader reader(section, file);
    ProfileString entry;
    std::vector<std::string> keys;
    for (bool more = reader.First(entry); more; more = reader.Next(entry)) {
        EXPECT_EQ(entry.section, section);
        EXPECT_EQ(entry.file.GetPath(), file);
        EXPECT_EQ(entry.value, "");  // the reader does not read values
        keys.push_back(entry.key);
    }
    EXPECT_FALSE(reader.Next(entry));
    return keys;
}

TEST(ProfileSectionReader, ListsKeysInFileOrder) {
    ProfileScratchDir dir;
    const std::string file = dir.Create("keys.ini",
                                        "[First]\r\nzeta=1\r\n; comment\r\nalpha=2\r\nno equals sign\r\nAlpha=3\r\n"
                                        "[Empty]\r\n[First]\r\nlater=4\r\n");
    EXPECT_EQ(AllKeys(file, "First"), (std::vector<std::string>{"zeta", "alpha", "Alpha"}));
    EXPECT_EQ(AllKeys(file, "first"), (std::vector<std::string>{"zeta", "alpha", "Alpha"}));
    EXPECT_TRUE(AllKeys(file, "Empty").empty());
    EXPECT_TRUE(AllKeys(file, "Absent").empty());
    EXPECT_TRUE(AllKeys(dir.Path("missing.ini"), "First").empty());

    ProfileSectionReader unused("First", file);
    ProfileString entry;
    EXPECT_FALSE(unused.Next(entry));  // no list before First
}

TEST(ProfileSectionReader, KeyListsGrowByDoubling) {
    // Lists of 254 bytes and more do not fit the first 256-byte buffer.
    for (size_t keys : {1u, 20u, 21u, 22u, 60u, 400u, 3000u}) {
        SCOPED_TRACE(keys);
        ProfileScratchDir dir;
        std::string text = "[Big]\r\n";
        std::vector<std::string> expected;
        for (size_t i = 0; i < keys; ++i) {
            // 11 characters and a zero byte each: 21 keys need 253 bytes.
            char key[16];
            snprintf(key, sizeof key, "key%08u", static_cast<unsigned>(i));
            expected.push_back(key);
            text += std::string(key) + "=" + std::to_string(i) + "\r\n";
        }
        const std::string file = dir.Create("big.ini", text);
        EXPECT_EQ(AllKeys(file, "Big"), expected);
    }
}

TEST(ProfileSectionReader, ReadingAgainStartsOver) {
    ProfileScratchDir dir;
    const std::string file = dir.Create("again.ini", "[S]\r\na=1\r\nb=2\r\n");
    ProfileSectionReader reader("S", file);
    ProfileString entry;
    ASSERT_TRUE(reader.First(entry));
    EXPECT_EQ(entry.key, "a");
    ASSERT_TRUE(reader.First(entry));
    EXPECT_EQ(entry.key, "a");
    ASSERT_TRUE(reader.Next(entry));
    EXPECT_EQ(entry.key, "b");
    EXPECT_FALSE(reader.Next(entry));
    EXPECT_FALSE(reader.Next(entry));
}

}  // namespace
