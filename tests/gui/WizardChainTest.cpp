// The page chain on real windows, in this process: SetupApp started with a
// command line, its pages driven through their buttons, every question
// answered through the modal seam.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "WizardChainHarness.h"
#include "app/QuestionPages.h"
#include "errors/SetupException.h"
#include "support/FilePath.h"

namespace {

// Records what the wizard asks of the layers below it.
struct ServiceLog {
    std::vector<std::string> calls;
    std::vector<StatusReportRequest> reports;
    std::vector<std::string> started;
    std::vector<std::string> events;
    std::vector<std::string> groups;  // what ListProgramGroups answers
    bool failLoad = false;
    std::function<void()> onLoad;  // runs inside the reading step
};

class RecordingServices : public InstallServices {
public:
    explicit RecordingServices(ServiceLog& log) : log_(log) {}
    void LoadProfile(const std::string& path, const std::function<void()>& pump) override {
        log_.calls.push_back("LoadProfile " + path);
        pump();
        if (log_.onLoad) log_.onLoad();
        if (log_.failLoad) throw CInstallProfileException(0);
    }
    std::string MainDirectory() override { return "C:\\TYVIEWER\\"; }
    bool WriteStatusReport(const StatusReportRequest& r) override {
        log_.reports.push_back(r);
        return true;
    }
    void RegisterApplication(const RegistrationRequest& r) override {
        log_.calls.push_back("Register " + r.mainDirectory + r.mainProgramName + " " + r.productName);
    }
    void UnregisterApplication(const RegistrationRequest& r) override {
        log_.calls.push_back("Unregister " + r.mainDirectory + r.mainProgramName + " " + r.productName);
    }
    std::vector<std::string> ListProgramGroups() override {
        log_.calls.push_back("ListProgramGroups");
        return log_.groups;
    }
    bool RestartSystem() override {
        log_.calls.push_back("RestartSystem");
        return false;
    }
    void StartProgram(const std::string& commandLine) override { log_.started.push_back(commandLine); }
    void LogEvent(const std::string&, const std::string& text) override { log_.events.push_back(text); }

private:
    ServiceLog& log_;
};

class WizardChainTest : public wizard_chain::WizardChainHarness {
protected:
    bool Start(const std::string& arguments) { return StartApp(std::make_unique<RecordingServices>(log), arguments); }

    int MessageBoxesAsked() const { return Count(ModalKind::messageBox); }

