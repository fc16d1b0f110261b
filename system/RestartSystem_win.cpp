#include "system/RestartSystem.h"

#include "framework/ModalSeam.h"
#include "resources/ResourceIds.h"

namespace {

std::string LoadModuleString(UINT id) {
    char buffer[512];
    int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

bool RestartSystem(const RestartHooks& hooks) {
    // No shut-down privilege is asked for first: on Windows 95 there is none,
    // and on NT an interactive user holds it already.
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
    hooks.exitWindows = [](UINT flags, DWORD reserved) { return ExitWindowsEx(flags, reserved); };
    hooks.showMessage = [owner, caption](const std::string& text) {
        ShowMessageBox(owner, text, caption, MB_OK);
    };
    hooks.loadString = LoadModuleString;
    return hooks;
}
