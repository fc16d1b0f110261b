#include "archive/Gauge.h"

#include "framework/Handle.h"

Gauge::Gauge(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t position)
    : minimum(minimum), maximum(maximum), position(position) {}

bool Gauge::Create(DWORD style, const RECT& rect, HWND parent, int id) {
    if (!parent) return false;
    // A plain window of our own: the arrow cursor and no background brush, so
    // that erasing leaves the screen alone (a gauge with an empty range keeps
    // whatever was there).
    if (!RegisterFrameClass(kClassName, CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr))
        return false;

    RECT place = rect;
    HWND placeholder = ::GetDlgItem(parent, id);
    if (placeholder) {
        ::GetClientRect(placeholder, &place);
        ::MapWindowPoints(placeholder, parent, reinterpret_cast<POINT*>(&place), 2);
    }
    style = (style & ~static_cast<DWORD>(WS_POPUP)) | WS_CHILD;
    // The placeholder goes first: two children with one id would make
    // GetDlgItem ambiguous.
    HWND insertAfter = placeholder ? ::GetWindow(placeholder, GW_HWNDPREV) : nullptr;
    if (placeholder) ::DestroyWindow(placeholder);

    if (!CFrameWnd::Create(kClassName, "Gauge", style, 0, place.left, place.top, place.right - place.left,
                           place.bottom - place.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
        return false;
    // Keep the placeholder's place in the Z and tab order.
    if (placeholder)
        ::SetWindowPos(m_hWnd, insertAfter ? insertAfter : HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    return true;
}

void Gauge::SetRange(std::uint32_t newMinimum, std::uint32_t newMaximum) {
    minimum = newMinimum;
    maximum = newMaximum;
    position = ClampGaugePosition(position, minimum, maximum);
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void Gauge::SetPosition(std::uint32_t value, bool redrawNow) {
    const int shownPercent = GaugePercent(minimum, maximum, position);
    position = ClampGaugePosition(value, minimum, maximum);
    if (!m_hWnd) return;
    // The face depends on the percentage alone. The copy worker moves the
    // position every few kilobytes; repainting an unchanged face each time
    // costs more than the decoding it reports on.
    if (GaugePercent(minimum, maximum, position) == shownPercent) return;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    if (redrawNow) ::UpdateWindow(m_hWnd);
}

void Gauge::Paint(HDC dc, const RECT& client) const {
    if (!GaugeDraws(minimum, maximum)) return;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const int percent = GaugePercent(minimum, maximum, position);
    const std::string text = GaugeText(percent);
    const int length = static_cast<int>(text.size());

    SIZE extent{};
    ::GetTextExtentPoint32A(dc, text.c_str(), length, &extent);
    const int x = width / 2;
    const int y = (height - extent.cy) / 2;

    const COLORREF fill = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF empty = ::GetSysColor(COLOR_WINDOW);
    const int saved = ::SaveDC(dc);
    ::SetTextAlign(dc, TA_CENTER | TA_TOP);

    // Two opaque draws of the same text, each clipped to its part of the
    // bar, cover the whole client area: no flicker from a separate erase.
    RECT filled{client.left, client.top, client.left + GaugeFillWidth(width, percent), client.bottom};
    ::SetTextColor(dc, empty);
    ::SetBkColor(dc, fill);
    ::ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &filled, text.c_str(), static_cast<UINT>(length), nullptr);

    RECT rest{filled.right, client.top, client.right, client.bottom};
    ::SetTextColor(dc, fill);
    ::SetBkColor(dc, empty);
    ::ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &rest, text.c_str(), static_cast<UINT>(length), nullptr);
    ::RestoreDC(dc, saved);
}

LRESULT Gauge::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PaintDC dc(m_hWnd);
        if (dc.Get()) Paint(dc.Get(), GetClientRect());
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam), GetClientRect());
        return 0;
    default:
        return CFrameWnd::OnMessage(message, wParam, lParam);
    }
}
