// The framework's windows, dialogs and loops on real windows.

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/FileDialog.h"
#include "framework/Font.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "gui/DialogTemplateBuilder.h"

namespace {

constexpr UINT kThrowFile = WM_APP + 1;
constexpr UINT kThrowBadAlloc = WM_APP + 2;
constexpr UINT kThrowUnknown = WM_APP + 3;
constexpr UINT kCount = WM_APP + 4;
constexpr UINT kQuit = WM_APP + 5;
constexpr UINT kDestroySelf = WM_APP + 6;

// Records what reaches the application's hook for escaped exceptions.
class RecordingApp : public CWinApp {
public:
    struct Report {
        std::string className;
        int cause;
        UINT message;
    };
    LRESULT ProcessWndProcException(const CException& e, const MSG* msg) override {
        const auto* fe = dynamic_cast<const CFileException*>(&e);
        reports.push_back({e.GetRuntimeClass()->className, fe ? fe->cause : -1, msg ? msg->message : 0});
        return 0;
    }
    std::vector<Report> reports;
};

class TestFrame : public CFrameWnd {
public:
    static constexpr const char* kClass = "TvsTestFrame";

    bool CreateHidden() {
        if (!RegisterFrameClass(kClass, CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                                reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr))
            return false;
        return Create(kClass, "Test frame", WS_OVERLAPPEDWINDOW, 0, 10, 10, 200, 100);
    }

    int counted = 0;
    int commands = 0;
    bool failCreate = false;
    bool* deletedFlag = nullptr;
    ~TestFrame() override {
        if (deletedFlag) *deletedFlag = true;
    }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_CREATE:
            if (failCreate) throw CResourceException();
            break;
        case kThrowFile:
            throw CFileException(CFileException::diskFull, 112, "C:\\x");
        case kThrowBadAlloc:
            throw std::bad_alloc();
        case kThrowUnknown:
            throw 42;
        case kCount:
            ++counted;
            return 0;
        case kQuit:
            ::PostQuitMessage(7);
            return 0;
        case kDestroySelf:
            DestroyWindow();
            return 0;
        }
        return CFrameWnd::OnMessage(message, wParam, lParam);
    }
    bool OnCommand(int id, int, HWND) override {
        if (id != 100) return false;
        ++commands;
        return true;
    }
};

// Removes whatever a test left in the thread's queue, WM_QUIT included.
void DrainQueue() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

class FrameworkGui : public ::testing::Test {
protected:
    void SetUp() override { DrainQueue(); }
    void TearDown() override { DrainQueue(); }
    RecordingApp app;
};

}  // namespace

