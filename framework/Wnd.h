#pragma once
// Window objects: CWnd holds one HWND and the helpers every window needs;
// CFrameWnd is a top-level window of a registered class whose messages reach
// a virtual OnMessage.
//
// An object is bound to its window through the window's own data slot (the
// creation parameter at WM_NCCREATE for frames, the init parameter at
// WM_INITDIALOG for dialogs) and unbound at WM_NCDESTROY, after which
// PostNcDestroy runs. There is no global window map.

#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }

    // Control helpers; `id` is a child control id.
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    void CheckDlgButton(int id, bool checked) { ::CheckDlgButton(m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED); }
    bool IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
    }

    std::string GetWindowText() const;
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    RECT GetWindowRect() const;
    RECT GetClientRect() const;
    bool ShowWindow(int command) { return ::ShowWindow(m_hWnd, command) != FALSE; }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool EnableWindow(bool enable) { return ::EnableWindow(m_hWnd, enable) != FALSE; }
    void MoveWindow(int x, int y, int width, int height, bool repaint = true) {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::PostMessageA(m_hWnd, message, wParam, lParam) != FALSE;
    }
    bool DestroyWindow();

    // Centres the window over `alternateOwner`, else over its owner, else over
    // the work area of the screen; the result stays inside the work area.
    void CenterWindow(HWND alternateOwner = nullptr);

    HWND m_hWnd = nullptr;

protected:
    // Called after the window is gone and the object unbound. Objects that
    // own themselves delete themselves here.
    virtual void PostNcDestroy() {}

    // Common WM_NCDESTROY work: unbinds and, when this was the application's
    // main window, ends the message loop.
    void OnNcDestroyed();
};

class CFrameWnd : public CWnd {
public:
    ~CFrameWnd() override;

    // Registers (or reuses) the window class `className` with the given
    // look, bound to the frame window procedure. False on failure.
    static bool RegisterFrameClass(const char* className, UINT classStyle, HCURSOR cursor, HBRUSH background,
                                   HICON icon);

    // Creates the window of an already registered frame class. False on
    // failure (also when OnMessage refused WM_CREATE with -1); the caller
    // then still owns the object, even when autoDelete is set.
    bool Create(const char* className, const char* title, DWORD style, DWORD exStyle = 0,
                int x = CW_USEDEFAULT, int y = CW_USEDEFAULT, int width = CW_USEDEFAULT,
                int height = CW_USEDEFAULT, HWND parent = nullptr, HMENU menu = nullptr);

    // When set, the object deletes itself after its window is destroyed
    // (for frames created with new and handed to the application).
    bool autoDelete = false;

protected:
    // The message map: a switch over messages that falls back to this base.
    // Base: WM_COMMAND goes to OnCommand; the rest to DefWindowProcA.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // One line per command; true when handled.
    virtual bool OnCommand(int id, int notifyCode, HWND control);

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    }
    void PostNcDestroy() override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
