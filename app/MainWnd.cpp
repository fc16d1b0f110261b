#include "app/MainWnd.h"

#include "app/SetupApp.h"
#include "resources/ResourceIds.h"
#include "framework/Font.h"
#include "framework/Handle.h"
#include "framework/ModalSeam.h"

POINT BannerPosition() { return POINT{::GetSystemMetrics(SM_CXHTHUMB), ::GetSystemMetrics(SM_CYVTHUMB)}; }

POINT ShadowOffset() { return POINT{2 * ::GetSystemMetrics(SM_CXDLGFRAME), 2 * ::GetSystemMetrics(SM_CYDLGFRAME)}; }

bool CMainWnd::Create() {
    HINSTANCE instance = GetResourceInstance();
    if (!RegisterFrameClass(kClassName, kClassStyle, ::LoadCursorA(nullptr, IDC_ARROW), nullptr,
                            ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROGRAM))))
        return false;
    SetupApp* app = GetSetupApp();
    const std::string title = app ? app->setupTitle : std::string();
    if (!CFrameWnd::Create(kClassName, title.c_str(), kStyle, 0)) return false;
    ShowWindow(app && app->batchMode ? SW_SHOWMINIMIZED : SW_SHOWMAXIMIZED);
    return true;
}

LRESULT CMainWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    default:
        return CFrameWnd::OnMessage(message, wParam, lParam);
    }
}

void CMainWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    // EndPaint must run whatever happens while drawing.
    struct PaintEnd {
        HWND hwnd;
        PAINTSTRUCT* ps;
        ~PaintEnd() { ::EndPaint(hwnd, ps); }
    } end{m_hWnd, &ps};

    const RECT client = GetClientRect();
    UniqueBrush background(::CreateSolidBrush(kBackground));
    ::FillRect(dc, &client, background.Get());

    SetupApp* app = GetSetupApp();
    const std::string title = app ? app->setupTitle : std::string();
    UniqueFont font = CreateFontInPoints(dc, "Arial", 24, true, true);
    HGDIOBJ oldFont = font ? ::SelectObject(dc, font.Get()) : nullptr;
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(dc, RGB(0, 0, 0));

    const POINT at = BannerPosition();
    const POINT shadow = ShadowOffset();
    const int length = static_cast<int>(title.size());
    ::TextOutA(dc, at.x + shadow.x, at.y + shadow.y, title.c_str(), length);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::TextOutA(dc, at.x, at.y, title.c_str(), length);

    ::SetBkMode(dc, oldMode);
    if (oldFont) ::SelectObject(dc, oldFont);
    ::SetTextColor(dc, oldColor);
}

void CMainWnd::OnClose() {
    SetupApp* app = GetSetupApp();
    const std::string caption = app ? app->setupTitle : std::string();
    // Closing only abandons the install: the wizard stays, and the next work
    // step that looks at the flag ends the run on the failure page.
    if (ShowMessageBox(m_hWnd, SetupApp::LoadText(IDS_EXIT_QUESTION), caption, MB_YESNO | MB_ICONQUESTION) ==
            IDYES &&
        app)
        app->continueFlag = 0;
}