TEST_F(FrameworkGui, FrameBindsAtCreationAndUnbindsAtDestruction) {
    TestFrame frame;
    ASSERT_TRUE(frame.CreateHidden());
    ASSERT_NE(frame.m_hWnd, nullptr);
    EXPECT_EQ(frame.GetWindowText(), "Test frame");
    frame.SendMessage(kCount);
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(100, 0), 0);
    EXPECT_EQ(frame.counted, 1);
    EXPECT_EQ(frame.commands, 1);
    HWND hwnd = frame.m_hWnd;
    EXPECT_TRUE(frame.DestroyWindow());
    EXPECT_EQ(frame.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(FrameworkGui, FailingCreationHandlerFailsCreate) {
    TestFrame frame;
    frame.failCreate = true;
    EXPECT_FALSE(frame.CreateHidden());
    EXPECT_EQ(frame.m_hWnd, nullptr);
    ASSERT_EQ(app.reports.size(), 1u);
    EXPECT_EQ(app.reports[0].className, "CResourceException");
    EXPECT_EQ(app.reports[0].message, static_cast<UINT>(WM_CREATE));
}

TEST_F(FrameworkGui, AutoDeleteFrameDeletesItselfWithItsWindow) {
    bool deleted = false;
    auto* frame = new TestFrame;
    frame->autoDelete = true;
    frame->deletedFlag = &deleted;
    ASSERT_TRUE(frame->CreateHidden());
    ::DestroyWindow(frame->m_hWnd);
    EXPECT_TRUE(deleted);
}

TEST_F(FrameworkGui, ExceptionsEscapingAWindowProcedureReachTheApplication) {
    TestFrame frame;
    ASSERT_TRUE(frame.CreateHidden());
    struct Case {
        UINT message;
        const char* className;
        int cause;
    };
    const Case cases[] = {
        {kThrowFile, "CFileException", CFileException::diskFull},
        {kThrowBadAlloc, "CMemoryException", -1},
        {kThrowUnknown, "CException", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className);
        app.reports.clear();
        // Sent and posted messages alike: neither may unwind into USER32.
        EXPECT_EQ(frame.SendMessage(c.message), 0);
        frame.PostMessage(c.message);
        EXPECT_TRUE(PumpMessages());
        ASSERT_EQ(app.reports.size(), 2u);
        for (const auto& r : app.reports) {
            EXPECT_EQ(r.className, c.className);
            EXPECT_EQ(r.cause, c.cause);
            EXPECT_EQ(r.message, c.message);
        }
    }
    // The window is still there and still works.
    frame.SendMessage(kCount);
    EXPECT_EQ(frame.counted, 1);
}

TEST_F(FrameworkGui, PumpDispatchesEverythingQueued) {
    TestFrame frame;
    ASSERT_TRUE(frame.CreateHidden());
    for (int i = 0; i < 50; ++i) frame.PostMessage(kCount);
    EXPECT_TRUE(PumpMessages());
    EXPECT_EQ(frame.counted, 50);
    EXPECT_TRUE(PumpMessages());  // empty queue
}

TEST_F(FrameworkGui, PumpRepostsAQuitItMeetsAndStops) {
    TestFrame frame;
    ASSERT_TRUE(frame.CreateHidden());
    frame.PostMessage(kCount);
    frame.PostMessage(kQuit);   // the handler posts WM_QUIT(7) while the pump runs
    frame.PostMessage(kCount);
    EXPECT_FALSE(PumpMessages());
    EXPECT_EQ(frame.counted, 2);
    // The quit is still there for the main loop, with its exit code.
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(FrameworkGui, DestroyingTheMainWindowEndsTheLoop) {
    class App : public RecordingApp {
    public:
        bool InitInstance() override {
            frame = new TestFrame;
            frame->autoDelete = true;
            if (!frame->CreateHidden()) return false;
            m_pMainWnd = frame;
            frame->PostMessage(kCount);
            frame->PostMessage(kDestroySelf);
            return true;
        }
        int ExitInstance() override {
            exitRan = true;
            return CWinApp::ExitInstance() + 3;
        }
        TestFrame* frame = nullptr;
        bool exitRan = false;
    };
    App runApp;  // the current application while it lives
    ASSERT_EQ(GetApp(), &runApp);
    EXPECT_EQ(RunApplication(::GetModuleHandleA(nullptr), "/B abc", SW_SHOW), 3);
    EXPECT_TRUE(runApp.exitRan);
    EXPECT_EQ(runApp.m_pMainWnd, nullptr);
    EXPECT_EQ(runApp.m_lpCmdLine, "/B abc");
}

TEST_F(FrameworkGui, FailedInitInstanceSkipsTheLoopButRunsExitInstance) {
    class App : public RecordingApp {
    public:
        bool InitInstance() override { return false; }
        int ExitInstance() override {
            exitRan = true;
            return 5;
        }
        bool exitRan = false;
    };
    App runApp;
    ::PostQuitMessage(9);  // would be taken by a loop that wrongly ran
    EXPECT_EQ(RunApplication(::GetModuleHandleA(nullptr), "", SW_SHOW), 5);
    EXPECT_TRUE(runApp.exitRan);
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// ---- dialogs ----

namespace {

enum : WORD { kName = 201, kCountEdit = 202, kCheck = 203, kList = 204, kCombo = 205, kSecondEdit = 206 };

const DLGTEMPLATE* ExchangeTemplate() {
    static DialogTemplateBuilder b(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 10, 10, 200, 150, "Exchange");
    static const DLGTEMPLATE* t = [] {
        b.Add(DialogTemplateBuilder::edit, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 5, 5, 100, 12, kName)
            .Add(DialogTemplateBuilder::edit, WS_BORDER | WS_TABSTOP, 5, 20, 100, 12, kCountEdit)
            .Add(DialogTemplateBuilder::button, BS_AUTOCHECKBOX | WS_TABSTOP, 5, 35, 100, 12, kCheck, "Check")
            .Add(DialogTemplateBuilder::listBox, WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 5, 50, 100, 40, kList)
            .Add(DialogTemplateBuilder::comboBox, CBS_DROPDOWNLIST | WS_VSCROLL, 5, 95, 100, 60, kCombo)
            .Add(DialogTemplateBuilder::edit, WS_BORDER | WS_TABSTOP, 110, 5, 80, 12, kSecondEdit)
            .Add(DialogTemplateBuilder::button, BS_DEFPUSHBUTTON | WS_TABSTOP, 110, 120, 40, 14, IDOK, "OK")
            .Add(DialogTemplateBuilder::button, WS_TABSTOP, 155, 120, 40, 14, IDCANCEL, "Cancel");
        return b.Get();
    }();
    return t;
}

class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(ExchangeTemplate()) {}

    std::string name = "first";
    int count = 12;
    int checked = 1;
    int listIndex = 1;
    int comboIndex = 2;
    std::string listText;
    int oks = 0;
    int cancels = 0;
    bool postOkOnInit = false;

protected:
    bool OnInitDialog() override {
        for (const char* s : {"alpha", "beta", "gamma"}) {
            SendDlgItemMessage(kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
            SendDlgItemMessage(kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        }
        CDialog::OnInitDialog();
        if (postOkOnInit) PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
    }
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Text(dx, kName, name);
        DDX_Text(dx, kCountEdit, count);
        DDX_Check(dx, kCheck, checked);
        DDX_LBIndex(dx, kList, listIndex);
        DDX_CBIndex(dx, kCombo, comboIndex);
        if (dx.saveAndValidate) DDX_LBString(dx, kList, listText);
    }
    void OnOK() override {
        ++oks;
        CDialog::OnOK();
    }
    void OnCancel() override {
        ++cancels;
        CDialog::OnCancel();
    }
};

}  // namespace

TEST_F(FrameworkGui, DataExchangeRoundTripOnARealDialog) {
    ExchangeDialog dlg;
    ASSERT_TRUE(dlg.Create());
    // Loading filled the controls from the members.
    EXPECT_EQ(dlg.GetDlgItemText(kName), "first");
    EXPECT_EQ(dlg.GetDlgItemText(kCountEdit), "12");
    EXPECT_TRUE(dlg.IsDlgButtonChecked(kCheck));
    EXPECT_EQ(dlg.SendDlgItemMessage(kList, LB_GETCURSEL), 1);
    EXPECT_EQ(dlg.SendDlgItemMessage(kCombo, CB_GETCURSEL), 2);

    // The user changes everything; saving reads it back.
    dlg.SetDlgItemText(kName, "second name");
    dlg.SetDlgItemText(kCountEdit, " -345 ");
    dlg.CheckDlgButton(kCheck, false);
    dlg.SendDlgItemMessage(kList, LB_SETCURSEL, 2);
    dlg.SendDlgItemMessage(kCombo, CB_SETCURSEL, 0);
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.name, "second name");
    EXPECT_EQ(dlg.count, -345);
    EXPECT_EQ(dlg.checked, 0);
    EXPECT_EQ(dlg.listIndex, 2);
    EXPECT_EQ(dlg.comboIndex, 0);
    EXPECT_EQ(dlg.listText, "gamma");
}

TEST_F(FrameworkGui, DataExchangeRejectsANonNumberAndKeepsTheMember) {
    ExchangeDialog dlg;
    ASSERT_TRUE(dlg.Create());
    for (const char* bad : {"12x", "", "99999999999", "--1"}) {
        SCOPED_TRACE(bad);
        std::vector<ModalInteraction> asked;
        ScopedModalAnswerer answer([&](const ModalInteraction& m) {
            asked.push_back(m);
            return IDOK;
        });
        dlg.SetDlgItemText(kCountEdit, bad);
        dlg.SetDlgItemText(kName, "changed");
        EXPECT_FALSE(dlg.UpdateData(true));
        EXPECT_EQ(dlg.count, 12);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].kind, ModalKind::messageBox);
        EXPECT_EQ(asked[0].text, "Please enter an integer.");
        EXPECT_EQ(::GetFocus(), dlg.GetDlgItem(kCountEdit));
    }
}