    ServiceLog log;
};

TEST_F(WizardChainTest, AllDefaultsRunThroughEveryPageInOrderAndSucceed) {
    ASSERT_TRUE(Start(""));
    EXPECT_EQ(CurrentId(), IDD_WELCOME);
    EXPECT_EQ(App().setupTitle, "Tessaly Viewer Setup");
    EXPECT_EQ(App().groupName, "Tessaly Viewer");
    EXPECT_EQ(App().mainProgramName, "tyviewer.exe");
    EXPECT_EQ(App().saveStateToLog, 1);

    ClickBar(IDC_NEXT);  // 114 reads the profile and moves on by itself
    EXPECT_EQ(CurrentId(), IDD_DIRECTORY);
    ClickBar(IDC_NEXT);
    EXPECT_EQ(CurrentId(), IDD_GROUP);
    ClickBar(IDC_NEXT);  // 108 and 1549 work and move on
    EXPECT_EQ(CurrentId(), IDD_FINISHED);

    // The order, as the back links recorded it; 1537 was never shown.
    EXPECT_EQ(Page(IDD_READING)->backPageId, IDD_WELCOME);
    EXPECT_EQ(Page(IDD_DIRECTORY)->backPageId, IDD_READING);
    EXPECT_EQ(Page(IDD_GROUP)->backPageId, IDD_DIRECTORY);
    EXPECT_EQ(Page(IDD_COPY)->backPageId, IDD_GROUP);
    EXPECT_EQ(Page(IDD_REGISTERING)->backPageId, IDD_COPY);
    EXPECT_EQ(Page(IDD_FINISHED)->backPageId, IDD_REGISTERING);
    ASSERT_NE(Page(IDD_CONDITIONS), nullptr);
    EXPECT_EQ(Page(IDD_CONDITIONS)->m_hWnd, nullptr);
    // Exactly one page is visible.
    for (int id : {IDD_WELCOME, IDD_READING, IDD_DIRECTORY, IDD_GROUP, IDD_COPY, IDD_REGISTERING})
        EXPECT_FALSE(::IsWindowVisible(Page(id)->m_hWnd)) << id;
    EXPECT_TRUE(::IsWindowVisible(Page(IDD_FINISHED)->m_hWnd));

    ClickPage(IDOK);  // "Finished"
    ASSERT_TRUE(Ended());
    EXPECT_EQ(Finish(), 0);
    EXPECT_EQ(MessageBoxesAsked(), 0);
    ASSERT_EQ(log.reports.size(), 1u);
    EXPECT_EQ(log.reports[0].reportName, "tyviewer");
    EXPECT_EQ(log.reports[0].product, "Tessaly Viewer");
    EXPECT_EQ(log.reports[0].version, "1.0");
    EXPECT_EQ(log.reports[0].locale, "ENU");
    EXPECT_EQ(log.reports[0].manufacturer, "");
    EXPECT_EQ(log.reports[0].statusText, "Successful installation.");
    EXPECT_TRUE(log.reports[0].success);
    EXPECT_TRUE(log.started.empty());  // no clean-up after an install
    ASSERT_GE(log.calls.size(), 3u);
    EXPECT_EQ(log.calls[0].rfind("LoadProfile ", 0), 0u);
    EXPECT_EQ(log.calls.back(), "Register C:\\TYVIEWER\\tyviewer.exe Tessaly Viewer");
}

TEST_F(WizardChainTest, ButtonBarSitsUnderThePageWithBackAndNextStates) {
    ASSERT_TRUE(Start(""));
    HWND bar = Bar(IDD_WELCOME);
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(bar, IDC_BACK)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(bar, IDC_NEXT)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(bar, 9)));  // Help is never shown

    // The bar starts at the bottom of the page's original client area and
    // the page has grown by exactly the bar's height.
    RECT barRect{}, pageClient{};
    ::GetWindowRect(bar, &barRect);
    ::GetClientRect(Page(IDD_WELCOME)->m_hWnd, &pageClient);
    POINT barTop{barRect.left, barRect.top};
    ::ScreenToClient(Page(IDD_WELCOME)->m_hWnd, &barTop);
    EXPECT_EQ(barTop.y + (barRect.bottom - barRect.top), pageClient.bottom);

    ClickBar(IDC_NEXT);
    ASSERT_EQ(CurrentId(), IDD_DIRECTORY);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(Bar(IDD_DIRECTORY), IDC_BACK)));
}

TEST_F(WizardChainTest, CancelAnsweredNoStaysAndYesEndsOnTheFailurePage) {
    ASSERT_TRUE(Start(""));
    ClickBar(IDC_NEXT);
    ASSERT_EQ(CurrentId(), IDD_DIRECTORY);

    answers = {IDNO};
    ClickBar(IDCANCEL);
    EXPECT_EQ(CurrentId(), IDD_DIRECTORY);
    EXPECT_EQ(App().continueFlag, 1);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Tessaly Viewer  installation not complete. Do you really want to exit Setup?");
    EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));

    answers = {IDYES};
    ClickBar(IDCANCEL);
    EXPECT_EQ(CurrentId(), IDD_FAILED);
    EXPECT_EQ(App().continueFlag, 0);
    EXPECT_FALSE(::IsWindowVisible(Page(IDD_DIRECTORY)->m_hWnd));

    ClickPage(IDOK);
    EXPECT_EQ(Finish(), 1);
    ASSERT_EQ(log.reports.size(), 1u);
    EXPECT_EQ(log.reports[0].statusText, "Install failed.");
    EXPECT_FALSE(log.reports[0].success);
}

TEST_F(WizardChainTest, EscapeOnAFinalPageEndsWithoutAQuestion) {
    ASSERT_TRUE(Start(""));
    ClickBar(IDC_NEXT);
    ClickBar(IDC_NEXT);
    ClickBar(IDC_NEXT);
    ASSERT_EQ(CurrentId(), IDD_FINISHED);
    Command(IDCANCEL);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(MessageBoxesAsked(), 0);
    EXPECT_EQ(Finish(), 0);
}

