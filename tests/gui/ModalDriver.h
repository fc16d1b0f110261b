#pragma once
// Drives a modal window of this process from a second thread: the window
// runs its own message loop on the test's thread, so the script that looks
// at it and presses its buttons must run beside it.

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

#include "tools/guidriver/GuiDriver.h"

namespace modal_driver {

// Runs `show` (which puts up the window titled `title` modally on this
// thread) while `script` acts on it from a second thread, once the window
// has control `requiredControl`. Whatever the script leaves open is
// closed, so that a failing test cannot hang. `seen` tells whether the
// window came at all.
inline void DriveModal(const std::string& title, int requiredControl, const std::function<void(HWND)>& script,
                       const std::function<void()>& show, bool* seen = nullptr) {
    const DWORD uiThread = ::GetCurrentThreadId();
    bool found = false;
    std::thread driver([&] {
        HWND w = guidriver::WaitForWindow(title, 10000, requiredControl, "#32770", uiThread);
        if (!w) return;
        found = true;
        script(w);
        if (!guidriver::WaitUntilGone(w, 2000)) {
            guidriver::Close(w);
            guidriver::WaitUntilGone(w, 5000);
        }
    });
    show();
    driver.join();
    if (seen) *seen = found;
}

}  // namespace modal_driver