TEST_F(FrameworkGui, ModalDialogRunsAndReturnsItsResult) {
    ExchangeDialog dlg;
    dlg.postOkOnInit = true;
    dlg.name = "modal";
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.oks, 1);
    EXPECT_EQ(dlg.name, "modal");  // read back from the control on OK
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(FrameworkGui, ModelessDialogGetsTabEnterAndEscapeThroughTheLoop) {
    ExchangeDialog dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.ShowWindow(SW_SHOW);
    app.SetModelessDialog(dlg.m_hWnd);

    auto press = [](UINT key) {
        HWND focus = ::GetFocus();
        ::PostMessageA(focus, WM_KEYDOWN, key, 1);
        ::PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
        PumpMessages();
    };
    ::SetFocus(dlg.GetDlgItem(kName));
    ASSERT_EQ(::GetFocus(), dlg.GetDlgItem(kName));
    press(VK_TAB);
    EXPECT_EQ(::GetFocus(), dlg.GetDlgItem(kCountEdit));
    // Without the dialog registered, Tab is an ordinary key for the edit.
    app.SetModelessDialog(nullptr);
    press(VK_TAB);
    EXPECT_EQ(::GetFocus(), dlg.GetDlgItem(kCountEdit));
    app.SetModelessDialog(dlg.m_hWnd);

    dlg.oks = 0;
    dlg.cancels = 0;
    press(VK_ESCAPE);
    EXPECT_EQ(dlg.cancels, 1);
    // The base OnCancel destroyed the modeless dialog; it unregistered itself.
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(app.ModelessDialog(), nullptr);
}

