#include "system/RegisterApp.h"
#include "system/RegistrationText.h"

#include <gtest/gtest.h>

#include "wine/SystemTestSupport.h"

namespace {

const char* const kProduct = "Tessaly Viewer";

class SystemRegistration : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        systest::DeleteTree(HKEY_LOCAL_MACHINE, regtext::AppPathKey("tyviewer.exe"));
        systest::DeleteTree(HKEY_LOCAL_MACHINE, regtext::UninstallKey(kProduct));
        for (const char* list : {regtext::kExtensionList1, regtext::kExtensionList2}) {
            for (const auto& ext : regtext::SplitExtensionList(list)) {
                systest::DeleteTree(HKEY_CLASSES_ROOT, ext);
            }
        }
    }
    static std::string Value(HKEY root, const std::string& key, const std::string& name) {
        std::string text;
        systest::ReadString(root, key, name, text);
        return text;
    }
};

TEST_F(SystemRegistration, RegisterThenUnregister) {
    const std::string appKey = regtext::AppPathKey("tyviewer.exe");
    const std::string uninstallKey = regtext::UninstallKey(kProduct);

    RegisterApplication("C:\\Program Files\\Tessaly\\", "tyviewer.exe", "A:\\SETUP.EXE", kProduct);
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, appKey, ""), "C:\\Program Files\\Tessaly\\tyviewer.exe");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, appKey, "Path"), "C:\\Program Files\\Tessaly");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, uninstallKey, "UninstallString"),
              "C:\\Program Files\\Tessaly\\SETUP.EXE /U");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, uninstallKey, "DisplayName"), kProduct);
    for (const char* list : {regtext::kExtensionList1, regtext::kExtensionList2}) {
        for (const auto& ext : regtext::SplitExtensionList(list)) {
            SCOPED_TRACE(ext);
            EXPECT_EQ(Value(HKEY_CLASSES_ROOT, ext, ""), "TessalyViewer.Molecule");
        }
    }
    // No key is made for the class itself.
    EXPECT_FALSE(systest::KeyExists(HKEY_CLASSES_ROOT, "TessalyViewer.Molecule"));

    // Another program's view of the live registry.
    std::string listing = systest::RunAndCapture("reg.exe query \"HKLM\\" + appKey + "\"");
    EXPECT_NE(listing.find("C:\\Program Files\\Tessaly\\tyviewer.exe"), std::string::npos) << listing;
    listing = systest::RunAndCapture("reg.exe query \"HKCR\\.mol2\"");
    EXPECT_NE(listing.find("TessalyViewer.Molecule"), std::string::npos) << listing;

    // Twice: one key each, the latest values.
    RegisterApplication("D:\\Tessaly", "tyviewer.exe", "Z:\\media\\setup.exe", kProduct);
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, appKey, ""), "D:\\Tessaly\\tyviewer.exe");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, appKey, "Path"), "D:\\Tessaly");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, uninstallKey, "UninstallString"), "D:\\Tessaly\\setup.exe /U");

    UnregisterApplication("D:\\Tessaly", "tyviewer.exe", kProduct);
    EXPECT_FALSE(systest::KeyExists(HKEY_LOCAL_MACHINE, appKey));
    EXPECT_FALSE(systest::KeyExists(HKEY_LOCAL_MACHINE, uninstallKey));
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, ".pdb", ""), "TessalyViewer.Molecule");  // associations stay
}

TEST_F(SystemRegistration, AppPathInTheRootAndSingleCalls) {
    RegisterAppPath("C:\\tyviewer.exe");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, regtext::AppPathKey("tyviewer.exe"), "Path"), "C:\\");
    UnregisterAppPath("C:\\somewhere\\else\\tyviewer.exe");  // only the name counts
    EXPECT_FALSE(systest::KeyExists(HKEY_LOCAL_MACHINE, regtext::AppPathKey("tyviewer.exe")));

    RegisterUninstall("C:\\T\\SETUP.EXE /U", kProduct, "Shown Name");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, regtext::UninstallKey(kProduct), "DisplayName"), "Shown Name");
    UnregisterUninstall(kProduct);
    EXPECT_FALSE(systest::KeyExists(HKEY_LOCAL_MACHINE, regtext::UninstallKey(kProduct)));
}

TEST_F(SystemRegistration, ExistingAssociations) {
    // Another class on a plain key: taken over.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, ".pdb", &key), ERROR_SUCCESS);
    RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>("Other.Class"), 12);
    RegCloseKey(key);
    // Another class on a key with a sub-key: the key cannot be deleted, so
    // its own default is loaded and written back.
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, ".xyz\\ShellNew", &key), ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, ".xyz", &key), ERROR_SUCCESS);
    RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>("Chem.Other"), 11);
    RegCloseKey(key);

    RegisterAssociations(regtext::kExtensionList1);
    RegisterAssociations(regtext::kExtensionList2);
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, ".pdb", ""), "TessalyViewer.Molecule");
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, ".xyz", ""), "Chem.Other");
    EXPECT_TRUE(systest::KeyExists(HKEY_CLASSES_ROOT, ".xyz\\ShellNew"));
}

}  // namespace