TEST_F(WizardChainTest, BackGoesFromGroupToDirectoryToWelcomeWithoutReadingAgain) {
    ASSERT_TRUE(Start(""));
    ClickBar(IDC_NEXT);
    ClickBar(IDC_NEXT);
    ASSERT_EQ(CurrentId(), IDD_GROUP);
    ClickBar(IDC_BACK);
    EXPECT_EQ(CurrentId(), IDD_DIRECTORY);
    EXPECT_TRUE(::IsWindowVisible(Page(IDD_DIRECTORY)->m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(Page(IDD_GROUP)->m_hWnd));
    ClickBar(IDC_BACK);
    EXPECT_EQ(CurrentId(), IDD_WELCOME);
    ClickBar(IDC_NEXT);
    EXPECT_EQ(CurrentId(), IDD_DIRECTORY);
    int loads = 0;
    for (const std::string& c : log.calls) loads += c.rfind("LoadProfile", 0) == 0;
    EXPECT_EQ(loads, 1);
}

TEST_F(WizardChainTest, GroupPageListsGroupsAndStoresTheChoice) {
    log.groups = {"Accessories", "Main"};
    ASSERT_TRUE(Start(""));
    ClickBar(IDC_NEXT);
    ClickBar(IDC_NEXT);
    ASSERT_EQ(CurrentId(), IDD_GROUP);
    HWND page = Current()->m_hWnd;
    EXPECT_EQ(::SendDlgItemMessageA(page, IDC_GROUPLIST, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(Current()->GetDlgItemText(IDC_GROUPNAME), "Tessaly Viewer");
    EXPECT_TRUE(::IsDlgButtonChecked(page, IDC_NEWGROUP));

    // The existing-group radio selects the first group when none is.
    ::SendMessageA(::GetDlgItem(page, IDC_EXISTINGGROUP), BM_CLICK, 0, 0);
    EXPECT_TRUE(::IsDlgButtonChecked(page, IDC_EXISTINGGROUP));
    EXPECT_EQ(::SendDlgItemMessageA(page, IDC_GROUPLIST, LB_GETCURSEL, 0, 0), 0);
    // Typing a name goes back to the new group.
    ::SetDlgItemTextA(page, IDC_GROUPNAME, "Chemistry");
    EXPECT_TRUE(::IsDlgButtonChecked(page, IDC_NEWGROUP));
    EXPECT_FALSE(::IsDlgButtonChecked(page, IDC_EXISTINGGROUP));

    ::SendMessageA(::GetDlgItem(page, IDC_EXISTINGGROUP), BM_CLICK, 0, 0);
    ::SendDlgItemMessageA(page, IDC_GROUPLIST, LB_SETCURSEL, 1, 0);
    ClickBar(IDC_NEXT);
    EXPECT_EQ(App().groupName, "Main");
}

TEST_F(WizardChainTest, GroupPageWithNoGroupsStoresAnEmptyName) {
    ASSERT_TRUE(Start(""));
    ClickBar(IDC_NEXT);
    ClickBar(IDC_NEXT);
    ASSERT_EQ(CurrentId(), IDD_GROUP);
    HWND page = Current()->m_hWnd;
    ::SendMessageA(::GetDlgItem(page, IDC_EXISTINGGROUP), BM_CLICK, 0, 0);
    EXPECT_EQ(::SendDlgItemMessageA(page, IDC_GROUPLIST, LB_GETCURSEL, 0, 0), LB_ERR);
    ClickBar(IDC_NEXT);
    EXPECT_EQ(App().groupName, "");
}

TEST_F(WizardChainTest, BatchModeRunsToTheEndUnseenAndSucceeds) {
    ASSERT_TRUE(Start("/B"));
    EXPECT_EQ(App().batchMode, 1);
    // One pump took the whole chain: nothing was asked, no page had a size.
    ASSERT_TRUE(Ended());
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(Page(IDD_FINISHED)->nextPageId, -1);
    ASSERT_NE(Page(IDD_GROUP), nullptr);
    EXPECT_EQ(App().groupName, "Tessaly Viewer");  // the default group, not a nameless one
    EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(), "ListProgramGroups"), 0);
    EXPECT_EQ(Finish(), 0);
    ASSERT_EQ(log.reports.size(), 1u);
    EXPECT_TRUE(log.reports[0].success);
}

TEST_F(WizardChainTest, QuietModeFailureIsLoggedWithoutWaitingAndExitsWithOne) {
    log.failLoad = true;
    ASSERT_TRUE(Start("/Q"));
    EXPECT_EQ(App().quietMode, 1);
    EXPECT_EQ(App().batchMode, 1);
    ASSERT_TRUE(Ended());
    // Nobody is asked: the report went into the log's events, with its
    // headline, summary and information line.
    EXPECT_TRUE(asked.empty());
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].rfind("Setup cannot continue ", 0), 0u) << log.events[0];
    EXPECT_NE(log.events[0].find("(9.0 (CInstallProfileException))"), std::string::npos) << log.events[0];
    EXPECT_EQ(Page(IDD_READING)->nextPageId, IDD_FAILED);
    EXPECT_EQ(App().continueFlag, 0);
    EXPECT_EQ(Finish(), 1);
    EXPECT_FALSE(log.reports.at(0).success);
}

