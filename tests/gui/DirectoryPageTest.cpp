// Page 104 "Select Directory" and its folder browser on real windows: the
// proposal, creating the directory on Next, the refusal of a path that
// cannot be made, Browse with and without a choice, and Back then Next.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "DirectoryPageTestHarness.h"
#include "app/ChangeFolderDlg.h"
#include "app/DirectoryPage.h"
#include "profile/ComponentMap.h"
#include "profile/DestinationMap.h"
#include "tools/guidriver/GuiDriver.h"

namespace {

namespace gd = guidriver;
using dirtest::IsDirectory;
using dirtest::Lower;

// A drive letter the machine does not have; '\0' when every letter is used.
char MissingDrive() {
    for (char letter = 'Q'; letter <= 'Y'; ++letter) {
        const char drive[] = {letter, ':', '\\', '\0'};
        if (::GetDriveTypeA(drive) == DRIVE_NO_ROOT_DIR) return letter;
    }
    return '\0';
}

class DirectoryPageTest : public dirtest::PageChainTest {
protected:
    void SetUp() override {
        PageChainTest::SetUp();
        WriteProfile(StandardProfile());
        ASSERT_TRUE(StartAndRead());
        ASSERT_EQ(CurrentId(), IDD_DIRECTORY);
    }
    std::string Dest(int id) { return App().destinations->GetPath(static_cast<DestinationId>(id)); }
};

TEST_F(DirectoryPageTest, ProposesTheMainNameOnTheFirstFixedDiskAndNextCreatesTheWholeChain) {
    // Wine's drive C: is its first fixed disk.
    EXPECT_EQ(Location(), root + "\\TYVIEWER");
    EXPECT_EQ(dynamic_cast<DirectoryPage*>(Current())->directoryText, root + "\\TYVIEWER");
    ASSERT_FALSE(IsDirectory(root));

    ClickBar(IDC_NEXT);
    EXPECT_EQ(CurrentId(), IDD_GROUP);
    EXPECT_EQ(Count(ModalKind::messageBox), 0);
    // Both missing levels were made, without a question.
    EXPECT_TRUE(IsDirectory(root + "\\TYVIEWER"));
    EXPECT_EQ(Dest(DestMain), root + "\\TYVIEWER\\");
    EXPECT_EQ(Dest(1), root + "\\TYVIEWER\\DATA\\");
    EXPECT_EQ(Dest(2), root + "\\TYVIEWER\\DATA\\SAMPLES\\");
    // Only the main directory is created here; the others when files go there.
    EXPECT_FALSE(IsDirectory(root + "\\TYVIEWER\\DATA"));
}

TEST_F(DirectoryPageTest, TypedPathsGiveDestinationZeroWithExactlyOneTrailingBackslash) {
    struct Case {
        std::string typed;
        std::string expected;
    };
    const Case cases[] = {
        {root + "\\One\\", root + "\\One\\"},
        {root + "\\Two", root + "\\Two\\"},
        {root + "\\Three\\Deeper\\", root + "\\Three\\Deeper\\"},
    };
    for (const Case& c : cases) {
        SetLocation(c.typed);
        ClickBar(IDC_NEXT);
        ASSERT_EQ(CurrentId(), IDD_GROUP) << c.typed;
        EXPECT_EQ(Dest(DestMain), c.expected);
        EXPECT_TRUE(IsDirectory(c.expected)) << c.expected;
        ClickBar(IDC_BACK);
        ASSERT_EQ(CurrentId(), IDD_DIRECTORY);
        // Back shows what the user typed, unchanged.
        EXPECT_EQ(Location(), c.typed);
    }
    EXPECT_EQ(Count(ModalKind::messageBox), 0);
}

TEST_F(DirectoryPageTest, APathThatCannotBeMadeIsRefusedAndThePageStays) {
    const char drive = MissingDrive();
    ASSERT_NE(drive, '\0');
    const std::string impossible = std::string(1, drive) + ":\\TYVIEWER";
    SetLocation(impossible);
    ClickBar(IDC_NEXT);
    EXPECT_EQ(CurrentId(), IDD_DIRECTORY);
    ASSERT_EQ(Count(ModalKind::messageBox), 1);
    EXPECT_EQ(asked[0].text, "Cannot Create Directory");
    // Nothing was taken from the refused text.
    EXPECT_EQ(Dest(DestMain), "");
    EXPECT_EQ(Location(), impossible);

    // A correct path afterwards goes on as usual.
    SetLocation(root + "\\Good");
    ClickBar(IDC_NEXT);
    EXPECT_EQ(CurrentId(), IDD_GROUP);
    EXPECT_EQ(Dest(DestMain), root + "\\Good\\");
}

TEST_F(DirectoryPageTest, BrowseStartsInTheNearestExistingAncestorAndCancelKeepsTheText) {
    ASSERT_TRUE(::CreateDirectoryA(root.c_str(), nullptr));
    const std::string typed = root + "\\missing\\deeper";
    SetLocation(typed);
    ClickPage(IDC_DIR_BROWSE);
    ASSERT_EQ(Count(ModalKind::fileDialog), 1);
    EXPECT_EQ(asked.back().id, IDD_CHANGEFOLDER);
    EXPECT_EQ(Lower(asked.back().text), Lower(root));
    EXPECT_EQ(Location(), typed);
    EXPECT_EQ(CurrentId(), IDD_DIRECTORY);
    // Browsing creates nothing.
    EXPECT_FALSE(IsDirectory(root + "\\missing"));
}

TEST_F(DirectoryPageTest, BrowseWithAnEmptyLocationSaysSoAndShowsNoBrowser) {
    SetLocation("");
    ClickPage(IDC_DIR_BROWSE);
    EXPECT_EQ(Count(ModalKind::fileDialog), 0);
    ASSERT_EQ(Count(ModalKind::messageBox), 1);
    EXPECT_EQ(asked[0].text, "The path can not be empty.  Please enter a path.");
    EXPECT_EQ(Location(), "");
}

TEST_F(DirectoryPageTest, BrowseOnADriveThatDoesNotExistStartsInTheCurrentDirectory) {
    const char drive = MissingDrive();
    ASSERT_NE(drive, '\0');
    ASSERT_TRUE(::CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(::SetCurrentDirectoryA(root.c_str()));
    SetLocation(std::string(1, drive) + ":\\A\\B");
    ClickPage(IDC_DIR_BROWSE);
    ASSERT_EQ(Count(ModalKind::fileDialog), 1);
    EXPECT_EQ(Lower(asked.back().text), Lower(root));
    EXPECT_EQ(Location(), std::string(1, drive) + ":\\A\\B");
}

TEST_F(DirectoryPageTest, BrowseThenOkTakesTheFolderBrowsedTo) {
    ASSERT_TRUE(::CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((root + "\\A").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((root + "\\A\\Picked").c_str(), nullptr));
    SetLocation(root + "\\A\\missing");

    struct Seen {
        bool browser = false;
        std::string title;
        bool editVisible = false;
        bool labelVisible = true;
        std::string startText;
        bool synced = false;
    } seen;
    const DWORD uiThread = ::GetCurrentThreadId();
    const std::string expected = Lower(root + "\\A\\Picked");
    WithRealDialogs([&] {
        std::thread driver([&] {
            HWND w = gd::WaitForWindow("Change Folder", 10000, IDC_FOLDER_FOLDERS, "#32770", uiThread);
            if (!w) return;
            seen.browser = true;
            seen.title = gd::WindowText(w);
            seen.editVisible = gd::IsControlVisible(w, IDC_FOLDER_PATH);
            seen.labelVisible = gd::IsControlVisible(w, IDC_FOLDER_PATHLABEL);
            seen.startText = gd::ControlText(w, IDC_FOLDER_PATH);
            // Enter the folder "Picked" by double-clicking it in the list.
            HWND folders = ::GetDlgItem(w, IDC_FOLDER_FOLDERS);
            const int count = static_cast<int>(::SendMessageA(folders, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                char text[MAX_PATH] = {};
                ::SendMessageA(folders, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
                if (Lower(text).find("picked") == std::string::npos) continue;
                ::SendMessageA(folders, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
                ::SendMessageA(w, WM_COMMAND, MAKEWPARAM(IDC_FOLDER_FOLDERS, LBN_DBLCLK),
                               reinterpret_cast<LPARAM>(folders));
                break;
            }
            for (int tries = 0; tries < 500 && !seen.synced; ++tries) {
                seen.synced = Lower(gd::ControlText(w, IDC_FOLDER_PATH)) == expected;
                if (!seen.synced) ::Sleep(10);
            }
            gd::Click(w, IDOK);
            if (!gd::WaitUntilGone(w, 5000)) {
                gd::Close(w);
                gd::WaitUntilGone(w, 5000);
            }
        });
        ClickPage(IDC_DIR_BROWSE);
        driver.join();
    });
    ASSERT_TRUE(seen.browser);
    EXPECT_EQ(seen.title, "Change Folder");
    EXPECT_TRUE(seen.editVisible);
    EXPECT_FALSE(seen.labelVisible);
    // The path field starts with the text typed on the page.
    EXPECT_EQ(seen.startText, root + "\\A\\missing");
    EXPECT_TRUE(seen.synced);
    EXPECT_EQ(Lower(Location()), expected);
    EXPECT_EQ(CurrentId(), IDD_DIRECTORY);
}

TEST_F(DirectoryPageTest, BackFromTheGroupPageAndNextAgainAppliesEverythingAgainWithoutReloading) {
    ClickBar(IDC_NEXT);
    ASSERT_EQ(CurrentId(), IDD_GROUP);
    EXPECT_EQ(Dest(2), root + "\\TYVIEWER\\DATA\\SAMPLES\\");
    // Something changes the selection meanwhile; Next makes it Typical again.
    App().components->SetComponentSelected("Viewer", 0);
    App().components->SetComponentSelected("Samples", 1);

    ClickBar(IDC_BACK);
    ASSERT_EQ(CurrentId(), IDD_DIRECTORY);
    EXPECT_EQ(Location(), root + "\\TYVIEWER");
    SetLocation(root + "\\Other");
    ClickBar(IDC_NEXT);
    ASSERT_EQ(CurrentId(), IDD_GROUP);

    EXPECT_EQ(loads.size(), 1u);
    EXPECT_EQ(Dest(DestMain), root + "\\Other\\");
    // The directories below the main one follow the new choice.
    EXPECT_EQ(Dest(1), root + "\\Other\\DATA\\");
    EXPECT_EQ(Dest(2), root + "\\Other\\DATA\\SAMPLES\\");
    EXPECT_EQ(Selected("Viewer"), 1);
    EXPECT_EQ(Selected("Samples"), 0);
    EXPECT_EQ(Selected("System95"), 0);
}

}  // namespace