TEST_F(FrameworkGui, ModelessDialogEnterPressesTheDefaultButton) {
    ExchangeDialog dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.ShowWindow(SW_SHOW);
    app.SetModelessDialog(dlg.m_hWnd);
    ::SetFocus(dlg.GetDlgItem(kName));
    HWND focus = ::GetFocus();
    ::PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageA(focus, WM_KEYUP, VK_RETURN, 0xC0000001);
    PumpMessages();
    EXPECT_EQ(dlg.oks, 1);
}

TEST_F(FrameworkGui, ExceptionInADialogHandlerIsReportedAndTheDialogStays) {
    class Throwing : public ExchangeDialog {
    protected:
        bool OnCommand(int id, int, HWND) override {
            if (id == 300) throw CFileException(CFileException::accessDenied);
            return false;
        }
    };
    Throwing dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(300, 0), 0);
    ASSERT_EQ(app.reports.size(), 1u);
    EXPECT_EQ(app.reports[0].cause, CFileException::accessDenied);
    EXPECT_EQ(app.reports[0].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
}

TEST_F(FrameworkGui, DialogWhoseInitialisationThrowsIsNotCreated) {
    class Throwing : public ExchangeDialog {
    protected:
        bool OnInitDialog() override { throw CResourceException(); }
    };
    Throwing modeless;
    EXPECT_FALSE(modeless.Create());
    Throwing modal;
    EXPECT_EQ(modal.DoModal(), -1);
    EXPECT_EQ(app.reports.size(), 2u);
}

TEST_F(FrameworkGui, DialogBackgroundColourReachesStaticsAndTheDialog) {
    ExchangeDialog dlg;
    ASSERT_TRUE(dlg.Create());
    HDC dc = ::GetDC(dlg.m_hWnd);
    // Without a colour set, the dialog manager's own colours apply.
    EXPECT_EQ(app.DialogBackgroundBrush(), nullptr);
    EXPECT_NE(reinterpret_cast<HBRUSH>(::SendMessageA(dlg.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(dlg.GetDlgItem(kCheck)))),
              nullptr);
    app.SetDialogBkColor();
    const LRESULT brush = ::SendMessageA(dlg.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(dlg.GetDlgItem(kCheck)));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), app.DialogBackgroundBrush());
    EXPECT_EQ(::GetBkColor(dc), RGB(192, 192, 192));
    EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 0));
    ::ReleaseDC(dlg.m_hWnd, dc);
}

// ---- the old-style common file dialog ----