// A batch run shows its reports as an interactive one does; only the pages
// are unseen. Once the report is answered the run goes on by itself.
TEST_F(WizardChainTest, BatchModeShowsTheReportThenEndsOnTheFailurePage) {
    log.failLoad = true;
    ASSERT_TRUE(Start("/B"));
    EXPECT_EQ(App().quietMode, 0);
    ASSERT_TRUE(Ended());
    const std::vector<ModalInteraction> reports = Asked(ModalKind::dialog);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].text, "Setup cannot continue");
    ASSERT_FALSE(reports[0].details.empty());
    EXPECT_EQ(reports[0].details.back(), "9.0 (CInstallProfileException)");
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(Page(IDD_FAILED)->backPageId, IDD_READING);
    EXPECT_EQ(Finish(), 1);
    EXPECT_FALSE(log.reports.at(0).success);
}

// The directory page refuses a directory that cannot be made (a file has
// its name). In a batch run its automatic Next has been used up: after the
// box, the run must end on the failure page rather than wait for ever; a
// quiet run shows no box at all and logs it.
TEST_F(WizardChainTest, RefusedDirectoryEndsBatchAndQuietRunsOnTheFailurePage) {
    const std::string blocked = "C:\\tvs-chain-blocked";
    HANDLE file = ::CreateFileA(blocked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);
    log.onLoad = [this] { App().destinations->SetNameAndParent(DestMain, "tvs-chain-blocked", DestNone); };
    for (const char* arguments : {"/B", "/Q"}) {
        SCOPED_TRACE(arguments);
        const bool quiet = std::string(arguments) == "/Q";
        ASSERT_TRUE(Start(arguments));
        ASSERT_TRUE(Ended()) << "still on page " << CurrentId();
        EXPECT_EQ(Page(IDD_FAILED)->backPageId, IDD_DIRECTORY);
        EXPECT_EQ(Page(IDD_GROUP), nullptr);
        if (quiet) {
            EXPECT_TRUE(asked.empty());
            ASSERT_EQ(log.events.size(), 1u);
            EXPECT_EQ(log.events[0], "Cannot Create Directory " + blocked);
        } else {
            EXPECT_EQ(Questions(ModalKind::messageBox), std::vector<std::string>{"Cannot Create Directory"});
            EXPECT_TRUE(log.events.empty());
        }
        EXPECT_EQ(App().continueFlag, 0);
        EXPECT_EQ(Finish(), 1);
        EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(), "Register C:\\TYVIEWER\\tyviewer.exe Tessaly Viewer"), 0);
        TearDown();
        log.events.clear();
        log.calls.clear();
        asked.clear();
        SetUp();
    }
    ::DeleteFileA(blocked.c_str());
}

// A file left for the next start: the batch run ends on the restart page
// without restarting; a quiet run tells its deployment tool with 3010.
TEST_F(WizardChainTest, RestartNeededGivesExitCode3010OnlyInAQuietRun) {
    log.onLoad = [this] { App().restartNeeded = 1; };
    for (const char* arguments : {"/B", "/Q"}) {
        SCOPED_TRACE(arguments);
        ASSERT_TRUE(Start(arguments));
        ASSERT_TRUE(Ended());
        ASSERT_NE(Page(IDD_RESTART), nullptr);
        EXPECT_EQ(Page(IDD_RESTART)->backPageId, IDD_REGISTERING);
        EXPECT_TRUE(asked.empty());
        EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(), "RestartSystem"), 0);
        EXPECT_EQ(Finish(), std::string(arguments) == "/Q" ? 3010 : 0);
        EXPECT_TRUE(log.reports.at(0).success);
        TearDown();
        log.reports.clear();
        log.calls.clear();
        asked.clear();
        SetUp();
    }
}

