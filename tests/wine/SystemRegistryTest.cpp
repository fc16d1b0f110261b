#include "system/RegistryKey.h"
#include "system/SharedDllCount.h"
#include "system/RegistrationText.h"

#include <gtest/gtest.h>

#include <cstring>

#include "wine/SystemTestSupport.h"

namespace {

const char* const kScratch = "Software\\TessalySetupTest\\Registry";

class SystemRegistry : public ::testing::Test {
protected:
    void SetUp() override { systest::DeleteTree(HKEY_CURRENT_USER, kScratch); }
    void TearDown() override { systest::DeleteTree(HKEY_CURRENT_USER, kScratch); }

    // Writes a value of any type and size straight through the API.
    static void PutRaw(const std::string& name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
};

TEST_F(SystemRegistry, KeyRoundTripAndErrors) {
    RegistryKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, kScratch));
    EXPECT_EQ(key.LastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(key.IsOpen());

    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kScratch));
    EXPECT_EQ(key.LastError(), 0);
    EXPECT_TRUE(key.SetString("Text", "C:\\Program Files\\Tessaly"));
    EXPECT_TRUE(key.SetString("", "default value"));
    EXPECT_TRUE(key.SetDword("Count", 7));

    std::string text;
    DWORD number = 0;
    EXPECT_TRUE(key.QueryString("Text", text));
    EXPECT_EQ(text, "C:\\Program Files\\Tessaly");
    EXPECT_TRUE(key.QueryString("", text));
    EXPECT_EQ(text, "default value");
    EXPECT_TRUE(key.QueryDword("Count", number));
    EXPECT_EQ(number, 7u);

    // A type other than the one asked for is refused, the output untouched.
    text = "kept";
    number = 99;
    EXPECT_FALSE(key.QueryString("Count", text));
    EXPECT_EQ(key.LastError(), ERROR_INVALID_DATATYPE);
    EXPECT_EQ(text, "kept");
    EXPECT_FALSE(key.QueryDword("Text", number));
    EXPECT_EQ(key.LastError(), ERROR_INVALID_DATATYPE);
    EXPECT_EQ(number, 99u);
    EXPECT_FALSE(key.QueryString("Missing", text));
    EXPECT_EQ(key.LastError(), ERROR_FILE_NOT_FOUND);

    EXPECT_TRUE(key.DeleteValue("Text"));
    EXPECT_FALSE(key.QueryString("Text", text));
    EXPECT_TRUE(key.Close());
    EXPECT_TRUE(key.Close());  // twice is harmless
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.SetString("x", "y"));  // no key open
    EXPECT_EQ(key.LastError(), ERROR_INVALID_HANDLE);

    // The live registry as another program sees it.
    DWORD exitCode = 0;
    std::string listing = systest::RunAndCapture(
        std::string("reg.exe query \"HKCU\\") + kScratch + "\"", &exitCode);
    EXPECT_EQ(exitCode, 0u) << listing;
    EXPECT_NE(listing.find("Count"), std::string::npos) << listing;
    EXPECT_NE(listing.find("0x7"), std::string::npos) << listing;
    EXPECT_NE(listing.find("default value"), std::string::npos) << listing;
    EXPECT_EQ(listing.find("Text"), std::string::npos) << listing;

    EXPECT_TRUE(key.DeleteKey(HKEY_CURRENT_USER, kScratch));
    EXPECT_FALSE(systest::KeyExists(HKEY_CURRENT_USER, kScratch));
}

TEST_F(SystemRegistry, StringBindingLoadSetSaveDestroy) {
    {
        // Missing key: the default is held and no key is open.
        RegistryString s(HKEY_CURRENT_USER, kScratch, "Name", "fallback", true, true);
        EXPECT_EQ(s.Get(), "fallback");
        EXPECT_FALSE(s.IsOpen());
        EXPECT_FALSE(s.IsModified());
    }
    // Never Set: nothing is written, even with saveOnDestroy.
    EXPECT_FALSE(systest::KeyExists(HKEY_CURRENT_USER, kScratch));
    {
        RegistryString s(HKEY_CURRENT_USER, kScratch, "Name", "fallback", true, false);
        s.Set("explicit");
        EXPECT_TRUE(s.IsModified());
        EXPECT_TRUE(s.Save());  // creates the key
        EXPECT_FALSE(s.IsModified());
        s.Set("not saved");     // saveOnDestroy off: lost on purpose
    }
    std::string text;
    EXPECT_TRUE(systest::ReadString(HKEY_CURRENT_USER, kScratch, "Name", text));
    EXPECT_EQ(text, "explicit");
    {
        RegistryString s(HKEY_CURRENT_USER, kScratch, "Name", "fallback", true, true);
        EXPECT_EQ(s.Get(), "explicit");
        EXPECT_TRUE(s.IsOpen());  // the key stays open after the load
        s.Set("on destroy");
    }
    EXPECT_TRUE(systest::ReadString(HKEY_CURRENT_USER, kScratch, "Name", text));
    EXPECT_EQ(text, "on destroy");
    {
        // Without loadOnCreate nothing is read until Load.
        RegistryString s(HKEY_CURRENT_USER, kScratch, "Name", "first", false, false);
        EXPECT_EQ(s.Get(), "first");
        EXPECT_TRUE(s.Load("second"));
        EXPECT_EQ(s.Get(), "on destroy");
    }
}

