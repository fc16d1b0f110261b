#include "framework/Wnd.h"

#include <algorithm>
#include <vector>

#include "framework/Exception.h"
#include "framework/WinApp.h"

CWnd::~CWnd() {
    // Subclass destructors have unbound and destroyed the window by now; the
    // application must not keep a pointer to a dead object either.
    CWinApp* app = GetApp();
    if (app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
}

std::string CWnd::GetDlgItemText(int id) const {
    HWND control = ::GetDlgItem(m_hWnd, id);
    if (!control) return {};
    const int length = ::GetWindowTextLengthA(control);
    std::vector<char> buffer(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    ::GetWindowTextA(control, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

void CWnd::SetDlgItemText(int id, const std::string& text) { ::SetDlgItemTextA(m_hWnd, id, text.c_str()); }

std::string CWnd::GetWindowText() const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> buffer(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    ::GetWindowTextA(m_hWnd, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

RECT CWnd::GetWindowRect() const {
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    return r;
}

RECT CWnd::GetClientRect() const {
    RECT r{};
    ::GetClientRect(m_hWnd, &r);
    return r;
}

bool CWnd::DestroyWindow() {
    if (!m_hWnd) return false;
    return ::DestroyWindow(m_hWnd) != FALSE;
}

void CWnd::CenterWindow(HWND alternateOwner) {
    HWND owner = alternateOwner ? alternateOwner : ::GetWindow(m_hWnd, GW_OWNER);
    if (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) owner = ::GetParent(m_hWnd);

    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT area = work;
    // A hidden or minimised owner gives no useful place to centre on.
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &area);

    const RECT self = GetWindowRect();
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    int x = (area.left + area.right) / 2 - width / 2;
    int y = (area.top + area.bottom) / 2 - height / 2;
    x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
    y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));

    if (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) {
        POINT p{x, y};
        ::ScreenToClient(::GetParent(m_hWnd), &p);
        x = p.x;
        y = p.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::OnNcDestroyed() {
    HWND was = m_hWnd;
    m_hWnd = nullptr;
    CWinApp* app = GetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    if (app && app->ModelessDialog() == was) app->SetModelessDialog(nullptr);
}

CFrameWnd::~CFrameWnd() {
    // An object that dies before its window: unbind first, so that the
    // messages of the destruction reach DefWindowProcA and not a half-
    // destroyed object.
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        HWND hwnd = m_hWnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        m_hWnd = nullptr;
        ::DestroyWindow(hwnd);
    }
}

bool CFrameWnd::RegisterFrameClass(const char* className, UINT classStyle, HCURSOR cursor, HBRUSH background,
                                   HICON icon) {
    HINSTANCE instance = GetResourceInstance();
    WNDCLASSA existing{};
    if (::GetClassInfoA(instance, className, &existing)) return existing.lpfnWndProc == &CFrameWnd::WindowProc;
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = &CFrameWnd::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return ::RegisterClassA(&wc) != 0;
}

bool CFrameWnd::Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y,
                       int width, int height, HWND parent, HMENU menu) {
    // A creation that fails after WM_NCCREATE (a failed WM_CREATE, or no
    // display to put the window on) still sends WM_NCDESTROY. An auto-
    // deleting window would delete itself there, although the caller still
    // owns the object when Create returns false and deletes it again.
    const bool deleteWhenDestroyed = autoDelete;
    autoDelete = false;
    HWND hwnd = ::CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                                  GetResourceInstance(), this);
    autoDelete = deleteWhenDestroyed;
    return hwnd != nullptr;
}

LRESULT CFrameWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND &&
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
        return 0;
    return Default(message, wParam, lParam);
}

bool CFrameWnd::OnCommand(int, int, HWND) { return false; }

void CFrameWnd::PostNcDestroy() {
    if (autoDelete) delete this;
}

LRESULT CALLBACK CFrameWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CFrameWnd*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        self = static_cast<CFrameWnd*>(create->lpCreateParams);
        if (self) {
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->m_hWnd = hwnd;
        }
    }
    if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);

    bool failed = true;
    LRESULT result = CallGuarded(hwnd, message, wParam, lParam, [&] {
        const LRESULT r = self->OnMessage(message, wParam, lParam);
        failed = false;
        return r;
    });
    // A window whose creation handler failed must not come into being half made.
    if (failed && message == WM_CREATE) result = -1;
    if (failed && message == WM_NCCREATE) result = FALSE;

    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->OnNcDestroyed();
        CallGuarded(hwnd, message, wParam, lParam, [&] {
            self->PostNcDestroy();
            return LRESULT{0};
        });
    }
    return result;
}