// A first page whose window cannot be made: the navigator throws out of
// start-up. That run failed, whatever its mode: exit code 1, "Install
// failed.", and no clean-up program after an uninstall start.
TEST_F(WizardChainTest, FailureOutOfStartUpCountsAsAFailedRun) {
    struct UncreatablePage : WizardPage {
        explicit UncreatablePage(int id) : WizardPage(id) {}
        bool CreatePage() override { return false; }
    };
    const struct {
        const char* arguments;
        int firstPage;
    } cases[] = {{"", IDD_WELCOME}, {"/U", IDD_UNINSTALL_WELCOME}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        app_ = std::make_unique<SetupApp>();
        app_->SetServices(std::make_unique<RecordingServices>(log));
        app_->m_lpCmdLine = c.arguments;
        WizardPages().Register(std::make_unique<UncreatablePage>(c.firstPage));
        EXPECT_THROW(app_->InitInstance(), CResourceException);
        EXPECT_EQ(App().continueFlag, 0);
        EXPECT_EQ(App().ExitInstance(), 1);
        ASSERT_EQ(log.reports.size(), 1u);
        EXPECT_FALSE(log.reports[0].success);
        EXPECT_EQ(log.reports[0].statusText, "Install failed.");
        EXPECT_TRUE(log.started.empty());
        TearDown();
        log.reports.clear();
        asked.clear();
        SetUp();
    }
}

// Enter presses the bar's Next wherever the focus is on the page: on the
// page itself (102), in the directory edit (104), on the bar (106); the
// final page's own default button ends the run.
TEST_F(WizardChainTest, EnterPressesNextOnEveryPage) {
    ASSERT_TRUE(Start(""));
    ASSERT_EQ(CurrentId(), IDD_WELCOME);
    Key(PageWindow(), VK_RETURN);
    ASSERT_EQ(CurrentId(), IDD_DIRECTORY);
    Key(::GetDlgItem(PageWindow(), IDC_LOCATION), VK_RETURN);
    ASSERT_EQ(CurrentId(), IDD_GROUP);
    Key(BarButton(IDD_GROUP, IDC_NEXT), VK_RETURN);
    ASSERT_EQ(CurrentId(), IDD_FINISHED);
    Key(PageWindow(), VK_RETURN);
    ASSERT_TRUE(Ended());
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(Finish(), 0);
}

// Escape is Cancel on every page, wherever the focus is: the question on
// the install pages, the end on a final page.
TEST_F(WizardChainTest, EscapeIsCancelOnEveryPage) {
    ASSERT_TRUE(Start(""));
    Key(PageWindow(), VK_ESCAPE);
    EXPECT_EQ(Questions(ModalKind::messageBox), std::vector<std::string>{SetupApp::LoadText(IDS_EXIT_QUESTION)});
    EXPECT_EQ(CurrentId(), IDD_WELCOME);  // answered No
    ClickBar(IDC_NEXT);
    ASSERT_EQ(CurrentId(), IDD_DIRECTORY);
    Key(::GetDlgItem(PageWindow(), IDC_LOCATION), VK_ESCAPE);
    EXPECT_EQ(Count(ModalKind::messageBox), 2);
    EXPECT_EQ(CurrentId(), IDD_DIRECTORY);

    Key(::GetDlgItem(PageWindow(), IDC_LOCATION), VK_RETURN);
    EXPECT_EQ(CurrentId(), IDD_GROUP);

    answers = {IDYES};
    Key(BarButton(IDD_GROUP, IDC_NEXT), VK_ESCAPE);
    EXPECT_EQ(CurrentId(), IDD_FAILED);
    Key(PageWindow(), VK_ESCAPE);  // the final page: Escape ends like its button
    ASSERT_TRUE(Ended());
    EXPECT_EQ(Finish(), 1);
}

