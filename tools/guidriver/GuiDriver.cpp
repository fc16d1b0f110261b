#include "tools/guidriver/GuiDriver.h"

#include <algorithm>
#include <cstdlib>

namespace guidriver {

namespace {

constexpr DWORD kPollMs = 20;

std::string StripAmpersands(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
    return s;
}

std::string ClassName(HWND hwnd) {
    char name[256] = "";
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) noexcept try {
    auto* list = reinterpret_cast<std::vector<WindowInfo>*>(param);
    WindowInfo info{};
    info.hwnd = hwnd;
    info.className = ClassName(hwnd);
    info.title = WindowText(hwnd);
    info.threadId = ::GetWindowThreadProcessId(hwnd, &info.processId);
    info.owner = ::GetWindow(hwnd, GW_OWNER);
    info.visible = ::IsWindowVisible(hwnd) != FALSE;
    info.enabled = ::IsWindowEnabled(hwnd) != FALSE;
    list->push_back(info);
    return TRUE;
} catch (...) {
    return FALSE;  // out of memory: stop listing rather than unwind into USER32
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchControlId(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ControlSearch*>(param);
    if (::GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}

// A control by id: a direct child first, else any descendant, so that the
// buttons of a page's button bar (a child dialog) are found from the page.
HWND FindControl(HWND window, int id) {
    if (HWND direct = ::GetDlgItem(window, id)) return direct;
    ControlSearch search{id, nullptr};
    ::EnumChildWindows(window, &MatchControlId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindOnce(const std::string& title, int requiredControl, const char* className, DWORD threadId) {
    for (const WindowInfo& w : ListTopWindows(threadId)) {
        if (!w.visible || w.title != title) continue;
        if (className && w.className != className) continue;
        if (requiredControl && !FindControl(w.hwnd, requiredControl)) continue;
        return w.hwnd;
    }
    return nullptr;
}

HWND FindButtonByText(HWND window, const std::string& text) {
    const std::string wanted = StripAmpersands(text);
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (_stricmp(ClassName(child).c_str(), "Button") != 0) continue;
        if (StripAmpersands(WindowText(child)) == wanted) return child;
    }
    return nullptr;
}

}  // namespace

std::vector<WindowInfo> ListTopWindows(DWORD threadId) {
    std::vector<WindowInfo> list;
    if (threadId)
        ::EnumThreadWindows(threadId, &CollectWindow, reinterpret_cast<LPARAM>(&list));
    else
        ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&list));
    return list;
}

HWND WaitForWindow(const std::string& title, DWORD timeoutMs, int requiredControl, const char* className,
                   DWORD threadId) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (HWND w = FindOnce(title, requiredControl, className, threadId)) return w;
        if (::GetTickCount() - start >= timeoutMs) return nullptr;
        ::Sleep(kPollMs);
    }
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (::IsWindow(window)) {
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::Sleep(kPollMs);
    }
    return true;
}

std::string WindowText(HWND window) {
    // WM_GETTEXT rather than GetWindowText: the latter does not read the
    // text of controls in another process.
    char buffer[4096] = "";
    ::SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::string ControlText(HWND window, int id) {
    HWND control = FindControl(window, id);
    return control ? WindowText(control) : std::string();
}

bool ControlExists(HWND window, int id) { return FindControl(window, id) != nullptr; }

bool IsControlEnabled(HWND window, int id) {
    HWND control = FindControl(window, id);
    return control && ::IsWindowEnabled(control);
}

bool IsControlVisible(HWND window, int id) {
    HWND control = FindControl(window, id);
    return control && ::IsWindowVisible(control);
}

bool Click(HWND window, int id) {
    HWND control = FindControl(window, id);
    if (!control) return false;
    ::SendMessageA(control, BM_CLICK, 0, 0);
    return true;
}

bool ClickByText(HWND window, const std::string& text) {
    HWND button = FindButtonByText(window, text);
    if (!button) return false;
    ::SendMessageA(button, BM_CLICK, 0, 0);
    return true;
}

bool AnswerMessageBox(const std::string& title, const std::string& button, DWORD timeoutMs) {
    HWND box = WaitForWindow(title, timeoutMs, 0, "#32770");
    if (!box) return false;
    char* end = nullptr;
    const long id = std::strtol(button.c_str(), &end, 10);
    if (!button.empty() && end && *end == '\0') return Click(box, static_cast<int>(id));
    return ClickByText(box, button);
}

namespace {

int FocusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus) return 0;
    return ::GetDlgCtrlID(info.hwndFocus);
}

}  // namespace

int Focus(HWND window, int controlId, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    ::SetForegroundWindow(window);
    while (::GetForegroundWindow() != window) {
        if (::GetTickCount() - start > timeoutMs) return -1;
        ::Sleep(20);
        ::SetForegroundWindow(window);
    }
    if (controlId != 0) {
        HWND control = FindControl(window, controlId);
        if (!control) return -1;
        // The dialog moves its own focus, as Tab would; another process
        // cannot set it directly.
        ::SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        while (FocusedControl(window) != controlId && ::GetTickCount() - start <= timeoutMs) ::Sleep(20);
    }
    return FocusedControl(window);
}

bool PressKey(HWND window, UINT virtualKey) {
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND target = window;
    if (::GetGUIThreadInfo(thread, &info) && info.hwndFocus) target = info.hwndFocus;
    const UINT scan = ::MapVirtualKeyA(virtualKey, 0);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    const LPARAM up = down | (1L << 30) | (1L << 31);
    return ::PostMessageA(target, WM_KEYDOWN, virtualKey, down) && ::PostMessageA(target, WM_KEYUP, virtualKey, up);
}

void Close(HWND window) { ::PostMessageA(window, WM_CLOSE, 0, 0); }

SIZE ClientSizeInDialogUnits(HWND dialog) {
    // MapDialogRect of a known rectangle gives the dialog's own base units.
    RECT unit{0, 0, 400, 800};
    ::MapDialogRect(dialog, &unit);
    RECT client{};
    ::GetClientRect(dialog, &client);
    SIZE s;
    s.cx = unit.right ? static_cast<LONG>((client.right * 400L + unit.right / 2) / unit.right) : 0;
    s.cy = unit.bottom ? static_cast<LONG>((client.bottom * 800L + unit.bottom / 2) / unit.bottom) : 0;
    return s;
}

}  // namespace guidriver
