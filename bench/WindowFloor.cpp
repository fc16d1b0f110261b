// The memory floor of a Win32 window program under Wine: registers a class,
// shows one top-level window with a static text and a button, paints it,
// pumps its messages and leaves. The install benchmark samples this process
// like Setup, so Setup's peak can be read against what any windowed program
// costs here. Windows program; built by bench/install-bench.sh.

#define NOMINMAX
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "WindowFloor";
    if (!RegisterClassA(&wc)) return 1;
    HWND window = CreateWindowA("WindowFloor", "Window floor", WS_OVERLAPPEDWINDOW, 100, 100, 443, 262, nullptr,
                                nullptr, instance, nullptr);
    if (!window) return 1;
    CreateWindowA("STATIC", "Source File:", WS_CHILD | WS_VISIBLE, 10, 10, 200, 16, window, nullptr, instance, nullptr);
    CreateWindowA("BUTTON", "Cancel", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 170, 200, 90, 24, window, nullptr,
                  instance, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    // Let the window system settle (activation, paints), then close.
    MSG msg;
    for (int i = 0; i < 50; ++i)
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    DestroyWindow(window);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
