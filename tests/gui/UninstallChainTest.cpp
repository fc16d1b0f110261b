// The uninstall pages on real windows, in this process: Setup started with
// "/U", the removal pass stood in for by services that report files to the
// page, every question answered through the modal seam.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "WizardChainHarness.h"
#include "app/WorkPages.h"
#include "support/FilePath.h"

namespace {

struct RemovalLog {
    std::vector<std::string> calls;
    std::vector<std::string> started;
    std::vector<StatusReportRequest> reports;
    std::vector<std::string> files = {"C:\\TYVIEWER\\tyviewer.exe", "C:\\TYVIEWER\\README.TXT",
                                      "C:\\TYVIEWER\\SAMPLES\\water.xyz"};
    // Runs before file i is handed to the page.
    std::function<void(std::size_t)> beforeFile;
    std::vector<std::string> shownTexts;  // control 1031 after each file was handed over
};

class RemovalServices : public InstallServices {
public:
    explicit RemovalServices(RemovalLog& log) : log_(log) {}
    void LoadProfile(const std::string& path, const std::function<void()>& pump) override {
        log_.calls.push_back("LoadProfile " + path);
        pump();
    }
    std::string MainDirectory() override { return "C:\\TYVIEWER\\"; }
    bool WriteStatusReport(const StatusReportRequest& r) override {
        log_.reports.push_back(r);
        return true;
    }
    void UnregisterApplication(const RegistrationRequest& r) override {
        log_.calls.push_back("Unregister " + r.mainDirectory + r.mainProgramName);
    }
    void StartProgram(const std::string& commandLine) override { log_.started.push_back(commandLine); }
    bool RemoveInstallation(const std::string& logPath, const std::string& group,
                            const std::function<bool(const std::string&)>& progress) override {
        log_.calls.push_back("Remove " + logPath + " " + group);
        auto* page = dynamic_cast<WizardPage*>(WizardPages().Find(IDD_REMOVING));
        for (std::size_t i = 0; i < log_.files.size(); ++i) {
            if (log_.beforeFile) log_.beforeFile(i);
            if (!progress(log_.files[i])) {
                log_.calls.push_back("stopped before " + log_.files[i]);
                return false;
            }
            log_.shownTexts.push_back(page ? page->GetDlgItemText(IDC_REMOVINGFILE) : std::string());
            log_.calls.push_back("removed " + log_.files[i]);
        }
        log_.calls.push_back("items, group and directories");
        return true;
    }

private:
    RemovalLog& log_;
};

class UninstallChainTest : public wizard_chain::WizardChainHarness {
protected:
    bool Start(const std::string& arguments) { return StartApp(std::make_unique<RemovalServices>(log), arguments); }

