#include "app/WizardPage.h"

#include <new>

#include "app/ButtonBar.h"
#include "app/FailureReport.h"
#include "app/Messages.h"
#include "app/SetupApp.h"
#include "resources/ResourceIds.h"
#include "framework/ModalSeam.h"

namespace {

int TableNext(int pageId) {
    const SetupApp* app = GetSetupApp();
    return InitialNextPage(pageId, app && app->uninstallMode);
}

int TableBar(int pageId) {
    const PageTableRow* row = FindPageTableRow(pageId);
    return row && row->hasButtonBar ? IDD_BUTTONBAR : 0;
}

HWND MainWindow() {
    CWinApp* app = GetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

}  // namespace

PageRegistry& WizardPages() {
    static PageRegistry registry(&CreateWizardPage);
    return registry;
}

WizardPage::WizardPage(int pageId) : WizardPage(pageId, TableNext(pageId), TableBar(pageId)) {}

WizardPage::WizardPage(int pageId, int nextPageId, int barTemplateId)
    : CDialog(static_cast<UINT>(pageId)), PageNode(pageId, nextPageId, barTemplateId) {}

WizardPage::~WizardPage() {
    // Destroy the window while the page is whole, so that the button bar
    // can still clear its link to it.
    if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
}

void WizardPage::CenterPage() { CenterWindow(); }

bool WizardPage::ConfirmCancel() {
    const SetupApp* app = GetSetupApp();
    return ShowMessageBox(m_hWnd, SetupApp::LoadText(IDS_EXIT_QUESTION), app ? app->setupTitle : std::string(),
                          MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool WizardPage::CreatePage() { return Create(MainWindow()); }

void WizardPage::MarkCancelled() {
    nextPageId = IDD_FAILED;
    if (SetupApp* app = GetSetupApp()) app->continueFlag = 0;
}

void WizardPage::GoNext() { ShowPage(nextPageId, false); }

void WizardPage::GoBack() { ShowPage(backPageId, true); }

void WizardPage::OnOK() { GoNext(); }

void WizardPage::OnCancel() {
    if (nextPageId == kEndOfSetup) {
        OnOK();
        return;
    }
    if (!ConfirmCancel()) return;
    MarkCancelled();
    GoNext();
}

bool WizardPage::OnInitDialog() {
    // The bar goes in first, as part of making the window: its layout grows
    // the page by the bar's height before the page is centred.
    if (barTemplateId != 0) {
        auto* bar = new ButtonBar(this, static_cast<UINT>(barTemplateId));
        if (bar->Create(m_hWnd))
            buttonBar = bar;
        else
            delete bar;
    }
    CDialog::OnInitDialog();
    CenterPage();
    const SetupApp* app = GetSetupApp();
    if (app && app->batchMode) MoveWindow(0, 0, 0, 0);
    ShowWindow(SW_SHOW);
    PostMessage(WM_SETUP_RUNSTEP);
    return true;
}

bool WizardPage::OnCommand(int id, int notifyCode, HWND) {
    if (id == IDC_BACK) {
        GoBack();
        return true;
    }
    // The bar's Next is the default button of the whole page: Enter, with
    // the focus anywhere on the page or on the bar, arrives here as its
    // command rather than at the bar. It counts as Next only while the
    // bar's Next can be pressed.
    if (id == IDC_NEXT && notifyCode == BN_CLICKED && buttonBar) {
        HWND next = buttonBar->GetDlgItem(IDC_NEXT);
        if (next && ::IsWindowEnabled(next)) OnOK();
        return true;
    }
    return false;
}

INT_PTR WizardPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETUP_RUNSTEP) {
        OnRunStep();
        return TRUE;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}

void WizardPage::OnRunStep() {
    int result = IDD_FAILED;
    bool failed = false;
    try {
        result = RunStep();
    } catch (const CException& e) {
        ReportSetupFailure(e);
        failed = true;
    } catch (const std::bad_alloc&) {
        ReportSetupFailure(CMemoryException());
        failed = true;
    } catch (...) {
        ReportSetupFailure(CException());
        failed = true;
    }
    if (failed) {
        MarkCancelled();
        result = IDD_FAILED;
    }
    if (result != 0) {
        ShowPage(result, false);
        return;
    }
    const SetupApp* app = GetSetupApp();
    if (app && app->batchMode) OnOK();
}

void ShowPage(int pageId, bool goingBack) {
    if (pageId == kEndOfSetup) {
        if (HWND main = MainWindow()) ::DestroyWindow(main);
        return;
    }
    PageRegistry& pages = WizardPages();
    const PageRegistry::Transition t = pages.Walk(pageId, goingBack);
    auto* target = dynamic_cast<WizardPage*>(t.target);
    if (!target) return;  // nowhere to go: the current page stays

    if (!target->m_hWnd) {
        if (!target->CreatePage()) throw CResourceException();
        target->UpdateWindow();
    } else {
        target->ShowWindow(SW_SHOWNORMAL);
    }
    // The page may have moved on by itself while it was being made.
    if (CWinApp* app = GetApp(); app && pages.Current() == target) app->SetModelessDialog(target->m_hWnd);

    PageRegistry::MarkLeft(t);
    auto* previous = dynamic_cast<WizardPage*>(t.previous);
    if (previous && previous != target && previous->m_hWnd) previous->ShowWindow(SW_HIDE);
}
