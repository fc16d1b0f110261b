#include "framework/WinApp.h"

#include <new>

#include "framework/ModalSeam.h"
#include "framework/Wnd.h"

namespace {
CWinApp* currentApp = nullptr;
}  // namespace

CWinApp::CWinApp() {
    currentApp = this;
    m_hInstance = ::GetModuleHandleA(nullptr);
}

CWinApp::~CWinApp() {
    if (currentApp == this) currentApp = nullptr;
}

CWinApp* GetApp() { return currentApp; }

HINSTANCE GetResourceInstance() {
    if (currentApp && currentApp->m_hInstance) return currentApp->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

void CWinApp::SetDialogBkColor(COLORREF background, COLORREF text) {
    dialogBrush_.Reset(::CreateSolidBrush(background));
    dialogBackground_ = background;
    dialogText_ = text;
}

bool CWinApp::PreTranslateMessage(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    // A destroyed dialog must not be handed to IsDialogMessage.
    if (modelessDialog_ && !::IsWindow(modelessDialog_)) modelessDialog_ = nullptr;
    return modelessDialog_ && ::IsDialogMessageA(modelessDialog_, &msg);
}

int CWinApp::Run() {
    MSG msg;
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            exitCode_ = static_cast<int>(msg.wParam);
            return exitCode_;
        }
        if (got == -1) {
            // Only an invalid window filter fails; there is none here, so
            // this cannot repeat for ever. End the loop rather than spin.
            exitCode_ = -1;
            return exitCode_;
        }
        if (PreTranslateMessage(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

LRESULT CWinApp::ProcessWndProcException(const CException&, const MSG*) {
    ShowMessageBox(nullptr, "An unexpected error occurred.", "", MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

int RunApplication(HINSTANCE instance, const char* commandLine, int showCommand) {
    CWinApp* app = GetApp();
    if (!app) return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLine ? commandLine : "";
    app->m_nCmdShow = showCommand;
    bool started = false;
    try {
        started = app->InitInstance();
    } catch (...) {
        ReportCurrentException(nullptr);
    }
    if (started) app->Run();
    try {
        return app->ExitInstance();
    } catch (...) {
        ReportCurrentException(nullptr);
        return -1;
    }
}

bool PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Put it back for the main loop, which must still end.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        CWinApp* app = GetApp();
        if (app && app->PreTranslateMessage(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

LRESULT ReportWndProcException(const CException& e, const MSG* msg) noexcept {
    try {
        if (CWinApp* app = GetApp()) return app->ProcessWndProcException(e, msg);
        ShowMessageBox(nullptr, "An unexpected error occurred.", "", MB_OK | MB_ICONEXCLAMATION);
    } catch (...) {
        // The report itself failed (no memory for the dialog, a throwing
        // answerer). Nothing is left to tell the user with; the message
        // still must not unwind into USER32.
    }
    return 0;
}

LRESULT ReportCurrentException(const MSG* msg) noexcept {
    try {
        throw;
    } catch (const CException& e) {
        return ReportWndProcException(e, msg);
    } catch (const std::bad_alloc&) {
        return ReportWndProcException(CMemoryException(), msg);
    } catch (...) {
        return ReportWndProcException(CException(), msg);
    }
}