namespace {

class ProbeFileDialog : public CFileDialog {
public:
    ProbeFileDialog() : CFileDialog(false, nullptr, "jet.jet", OFN_HIDEREADONLY, "AllFiles (*.*) | *.* ||") {}
    bool sawFolderList = false;
    bool sawDriveList = false;
    std::string currentDirText;
    std::vector<int> selChanges;

protected:
    bool OnInitDialog() override {
        sawFolderList = ::GetDlgItem(m_hWnd, 1121) != nullptr;
        sawDriveList = ::GetDlgItem(m_hWnd, 1137) != nullptr;
        currentDirText = GetDlgItemText(1088);
        ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    }
    void OnLBSelChangedNotify(int listId, int, int) override { selChanges.push_back(listId); }
};

}  // namespace

TEST_F(FrameworkGui, OldStyleFileDialogRunsItsHookOnTheStandardControls) {
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    ProbeFileDialog dlg;
    dlg.SetInitialDirectory(temp);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(dlg.sawFolderList);
    EXPECT_TRUE(dlg.sawDriveList);
    EXPECT_FALSE(dlg.currentDirText.empty());
    EXPECT_EQ(dlg.m_ofn.Flags & OFN_EXPLORER, 0u);
    EXPECT_TRUE(app.reports.empty());
}

TEST_F(FrameworkGui, FileDialogGoesThroughTheModalSeam) {
    std::vector<ModalInteraction> asked;
    ScopedModalAnswerer answer([&](const ModalInteraction& m) {
        asked.push_back(m);
        return IDOK;
    });
    ProbeFileDialog dlg;
    dlg.SetTemplate(138);
    dlg.SetInitialDirectory("C:\\KIT");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, ModalKind::fileDialog);
    EXPECT_EQ(asked[0].id, 138);
    EXPECT_EQ(asked[0].text, "C:\\KIT");
    ASSERT_EQ(asked[0].details.size(), 1u);
    EXPECT_EQ(asked[0].details[0], "jet.jet");
}

namespace {

// Enters a folder and changes the drive the way the user would, one step per
// timer tick so that the dialog handles each before the next, then cancels.
class BrowsingFileDialog : public CFileDialog {
public:
    BrowsingFileDialog() : CFileDialog(false, nullptr, "jet.jet", OFN_HIDEREADONLY, "AllFiles (*.*) | *.* ||") {}
    struct Notice {
        int listId;
        std::string directory;
    };
    std::vector<Notice> notices;
    std::string startDirectory;

protected:
    bool OnInitDialog() override {
        startDirectory = GetDlgItemText(1088);
        ::SetTimer(m_hWnd, 1, 10, nullptr);
        return true;
    }
    void OnLBSelChangedNotify(int listId, int, int) override { notices.push_back({listId, GetDlgItemText(1088)}); }
    UINT_PTR OnHookMessage(UINT message, WPARAM, LPARAM) override {
        if (message != WM_TIMER) return 0;
        ++step_;
        if (step_ == 1) {
            // Index 0 of the folder list of C:\windows is the drive's root.
            HWND folders = ::GetDlgItem(m_hWnd, 1121);
            ::SendMessageA(folders, LB_SETCURSEL, 0, 0);
            ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(1121, LBN_DBLCLK), reinterpret_cast<LPARAM>(folders));
        } else if (step_ == 2) {
            HWND drives = ::GetDlgItem(m_hWnd, 1137);
            ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(1137, CBN_SELCHANGE), reinterpret_cast<LPARAM>(drives));
        } else {
            ::KillTimer(m_hWnd, 1);
            ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        return 1;
    }

private:
    int step_ = 0;
};

}  // namespace

TEST_F(FrameworkGui, FileDialogReportsFolderAndDriveChangesWithTheNewDirectory) {
    BrowsingFileDialog dlg;
    dlg.SetInitialDirectory("C:\\windows");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(dlg.startDirectory.empty());
    ASSERT_EQ(dlg.notices.size(), 2u);
    EXPECT_EQ(dlg.notices[0].listId, 1121);
    EXPECT_NE(dlg.notices[0].directory, dlg.startDirectory);  // the folder was entered
    EXPECT_EQ(dlg.notices[1].listId, 1137);
    EXPECT_TRUE(app.reports.empty());
}

