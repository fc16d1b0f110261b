#pragma once
// Drives the program's windows from outside: from a second process
// (tvsdriver.exe) or from a second thread of a test. Every lookup waits for
// its window with a timeout; nothing relies on a fixed delay.

#include <windows.h>

#include <string>
#include <vector>

namespace guidriver {

struct WindowInfo {
    HWND hwnd;
    std::string className;
    std::string title;
    DWORD processId;
    DWORD threadId;
    HWND owner;
    bool visible;
    bool enabled;
};

// Every top-level window of the desktop (threadId != 0: of that thread only).
std::vector<WindowInfo> ListTopWindows(DWORD threadId = 0);

// Waits up to `timeoutMs` for a visible top-level window titled `title`
// (of class `className` when given, of thread `threadId` when not 0) whose
// control `requiredControl` (when not 0) exists. Null on timeout.
HWND WaitForWindow(const std::string& title, DWORD timeoutMs, int requiredControl = 0,
                   const char* className = nullptr, DWORD threadId = 0);

// Waits until `window` is destroyed; false on timeout.
bool WaitUntilGone(HWND window, DWORD timeoutMs);

// Text of control `id` of `window` ("" when it has none).
std::string ControlText(HWND window, int id);
std::string WindowText(HWND window);

bool ControlExists(HWND window, int id);
bool IsControlEnabled(HWND window, int id);
bool IsControlVisible(HWND window, int id);

// Clicks button `id` with BM_CLICK, which returns after the program handled
// the click. False when there is no such control.
bool Click(HWND window, int id);
// Clicks the first child button whose caption, without '&', is `text`.
bool ClickByText(HWND window, const std::string& text);

// Finds the message box (class "#32770") titled `title` and clicks the
// button given by id ("6") or by caption ("&Yes" or "Yes"). False when the
// box or the button does not appear within `timeoutMs`.
bool AnswerMessageBox(const std::string& title, const std::string& button, DWORD timeoutMs);

// Posts a key press (down and up) to the control that has the keyboard
// focus in `window`'s thread, so that the program's IsDialogMessage sees it.
// Makes `window` the foreground window, so that keys from the real
// keyboard (xdotool under Xvfb) reach it, and, when `controlId` is not 0,
// moves the keyboard focus to that control (found among all descendants,
// so a button of a child dialog counts). Returns the id of the control that
// has the focus afterwards, or -1 when the window did not come to the front.
int Focus(HWND window, int controlId, DWORD timeoutMs);
bool PressKey(HWND window, UINT virtualKey);

// Asks the window to close (WM_CLOSE), as its close box would.
void Close(HWND window);

// Client size of `window` in dialog units of its own font (rounded). Only
// from the dialog's own process: MapDialogRect does not work across processes.
SIZE ClientSizeInDialogUnits(HWND dialog);

}  // namespace guidriver
