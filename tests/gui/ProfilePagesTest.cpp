// Pages 114, 104 and 106 with a real profile file: the reading page loads
// every section into the data model, the directory page builds on it and
// selects the Typical components, the group page follows.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "DirectoryPageTestHarness.h"
#include "profile/ComponentMap.h"
#include "profile/DestinationMap.h"
#include "profile/DisketteArray.h"
#include "profile/SourceFileList.h"
#include "profile/TargetMap.h"

namespace {

using ProfilePagesTest = dirtest::PageChainTest;

TEST_F(ProfilePagesTest, ReadingPageLoadsEverySectionOfTheProfileFile) {
    WriteProfile(StandardProfile());
    ASSERT_TRUE(StartAndRead());
    EXPECT_EQ(CurrentId(), IDD_DIRECTORY);
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(dirtest::Lower(loads[0]), dirtest::Lower(ProfilePath()));

    const DestinationMap& destinations = *App().destinations;
    EXPECT_EQ(destinations.GetName(DestMain), rootName + "\\TYVIEWER");
    EXPECT_EQ(destinations.GetName(1), "DATA");
    EXPECT_EQ(destinations.GetName(2), "SAMPLES");
    ASSERT_NE(destinations.Find(2), nullptr);
    EXPECT_EQ(destinations.Find(2)->parent, 1);
    // Nothing is resolved before the main directory is chosen.
    EXPECT_EQ(destinations.GetPath(DestMain), "");

    EXPECT_EQ(App().components->size(), 3u);
    ASSERT_NE(App().components->Find("Samples"), nullptr);
    EXPECT_EQ(App().components->Find("Samples")->name, "Sample molecules");
    EXPECT_EQ(App().components->Find("Samples")->custom, 1);
    EXPECT_EQ(App().targets->size(), 2u);
    ASSERT_NE(App().targets->Find("tyviewer.exe"), nullptr);
    EXPECT_EQ(App().sourceFiles->size(), 4u);
    std::string label;
    EXPECT_TRUE(App().diskettes->GetLabel(2, label));
    EXPECT_EQ(label, "Tessaly Viewer Disk 2");
}

TEST_F(ProfilePagesTest, DirectoryAndGroupPagesWorkWithTheLoadedProfile) {
    WriteProfile(StandardProfile());
    ASSERT_TRUE(StartAndRead());
    ASSERT_EQ(CurrentId(), IDD_DIRECTORY);
    // The proposal is the profile's main directory name on drive C:.
    EXPECT_EQ(Location(), root + "\\TYVIEWER");
    // Nothing is selected until the directory is accepted.
    EXPECT_EQ(Selected("Viewer"), 0);

    ClickBar(IDC_NEXT);
    ASSERT_EQ(CurrentId(), IDD_GROUP);
    EXPECT_EQ(App().destinations->GetPath(DestMain), root + "\\TYVIEWER\\");
    EXPECT_EQ(App().destinations->GetPath(1), root + "\\TYVIEWER\\DATA\\");
    // Typical: the viewer yes, the samples no; the Windows 95 run-time is
    // Typical too, but never on Windows NT, which Wine reports.
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(::GetVersionExA(&version));
    ASSERT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_EQ(Selected("Viewer"), 1);
    EXPECT_EQ(Selected("Samples"), 0);
    EXPECT_EQ(Selected("System95"), 0);

    // The group page offers the product's group.
    char group[256] = {};
    ::GetDlgItemTextA(PageWindow(), IDC_GROUPNAME, group, sizeof group);
    EXPECT_EQ(std::string(group), "Tessaly Viewer");
    EXPECT_EQ(Count(ModalKind::messageBox), 0);
}

TEST_F(ProfilePagesTest, AMissingProfileLeadsToTheFailurePageAndNotToTheDirectoryPage) {
    // No profile written.
    ASSERT_TRUE(StartAndRead());
    EXPECT_EQ(CurrentId(), IDD_FAILED);
    EXPECT_FALSE(asked.empty());  // the failure was reported
    EXPECT_EQ(App().continueFlag, 0);
}

}  // namespace