TEST_F(FrameworkGui, ActivatedModelessDialogBecomesTheKeyboardTarget) {
    ExchangeDialog first;
    ExchangeDialog second;
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(second.Create());
    first.ShowWindow(SW_SHOW);
    ::SetActiveWindow(first.m_hWnd);
    EXPECT_EQ(app.ModelessDialog(), first.m_hWnd);
    second.ShowWindow(SW_SHOW);
    ::SetActiveWindow(second.m_hWnd);
    EXPECT_EQ(app.ModelessDialog(), second.m_hWnd);
    // A destroyed dialog is never left registered: activation falls back
    // to the first one, and with it gone nothing remains.
    HWND gone = second.m_hWnd;
    second.DestroyWindow();
    EXPECT_NE(app.ModelessDialog(), gone);
    first.DestroyWindow();
    EXPECT_EQ(app.ModelessDialog(), nullptr);
}

namespace {

constexpr WORD kBarButton = 1020;

const DLGTEMPLATE* ChildBarTemplate() {
    static DialogTemplateBuilder b(WS_CHILD | DS_CONTROL, 0, 0, 200, 20, "");
    static const DLGTEMPLATE* t = [] {
        b.Add(DialogTemplateBuilder::button, WS_TABSTOP, 5, 3, 50, 14, kBarButton, "Next >");
        return b.Get();
    }();
    return t;
}

// A child dialog that owns itself, as a button bar under a page does.
class ChildBar : public CDialog {
public:
    explicit ChildBar(int* clicks, bool* deleted) : CDialog(ChildBarTemplate()), clicks_(clicks), deleted_(deleted) {}
    ~ChildBar() override { *deleted_ = true; }

protected:
    bool OnCommand(int id, int, HWND) override {
        if (id != kBarButton) return false;
        ++*clicks_;
        return true;
    }
    void PostNcDestroy() override { delete this; }

private:
    int* clicks_;
    bool* deleted_;
};

}  // namespace

TEST_F(FrameworkGui, ChildDialogLivesInsideItsPageTakesTabAndDiesWithIt) {
    auto* page = new ExchangeDialog;
    ASSERT_TRUE(page->Create());
    page->ShowWindow(SW_SHOW);
    int clicks = 0;
    bool deleted = false;
    auto* bar = new ChildBar(&clicks, &deleted);
    ASSERT_TRUE(bar->Create(page->m_hWnd));
    EXPECT_EQ(::GetParent(bar->m_hWnd), page->m_hWnd);
    HWND next = bar->GetDlgItem(kBarButton);
    ::SendMessageA(next, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);

    // Tab from the page's last control reaches the child dialog's button.
    app.SetModelessDialog(page->m_hWnd);
    ::SetFocus(page->GetDlgItem(kSecondEdit));
    HWND focus = ::GetFocus();
    ::PostMessageA(focus, WM_KEYDOWN, VK_TAB, 1);
    ::PostMessageA(focus, WM_KEYUP, VK_TAB, 0xC0000001);
    PumpMessages();
    EXPECT_NE(::GetFocus(), focus);

    delete page;  // destroys the page window, and with it the bar
    EXPECT_TRUE(deleted);
}

TEST_F(FrameworkGui, FontsInPointsFollowTheDeviceResolution) {
    HDC screen = ::CreateCompatibleDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    struct Case {
        const char* face;
        int points;
        bool bold, italic;
        LONG height;
        LONG weight;
    };
    const Case cases[] = {
        {"Arial", 8, false, false, -::MulDiv(8, dpi, 72), 0},
        {"Arial", 24, true, true, -::MulDiv(24, dpi, 72), FW_BOLD},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.points);
        for (HDC dc : {static_cast<HDC>(nullptr), screen}) {
            UniqueFont font = CreateFontInPoints(dc, c.face, c.points, c.bold, c.italic);
            ASSERT_TRUE(font);
            LOGFONTA lf{};
            ASSERT_EQ(::GetObjectA(font.Get(), sizeof lf, &lf), static_cast<int>(sizeof lf));
            EXPECT_STREQ(lf.lfFaceName, c.face);
            EXPECT_EQ(lf.lfHeight, c.height);
            EXPECT_EQ(lf.lfWidth, 0);
            EXPECT_EQ(lf.lfWeight, c.weight);
            EXPECT_EQ(lf.lfItalic != 0, c.italic);
        }
    }
    ::DeleteDC(screen);
}
