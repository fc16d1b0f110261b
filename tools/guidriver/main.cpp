// tvsdriver: drives Setup's windows for end-to-end scripts.
//
//   tvsdriver list
//   tvsdriver wait    <title> <timeout-ms> [control-id]
//   tvsdriver gone    <title> <timeout-ms>
//   tvsdriver text    <title> <control-id>          prints the control's text
//   tvsdriver title   <title>                       prints the window's title (to test for presence)
//   tvsdriver click   <title> <control-id | caption>
//   tvsdriver answer  <title> <button-id | caption> [timeout-ms]   (message boxes)
//   tvsdriver key     <title> enter|escape|tab|space
//   tvsdriver focus   <title> [control-id]          brings the window to the front (and the focus to
//                                                   the control); prints the id of the focused control
//   tvsdriver close   <title>
//   tvsdriver enabled <title> <control-id>          exit 0 when enabled, 1 when not
//   tvsdriver visible <title> <control-id>          exit 0 when visible, 1 when not
//   tvsdriver size    <title>                       prints the client size in pixels
//   tvsdriver paint   <title>                       repaints the window and its controls now (before a screenshot)
//
// Commands that name a window wait for it up to 5000 ms (TVSDRIVER_TIMEOUT
// overrides). Exit code 0 on success, 1 for a "no" answer, 2 on failure with
// a message on stderr.

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/guidriver/GuiDriver.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "tvsdriver: %s\n", message.c_str());
    return 2;
}

DWORD DefaultTimeout() {
    const char* t = std::getenv("TVSDRIVER_TIMEOUT");
    return t ? static_cast<DWORD>(std::strtoul(t, nullptr, 10)) : 5000;
}

bool ParseInt(const char* text, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return *text && end && *end == '\0';
}

int Run(int argc, char** argv) {
    if (argc < 2)
        return Fail("no command (list, wait, gone, text, title, click, answer, key, focus, close, enabled, visible, size, paint)");
    const std::string command = argv[1];
    using namespace guidriver;

    if (command == "list") {
        for (const WindowInfo& w : ListTopWindows()) {
            if (!w.visible) continue;
            std::printf("%p pid=%lu class=\"%s\" title=\"%s\" owner=%p%s\n", static_cast<void*>(w.hwnd),
                        static_cast<unsigned long>(w.processId), w.className.c_str(), w.title.c_str(),
                        static_cast<void*>(w.owner), w.enabled ? "" : " disabled");
        }
        return 0;
    }
    if (argc < 3) return Fail(command + ": window title missing");
    const std::string title = argv[2];

    if (command == "answer") {
        if (argc < 4) return Fail("answer: button missing");
        const DWORD timeout = argc > 4 ? static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10)) : DefaultTimeout();
        return AnswerMessageBox(title, argv[3], timeout) ? 0 : Fail("no message box \"" + title + "\" with button " + argv[3]);
    }
    if (command == "gone") {
        if (argc < 4) return Fail("gone: timeout missing");
        HWND w = WaitForWindow(title, 0);
        if (!w) return 0;
        return WaitUntilGone(w, static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10))) ? 0 : Fail("\"" + title + "\" is still there");
    }

    DWORD timeout = DefaultTimeout();
    int required = 0;
    if (command == "wait") {
        if (argc < 4) return Fail("wait: timeout missing");
        timeout = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10));
        long id = 0;
        if (argc > 4 && ParseInt(argv[4], id)) required = static_cast<int>(id);
    } else if ((command == "text" || command == "enabled" || command == "visible" || command == "focus") && argc > 3) {
        long id = 0;
        if (!ParseInt(argv[3], id)) return Fail(command + ": control id expected, got " + argv[3]);
        required = static_cast<int>(id);
    }
    HWND window = WaitForWindow(title, timeout, required);
    if (!window) return Fail("no visible window \"" + title + "\" within " + std::to_string(timeout) + " ms");

    if (command == "wait") return 0;
    if (command == "title") {
        std::printf("%s\n", WindowText(window).c_str());
        return 0;
    }
    if (command == "close") {
        Close(window);
        return 0;
    }
    if (command == "paint") {
        // RDW_UPDATENOW sends the paint messages and returns when they are
        // handled, so a screenshot taken next shows the current state.
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return 0;
    }
    if (command == "size") {
        // Dialog units cannot be measured from another process (MapDialogRect
        // needs the dialog's own data), so pixels it is.
        RECT r{};
        ::GetClientRect(window, &r);
        std::printf("%ld %ld\n", static_cast<long>(r.right), static_cast<long>(r.bottom));
        return 0;
    }
    if (command == "focus") {
        long id = 0;
        if (argc > 3 && !ParseInt(argv[3], id)) return Fail("focus: control id expected, got " + std::string(argv[3]));
        const int focused = Focus(window, static_cast<int>(id), timeout);
        if (focused < 0) return Fail("focus: \"" + title + "\" did not come to the front");
        std::printf("%d\n", focused);
        return 0;
    }
    if (command == "key") {
        if (argc < 4) return Fail("key: key name missing");
        const std::string key = argv[3];
        const UINT vk = key == "enter" ? VK_RETURN : key == "escape" ? VK_ESCAPE : key == "tab" ? VK_TAB : key == "space" ? VK_SPACE : 0;
        if (!vk) return Fail("key: unknown key " + key);
        return PressKey(window, vk) ? 0 : Fail("key: could not post to \"" + title + "\"");
    }
    if (argc < 4) return Fail(command + ": control missing");
    long id = 0;
    const bool numeric = ParseInt(argv[3], id);
    if (command == "text") {
        std::printf("%s\n", ControlText(window, static_cast<int>(id)).c_str());
        return 0;
    }
    if (command == "enabled") return IsControlEnabled(window, static_cast<int>(id)) ? 0 : 1;
    if (command == "visible") return IsControlVisible(window, static_cast<int>(id)) ? 0 : 1;
    if (command == "click") {
        const bool clicked = numeric ? Click(window, static_cast<int>(id)) : ClickByText(window, argv[3]);
        return clicked ? 0 : Fail(std::string("click: no control ") + argv[3] + " in \"" + title + "\"");
    }
    return Fail("unknown command " + command);
}

}  // namespace

int main(int argc, char** argv) {
    // Plain "\n" line ends: the output is read by Unix shell scripts.
    _setmode(_fileno(stdout), _O_BINARY);
    try {
        return Run(argc, argv);
    } catch (...) {
        return Fail("unexpected failure");
    }
}
