#pragma once
// The application object, its message loop and the pump for long steps.
//
// One object of a CWinApp subclass is the program's application; its
// constructor makes it the current application (GetApp()). The entry point
// hands control to RunApplication, which runs InitInstance, the message loop
// and ExitInstance.

#include <windows.h>

#include <string>

#include "framework/Exception.h"
#include "framework/Handle.h"

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Start-up. False ends the program at once (ExitInstance still runs).
    virtual bool InitInstance() { return true; }
    // Shut-down; the result is the process exit code (the quit message's code).
    virtual int ExitInstance() { return exitCode_; }
    // The message loop; returns when WM_QUIT arrives, with its exit code.
    virtual int Run();
    // Keyboard handling before dispatch: gives the current modeless dialog
    // its Tab, Enter and Escape. True when the message was consumed.
    virtual bool PreTranslateMessage(MSG& msg);
    // Receives every exception that escapes a window or dialog procedure.
    // `msg` is the message being handled (may be null). The result is
    // returned to Windows for that message. Base: a plain message box.
    virtual LRESULT ProcessWndProcException(const CException& e, const MSG* msg);

    // Light grey dialogs with black text are the program's look; this makes
    // every CDialog paint its background and statics in these colours.
    void SetDialogBkColor(COLORREF background = RGB(192, 192, 192), COLORREF text = RGB(0, 0, 0));
    // Brush of the dialog background colour, or null when none was set.
    HBRUSH DialogBackgroundBrush() const { return dialogBrush_.Get(); }
    COLORREF DialogBackgroundColor() const { return dialogBackground_; }
    COLORREF DialogTextColor() const { return dialogText_; }

    // The modeless dialog whose keyboard messages go through IsDialogMessage.
    // A modeless top-level CDialog registers itself when it is activated and
    // unregisters when its window is destroyed.
    void SetModelessDialog(HWND dialog) { modelessDialog_ = dialog; }
    HWND ModelessDialog() const { return modelessDialog_; }

    int ExitCode() const { return exitCode_; }

    HINSTANCE m_hInstance = nullptr;   // the module whose resources are used
    std::string m_lpCmdLine;           // argument text, without the program name
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;        // destroying its window ends the loop

protected:
    int exitCode_ = 0;

private:
    friend bool PumpMessages();
    friend int RunApplication(HINSTANCE, const char*, int);

    UniqueBrush dialogBrush_;
    COLORREF dialogBackground_ = RGB(192, 192, 192);
    COLORREF dialogText_ = RGB(0, 0, 0);
    HWND modelessDialog_ = nullptr;
};

// The current application object, or null when none exists.
CWinApp* GetApp();

// Module that holds the program's resources: the application's instance, or
// the executable's when there is no application.
HINSTANCE GetResourceInstance();

// The entry sequence: InitInstance, then (when it succeeded) the loop, then
// ExitInstance. Returns the exit code. Requires a current application.
int RunApplication(HINSTANCE instance, const char* commandLine, int showCommand);

// Dispatches every queued message of this thread (after keyboard handling).
// A WM_QUIT met on the way is posted again so that the main loop still ends;
// the pump then returns false at once. True when the queue was emptied.
bool PumpMessages();

// Hands an exception that escaped a window procedure to the application (or,
// without one, to a plain message box). Never throws.
LRESULT ReportWndProcException(const CException& e, const MSG* msg) noexcept;

// Reports the exception being handled (call only inside a catch block):
// std::bad_alloc as a memory exception, anything else unknown as a plain
// CException. Never throws.
LRESULT ReportCurrentException(const MSG* msg) noexcept;

// Runs `handler` as the body of a Win32 callback: every exception is caught
// here and handed to ReportWndProcException, so that nothing unwinds into
// USER32 (which would end the process). Returns the handler's result, or the
// report's result after a failure.
template <class Handler>
LRESULT CallGuarded(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Handler&& handler) noexcept {
    try {
        return handler();
    } catch (...) {
        MSG msg{};
        msg.hwnd = hwnd;
        msg.message = message;
        msg.wParam = wParam;
        msg.lParam = lParam;
        return ReportCurrentException(&msg);
    }
}
