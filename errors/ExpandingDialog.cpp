#include "errors/ExpandingDialog.h"

#include "errors/ErrorReport.h"
#include "resources/ResourceIds.h"

namespace {

LayoutRect ToLayout(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

bool ExpandingDialog::OnInitDialog() {
    const bool result = CDialog::OnInitDialog();
    fullRect = GetWindowRect();
    expanded = true;
    Toggle(false);
    return result;
}

bool ExpandingDialog::OnCommand(int id, int notifyCode, HWND control) {
    if (id == IDC_MORE && notifyCode == BN_CLICKED) {
        Toggle(true);
        return true;
    }
    return CDialog::OnCommand(id, notifyCode, control);
}

void ExpandingDialog::Toggle(bool fromButton) {
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (expanded) {
        HWND marker = GetDlgItem(IDC_COLLAPSED_SIZE);
        RECT m{};
        if (marker) {
            ::GetWindowRect(marker, &m);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&m), 2);
        } else {
            // A template without the marker cannot collapse: keep the full size.
            m = GetClientRect();
        }
        RECT collapsed{0, 0, m.right, m.bottom};
        ::AdjustWindowRectEx(&collapsed, static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)));
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, collapsed.right - collapsed.left, collapsed.bottom - collapsed.top,
                       flags);
        EnableChildrenOutside(GetWindowRect(), false);
    } else {
        const RECT before = GetWindowRect();
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, fullRect.right - fullRect.left, fullRect.bottom - fullRect.top,
                       flags);
        EnableChildrenOutside(before, true);
    }
    expanded = !expanded;

    if (!fromButton) return;
    HWND more = GetDlgItem(IDC_MORE);
    if (!more) return;
    std::string caption = GetDlgItemText(IDC_MORE);
    if (SwapMoreCaption(caption, expanded)) ::SetWindowTextA(more, caption.c_str());
}

void ExpandingDialog::EnableChildrenOutside(const RECT& area, bool enable) {
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        ::GetWindowRect(child, &r);
        if (!LiesWhollyInside(ToLayout(area), ToLayout(r))) ::EnableWindow(child, enable);
    }
}
