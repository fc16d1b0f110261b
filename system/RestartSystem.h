#pragma once
// The restart page's "Restart" command. Windows only.
//
// Under test nothing may reach the real ExitWindowsEx (under Wine it ends
// every process of the prefix), so the shut-down call and the message box
// are both hooks: tests call RestartSystem(hooks) with fakes; only the
// production overload binds the real calls.

#include <windows.h>

#include <functional>
#include <string>

struct RestartHooks {
    // True on Windows NT, where a process must enable the shut-down
    // privilege before ExitWindowsEx; false (or empty) on Windows 95.
    std::function<bool()> runningOnNT;
    // Enables SE_SHUTDOWN_NAME in the process's token; false when it could
    // not. EnableShutdownPrivilege in production.
    std::function<bool()> enableShutdownPrivilege;
    // Asks the system to restart: ExitWindowsEx(EWX_REBOOT, 0) in production.
    std::function<BOOL(UINT flags, DWORD reserved)> exitWindows;
    // Shows a text with an OK button only.
    std::function<void(const std::string& text)> showMessage;
    // Loads a string-table entry (string 23); "" when missing.
    std::function<std::string(UINT id)> loadString;
};

// Asks for the restart; on NT the shut-down privilege is enabled first.
// When the system refuses, shows string 23 and returns false (the page
// stays). True when the restart was accepted.
bool RestartSystem(const RestartHooks& hooks);

// Enables the shut-down privilege of this process (OpenProcessToken,
// LookupPrivilegeValueA, AdjustTokenPrivileges). The three are found in
// ADVAPI32 at run time, so that Windows 95, which has no tokens, loads
// Setup all the same. False when any of them is missing or fails.
bool EnableShutdownPrivilege();

// The production hooks: the platform test, the privilege, the real
// ExitWindowsEx, an OK message box owned by
// `owner` with the caption given, and the module's string table. A page
// keeps these and a test replaces exitWindows (and showMessage) in them.
RestartHooks ProductionRestartHooks(HWND owner, const std::string& caption);