    RemovalLog log;
};

TEST_F(UninstallChainTest, RemovesShowingEachFileThenUnregistersAndEndsOnRemoved) {
    bool navigationEnabled = true;
    log.beforeFile = [&](std::size_t i) {
        if (i != 1) return;
        navigationEnabled = ::IsWindowEnabled(BarButton(IDD_REMOVING, IDC_NEXT)) ||
                            ::IsWindowEnabled(BarButton(IDD_REMOVING, IDC_BACK));
        // Enter while the pass runs must not leave the page.
        ::SendMessageA(Page(IDD_REMOVING)->m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    ASSERT_TRUE(Start("/U"));
    ASSERT_EQ(CurrentId(), IDD_UNINSTALL_WELCOME);
    Click(BarButton(IDD_UNINSTALL_WELCOME, IDC_NEXT));
    ASSERT_EQ(CurrentId(), IDD_REMOVED);
    EXPECT_FALSE(navigationEnabled);

    const std::string logPath = FilePath(FilePathKind::kWindowsDirectory).GetPath() + "TYViewer.log";
    const std::vector<std::string> expected = {
        "LoadProfile " + logPath,
        "Remove " + logPath + " Tessaly Viewer",
        "removed C:\\TYVIEWER\\tyviewer.exe",
        "removed C:\\TYVIEWER\\README.TXT",
        "removed C:\\TYVIEWER\\SAMPLES\\water.xyz",
        "items, group and directories",
        "Unregister C:\\TYVIEWER\\tyviewer.exe",
    };
    EXPECT_EQ(log.calls, expected);
    EXPECT_EQ(log.shownTexts, log.files);
    // The chain as the back links recorded it.
    EXPECT_EQ(Page(IDD_READING)->backPageId, IDD_UNINSTALL_WELCOME);
    EXPECT_EQ(Page(IDD_REMOVING)->backPageId, IDD_READING);
    EXPECT_EQ(Page(IDD_UNREGISTERING)->backPageId, IDD_REMOVING);
    EXPECT_EQ(Page(IDD_REMOVED)->backPageId, IDD_UNREGISTERING);
    EXPECT_TRUE(::IsWindowVisible(Page(IDD_REMOVED)->m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(Page(IDD_REMOVING)->m_hWnd));

    ClickPage(IDOK);  // "Finished"
    EXPECT_EQ(Finish(), 0);
    EXPECT_TRUE(asked.empty());
    ASSERT_EQ(log.reports.size(), 1u);
    EXPECT_TRUE(log.reports[0].success);
    ASSERT_EQ(log.started.size(), 1u);
    const std::string prefix = FilePath(FilePathKind::kSystemDirectory).GetPath() + "_qzdinst.exe /U /PP:";
    EXPECT_EQ(log.started[0].substr(0, prefix.size()), prefix);
}

TEST_F(UninstallChainTest, CancelOnTheFirstPageAsksNothingAndTouchesNothing) {
    ASSERT_TRUE(Start("/U"));
    Click(BarButton(IDD_UNINSTALL_WELCOME, IDCANCEL));
    EXPECT_EQ(CurrentId(), IDD_FAILED);
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(log.calls.empty());
    ClickPage(IDOK);  // "Finished"
    EXPECT_EQ(Finish(), 1);
    EXPECT_TRUE(log.started.empty());
    ASSERT_EQ(log.reports.size(), 1u);
    EXPECT_FALSE(log.reports[0].success);
}

TEST_F(UninstallChainTest, CancelWhileRemovingAnsweredNoGoesOnAndYesStopsOnTheFailurePage) {
    // Cancel is clicked while the first file is being removed (answered No)
    // and again during the second (answered Yes).
    log.beforeFile = [&](std::size_t i) {
        if (i < 2) Click(BarButton(IDD_REMOVING, IDCANCEL));
    };
    answers = {IDNO, IDYES};
    ASSERT_TRUE(Start("/U"));
    Click(BarButton(IDD_UNINSTALL_WELCOME, IDC_NEXT));
    EXPECT_EQ(CurrentId(), IDD_FAILED);

    const std::string logPath = FilePath(FilePathKind::kWindowsDirectory).GetPath() + "TYViewer.log";
    const std::vector<std::string> expected = {
        "LoadProfile " + logPath,
        "Remove " + logPath + " Tessaly Viewer",
        "removed C:\\TYVIEWER\\tyviewer.exe",
        "stopped before C:\\TYVIEWER\\README.TXT",
    };
    EXPECT_EQ(log.calls, expected);  // nothing unregistered, no items or directories
    ASSERT_EQ(asked.size(), 2u);
    for (const ModalInteraction& m : asked) {
        EXPECT_EQ(m.kind, ModalKind::messageBox);
        EXPECT_EQ(m.text, SetupApp::LoadText(IDS_EXIT_QUESTION));
        EXPECT_EQ(m.type & (MB_YESNO | MB_ICONQUESTION), static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    }
    EXPECT_EQ(app_->continueFlag, 0);

    ClickPage(IDOK);  // "Finished"
    EXPECT_EQ(Finish(), 1);
    EXPECT_TRUE(log.started.empty());  // no clean-up program after a cancelled uninstall
    ASSERT_EQ(log.reports.size(), 1u);
    EXPECT_FALSE(log.reports[0].success);
}

// "/D:" moves where the profile and the sources are read from, but the
// clean-up program is always handed the short path of Setup's own
// profile-named file beside the running program.
TEST_F(UninstallChainTest, CleanupArgumentIsSetupsOwnShortProfilePathEvenAfterD) {
    char module[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    FilePath ini(module);
    ini.SetExtension("ini");
    // The file must exist for the system to give its short name.
    HANDLE file = ::CreateFileA(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool made = file != INVALID_HANDLE_VALUE;
    if (made) ::CloseHandle(file);
    char shortPath[MAX_PATH] = "";
    ASSERT_GT(::GetShortPathNameA(ini.c_str(), shortPath, MAX_PATH), 0u) << ini.GetPath();

    ASSERT_TRUE(Start("/U /B /D:C:\\tvs-elsewhere\\DISK01"));
    Pump();
    EXPECT_EQ(Finish(), 0);
    ASSERT_EQ(log.started.size(), 1u);
    EXPECT_EQ(log.started[0],
              FilePath(FilePathKind::kSystemDirectory).GetPath() + "_qzdinst.exe /U /PP:" + shortPath);
    EXPECT_EQ(log.started[0].find("tvs-elsewhere"), std::string::npos);
    if (made) ::DeleteFileA(ini.c_str());
}

// Enter on the uninstall welcome page presses the bar's Next; Escape there
// cancels without a question.
TEST_F(UninstallChainTest, EnterStartsTheRemovalAndEscapeCancelsUnasked) {
    ASSERT_TRUE(Start("/U"));
    ASSERT_EQ(CurrentId(), IDD_UNINSTALL_WELCOME);
    Key(PageWindow(), VK_RETURN);
    ASSERT_EQ(CurrentId(), IDD_REMOVED);
    ClickPage(IDOK);
    ASSERT_TRUE(Ended());
    EXPECT_EQ(Finish(), 0);
    TearDown();
    SetUp();
    log = RemovalLog{};

    ASSERT_TRUE(Start("/U"));
    Key(BarButton(IDD_UNINSTALL_WELCOME, IDC_NEXT), VK_ESCAPE);
    ASSERT_EQ(CurrentId(), IDD_FAILED);
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(UninstallChainTest, BatchUninstallRunsToTheEndUnasked) {
    ASSERT_TRUE(Start("/U /B"));
    Pump();
    EXPECT_EQ(app_->m_pMainWnd, nullptr);
    EXPECT_EQ(Finish(), 0);
    ASSERT_GE(log.calls.size(), 2u);
    EXPECT_EQ(log.calls.back(), "Unregister C:\\TYVIEWER\\tyviewer.exe");
    EXPECT_EQ(log.started.size(), 1u);
    EXPECT_TRUE(asked.empty());
}

}  // namespace
