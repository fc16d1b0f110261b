#pragma once
// The backdrop: a maximised window filled with dark blue, with the setup
// title as a white italic banner with a black shadow at its top left. It is
// the application's main window; destroying it ends the program.

#include <windows.h>

#include <string>

#include "framework/Wnd.h"

class CMainWnd : public CFrameWnd {
public:
    static constexpr const char* kClassName = "TessalySetupBackdrop";
    static constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;  // 0x0B
    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    static constexpr COLORREF kBackground = RGB(0, 0, 128);

    CMainWnd() { autoDelete = true; }

    // Registers the class and creates the window, maximised (minimised in
    // batch mode). False when the window cannot be created.
    bool Create();

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void OnClose();
};

// The banner's place and the shadow's offset from it, from the system metrics.
POINT BannerPosition();
POINT ShadowOffset();