TEST_F(WizardChainTest, BackdropIsMaximisedAndInBatchModeMinimisedWithPagesOfNoSize) {
    ASSERT_TRUE(Start(""));
    HWND backdrop = App().m_pMainWnd->m_hWnd;
    EXPECT_TRUE(::IsZoomed(backdrop));
    EXPECT_EQ(App().m_pMainWnd->GetWindowText(), "Tessaly Viewer Setup");
    EXPECT_EQ(::GetClassLongA(backdrop, GCL_STYLE), 0x0Bu);
    EXPECT_EQ(::GetClassLongPtrA(backdrop, GCLP_HBRBACKGROUND), 0u);
    EXPECT_NE(::GetClassLongPtrA(backdrop, GCLP_HICON), 0u);
    EXPECT_EQ(::GetWindowLongA(backdrop, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_EQ(::GetWindowLongA(backdrop, GWL_STYLE) & 0x000F0000, 0x000F0000);
    RECT page{};
    ::GetWindowRect(Page(IDD_WELCOME)->m_hWnd, &page);
    EXPECT_GT(page.right - page.left, 0);
    TearDown();
    SetUp();

    bool iconic = false;
    std::vector<RECT> sizes;
    log.onLoad = [&] {
        iconic = ::IsIconic(GetApp()->m_pMainWnd->m_hWnd) != FALSE;
        for (int id : {IDD_WELCOME, IDD_READING}) {
            RECT r{};
            ::GetWindowRect(Page(id)->m_hWnd, &r);
            sizes.push_back(r);
        }
    };
    ASSERT_TRUE(Start("/B"));
    EXPECT_TRUE(iconic);
    ASSERT_EQ(sizes.size(), 2u);
    for (const RECT& r : sizes) {
        EXPECT_EQ(r.right - r.left, 0);
        EXPECT_EQ(r.bottom - r.top, 0);
    }
    EXPECT_EQ(Finish(), 0);
}

TEST_F(WizardChainTest, SwitchesSetModesAndMoveTheProfile) {
    ASSERT_TRUE(Start("abc /D:C:\\KIT /I /x"));
    EXPECT_EQ(App().switches.at("#0"), "abc");
    EXPECT_EQ(App().switches.at("D"), "C:\\KIT");
    EXPECT_EQ(App().ignoreConditions, 1);
    EXPECT_EQ(App().uninstallMode, 0);
    EXPECT_EQ(App().batchMode, 0);
    EXPECT_EQ(App().sourceDir->GetPath(), "C:\\KIT\\");
    char module[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(App().profilePath->GetPath(), "C:\\KIT\\" + FilePath(module).GetFileTitle() + ".ini");
    EXPECT_EQ(App().logPath->GetPath(), FilePath(FilePathKind::kWindowsDirectory).GetPath() + "TYViewer.log");
}

TEST_F(WizardChainTest, NoSwitchesReadTheProfileBesideSetup) {
    ASSERT_TRUE(Start("/u /b"));
    EXPECT_EQ(App().uninstallMode, 0);
    EXPECT_EQ(App().batchMode, 0);
    char module[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    FilePath profile(module);
    profile.SetExtension("ini");
    EXPECT_EQ(App().profilePath->GetPath(), profile.GetPath());
    FilePath dir(module);
    dir.SetFileName("");
    EXPECT_EQ(App().sourceDir->GetPath(), dir.GetPath());
    EXPECT_EQ(CurrentId(), IDD_WELCOME);
}

TEST_F(WizardChainTest, UninstallReadsTheLogAndHandsOverToTheCleanupProgram) {
    ASSERT_TRUE(Start("/D:C:\\KIT /U"));
    EXPECT_EQ(App().uninstallMode, 1);
    EXPECT_EQ(App().profilePath->GetPath(), App().logPath->GetPath());
    ASSERT_EQ(CurrentId(), IDD_UNINSTALL_WELCOME);
    ClickBar(IDC_NEXT);  // 114 reads the log, 1546 and 1550 work
    EXPECT_EQ(CurrentId(), IDD_REMOVED);
    EXPECT_EQ(Page(IDD_READING)->nextPageId, IDD_REMOVING);
    ClickPage(IDOK);
    EXPECT_EQ(Finish(), 0);
    ASSERT_GE(log.calls.size(), 2u);
    EXPECT_EQ(log.calls[0], "LoadProfile " + FilePath(FilePathKind::kWindowsDirectory).GetPath() + "TYViewer.log");
    EXPECT_EQ(log.calls[1], "Unregister C:\\TYVIEWER\\tyviewer.exe Tessaly Viewer");
    ASSERT_EQ(log.started.size(), 1u);
    const std::string prefix = FilePath(FilePathKind::kSystemDirectory).GetPath() + "_qzdinst.exe /U /PP:";
    EXPECT_EQ(log.started[0].substr(0, prefix.size()), prefix);
    EXPECT_EQ(log.started[0].substr(log.started[0].size() - 4), ".ini");
}

TEST_F(WizardChainTest, UninstallCancelNeedsNoQuestionAndStartsNothing) {
    ASSERT_TRUE(Start("/U"));
    ASSERT_EQ(CurrentId(), IDD_UNINSTALL_WELCOME);
    ClickBar(IDCANCEL);
    EXPECT_EQ(CurrentId(), IDD_FAILED);
    EXPECT_TRUE(asked.empty());
    ClickPage(IDOK);
    EXPECT_EQ(Finish(), 1);
    EXPECT_TRUE(log.started.empty());
}

TEST_F(WizardChainTest, ClosingTheBackdropOnlyClearsTheFlag) {
    ASSERT_TRUE(Start(""));
    HWND backdrop = App().m_pMainWnd->m_hWnd;
    answers = {IDNO};
    ::SendMessageA(backdrop, WM_CLOSE, 0, 0);
    EXPECT_EQ(App().continueFlag, 1);
    answers = {IDYES};
    ::SendMessageA(backdrop, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(App().continueFlag, 0);
    EXPECT_TRUE(::IsWindow(backdrop));
    EXPECT_EQ(CurrentId(), IDD_WELCOME);
    EXPECT_TRUE(::IsWindowVisible(Page(IDD_WELCOME)->m_hWnd));
    ASSERT_EQ(MessageBoxesAsked(), 2);
    EXPECT_EQ(asked[1].text, "Tessaly Viewer  installation not complete. Do you really want to exit Setup?");

    // Next carries on, and the copy step's check ends on the failure page.
    ClickBar(IDC_NEXT);
    ClickBar(IDC_NEXT);
    ClickBar(IDC_NEXT);
    EXPECT_EQ(CurrentId(), IDD_FAILED);
    ClickPage(IDOK);
    EXPECT_EQ(Finish(), 1);
    EXPECT_EQ(log.reports.at(0).statusText, "Install failed.");
}

TEST_F(WizardChainTest, RestartPageFollowsAPendingReplacement) {
    ASSERT_TRUE(Start(""));
    App().restartNeeded = 1;
    ClickBar(IDC_NEXT);
    ClickBar(IDC_NEXT);
    ClickBar(IDC_NEXT);
    ASSERT_EQ(CurrentId(), IDD_RESTART);
    ClickPage(IDC_RESTART);  // refused by the stand-in: the page stays
    EXPECT_EQ(CurrentId(), IDD_RESTART);
    EXPECT_FALSE(Ended());
    EXPECT_EQ(log.calls.back(), "RestartSystem");
    ClickPage(IDC_DONTRESTART);
    EXPECT_EQ(Finish(), 0);
}

// A machine that does not meet the requirements.
class UnmetConditionsPage : public ConditionsPage {
public:
    bool RequirementsMet() override { return false; }
};

TEST_F(WizardChainTest, UnmetConditionsShowThePageAndContinueEndsOnFailureUnlessIgnored) {
    for (const char* arguments : {"", "/I"}) {
        SCOPED_TRACE(arguments);
        ASSERT_TRUE(Start(arguments));
        WizardPages().Register(std::make_unique<UnmetConditionsPage>());
        ClickBar(IDC_NEXT);
        ASSERT_EQ(CurrentId(), IDD_CONDITIONS);
        EXPECT_EQ(Current()->backPageId, IDD_READING);
        ClickPage(IDOK);  // "Continue"
        EXPECT_EQ(CurrentId(), *arguments ? IDD_DIRECTORY : IDD_FAILED);
        TearDown();
        SetUp();
    }
}

TEST_F(WizardChainTest, AnExceptionInANextHandlerIsReportedAndThePageStays) {
    ASSERT_TRUE(Start(""));
    answers = {IDOK};
    MSG msg{};
    EXPECT_EQ(App().ProcessWndProcException(CInstallProfileException(3), &msg), 0);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, ModalKind::dialog);
    EXPECT_EQ(App().continueFlag, 1);
    EXPECT_EQ(CurrentId(), IDD_WELCOME);
}

}  // namespace
