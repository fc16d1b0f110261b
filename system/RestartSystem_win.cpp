#include "system/RestartSystem.h"

#include "framework/ModalSeam.h"
#include "resources/ResourceIds.h"

namespace {

std::string LoadModuleString(UINT id) {
    char buffer[512];
    int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

bool RunningOnNT() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    return ::GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

bool EnableShutdownPrivilege() {
    using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
    using LookupPrivilegeValueFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID);
    using AdjustTokenPrivilegesFn = BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
    HMODULE advapi = ::GetModuleHandleA("ADVAPI32.DLL");
    if (!advapi) return false;
    const auto openToken =
        reinterpret_cast<OpenProcessTokenFn>(reinterpret_cast<void*>(::GetProcAddress(advapi, "OpenProcessToken")));
    const auto lookup = reinterpret_cast<LookupPrivilegeValueFn>(
        reinterpret_cast<void*>(::GetProcAddress(advapi, "LookupPrivilegeValueA")));
    const auto adjust = reinterpret_cast<AdjustTokenPrivilegesFn>(
        reinterpret_cast<void*>(::GetProcAddress(advapi, "AdjustTokenPrivileges")));
    if (!openToken || !lookup || !adjust) return false;
    HANDLE token = nullptr;
    if (!openToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled = lookup(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) != FALSE;
    if (enabled) {
        // AdjustTokenPrivileges succeeds even when the token does not hold
        // the privilege; only the last error tells.
        ::SetLastError(ERROR_SUCCESS);
        enabled = adjust(token, FALSE, &privileges, 0, nullptr, nullptr) && ::GetLastError() != ERROR_NOT_ALL_ASSIGNED;
    }
    ::CloseHandle(token);
    return enabled;
}

bool RestartSystem(const RestartHooks& hooks) {
    // On NT, ExitWindowsEx fails unless the process has enabled the
    // shut-down privilege, even for a user who holds it. Windows 95 has no
    // such step. A privilege that cannot be enabled is not reported apart:
    // the refused restart then says string 23.
    if (hooks.runningOnNT && hooks.runningOnNT() && hooks.enableShutdownPrivilege)
        hooks.enableShutdownPrivilege();
    if (hooks.exitWindows && hooks.exitWindows(EWX_REBOOT, 0)) {
        return true;
    }
    if (hooks.showMessage) {
        hooks.showMessage(hooks.loadString ? hooks.loadString(IDS_RESTART_FAILED) : std::string());
    }
    return false;
}

RestartHooks ProductionRestartHooks(HWND owner, const std::string& caption) {
    RestartHooks hooks;
    hooks.runningOnNT = RunningOnNT;
    hooks.enableShutdownPrivilege = EnableShutdownPrivilege;
    hooks.exitWindows = [](UINT flags, DWORD reserved) { return ExitWindowsEx(flags, reserved); };
    hooks.showMessage = [owner, caption](const std::string& text) {
        ShowMessageBox(owner, text, caption, MB_OK);
    };
    hooks.loadString = LoadModuleString;
    return hooks;
}