TEST_F(SystemRegistry, StringBindingReadsOnlyPlainStrings) {
    const char expand[] = "%SystemRoot%\\x";
    const unsigned char binary[] = {'a', 'b', 0};
    const char unterminated[] = {'n', 'o', 'z'};
    PutRaw("Expand", REG_EXPAND_SZ, expand, sizeof expand);
    PutRaw("Binary", REG_BINARY, binary, sizeof binary);
    PutRaw("NoZero", REG_SZ, unterminated, sizeof unterminated);
    PutRaw("Empty", REG_SZ, "", 0);

    struct Case {
        const char* name;
        const char* expected;
        bool loaded;
    } cases[] = {
        {"Expand", "default", false},
        {"Binary", "default", false},
        {"NoZero", "noz", true},
        {"Empty", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RegistryString s(HKEY_CURRENT_USER, kScratch, c.name, "default", false, false);
        EXPECT_EQ(s.Load("default"), c.loaded);
        EXPECT_EQ(s.Get(), c.expected);
        if (!c.loaded) {
            EXPECT_EQ(s.LastError(), ERROR_INVALID_DATATYPE);
        }
    }
}

TEST_F(SystemRegistry, DwordBinding) {
    {
        RegistryDword d(HKEY_CURRENT_USER, kScratch, "N", 42, true, true);
        EXPECT_EQ(d.Get(), 42u);
        EXPECT_FALSE(d.IsOpen());
        d.Set(0xFFFFFFFEu);
    }
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(systest::ReadRaw(HKEY_CURRENT_USER, kScratch, "N", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(data.size(), 4u);
    RegistryDword again(HKEY_CURRENT_USER, kScratch, "N", 0, true, false);
    EXPECT_EQ(again.Get(), 0xFFFFFFFEu);

    // A string where a number is expected leaves the default.
    PutRaw("S", REG_SZ, "12", 3);
    RegistryDword wrong(HKEY_CURRENT_USER, kScratch, "S", 5, true, false);
    EXPECT_EQ(wrong.Get(), 5u);
    EXPECT_EQ(wrong.LastError(), ERROR_INVALID_DATATYPE);
}

// Shared counts live in the real SharedDLLs key; every test path is its own
// made-up file so that nothing of the prefix is disturbed.
class SystemSharedDllCount : public ::testing::Test {
protected:
    const std::string path = "C:\\windows\\system32\\TvsTestShared.DLL";
    void SetUp() override { Remove(); }
    void TearDown() override { Remove(); }
    void Remove() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, regtext::kSharedDllsKey, 0, KEY_ALL_ACCESS, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueA(key, path.c_str());
            RegCloseKey(key);
        }
    }
    bool Stored(DWORD& count) {
        DWORD type = 0;
        std::string data;
        if (!systest::ReadRaw(HKEY_LOCAL_MACHINE, regtext::kSharedDllsKey, path, type, data)) {
            return false;
        }
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(data.size(), 4u);
        std::memcpy(&count, data.data(), 4);
        return true;
    }
    void Install() {
        SharedDllCount count(path);
        count.Increment();
    }
    void Uninstall() {
        SharedDllCount count(path);
        count.Decrement();
    }
};

TEST_F(SystemSharedDllCount, UpDownAndRemoval) {
    DWORD count = 0;
    EXPECT_FALSE(Stored(count));
    Install();
    ASSERT_TRUE(Stored(count));
    EXPECT_EQ(count, 1u);
    Install();
    ASSERT_TRUE(Stored(count));
    EXPECT_EQ(count, 2u);
    {
        SharedDllCount probe(path);
        EXPECT_TRUE(probe.InUse());
        EXPECT_EQ(probe.Get(), 2u);
    }
    EXPECT_TRUE(Stored(count));
    EXPECT_EQ(count, 2u);  // an untouched count is written back as it was

    // reg.exe sees the value under the path's own case.
    std::string listing = systest::RunAndCapture(
        std::string("reg.exe query \"HKLM\\") + regtext::kSharedDllsKey + "\" /v " + path);
    EXPECT_NE(listing.find("TvsTestShared.DLL"), std::string::npos) << listing;
    EXPECT_NE(listing.find("0x2"), std::string::npos) << listing;

    Uninstall();
    ASSERT_TRUE(Stored(count));
    EXPECT_EQ(count, 1u);
    Uninstall();
    EXPECT_FALSE(Stored(count));  // 0 deletes the value
    Uninstall();                  // missing value: stays 0, nothing written
    EXPECT_FALSE(Stored(count));
    {
        SharedDllCount probe(path);
        EXPECT_FALSE(probe.InUse());
    }
    EXPECT_FALSE(Stored(count));
}

TEST_F(SystemSharedDllCount, StopsAtTheTopInsteadOfWrapping) {
    {
        RegistryDword top(HKEY_LOCAL_MACHINE, regtext::kSharedDllsKey, path, 0, false, false);
        top.Set(0xFFFFFFFFu);
        ASSERT_TRUE(top.Save());
    }
    Install();
    DWORD count = 0;
    ASSERT_TRUE(Stored(count));
    EXPECT_EQ(count, 0xFFFFFFFFu);
}

}  // namespace
