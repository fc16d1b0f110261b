#pragma once
// The progress gauge: a bar that fills from the left in the highlight colour
// with the percentage written across its middle, the text split in two
// colours at the fill edge.
//
// The arithmetic is portable and pure (GaugePercent, GaugeFillWidth,
// ClampGaugePosition, GaugeText); the window (class Gauge) is Windows only.

#include <cstdint>
#include <string>

// `value` limited to the range: first the smaller of value and maximum,
// then the larger of that and minimum. With an inverted range (minimum above
// maximum) the result is therefore minimum.
std::uint32_t ClampGaugePosition(std::uint32_t value, std::uint32_t minimum, std::uint32_t maximum);

// Whether a gauge with this range paints at all: an empty range (minimum
// equal to maximum) draws nothing and leaves the screen as it was.
inline bool GaugeDraws(std::uint32_t minimum, std::uint32_t maximum) { return minimum != maximum; }

// Percentage done, 0..100, rounding down. A position below the minimum, an
// inverted range (an empty install: minimum 1, maximum 0) and an empty range
// give 0; a position beyond the maximum gives 100. Exact for every 32-bit
// value.
int GaugePercent(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t position);

// Width of the filled part of a bar `width` pixels wide at `percent`
// (rounding toward zero); never below 0 nor beyond `width`.
int GaugeFillWidth(int width, int percent);

// The text drawn across the bar: "42%".
std::string GaugeText(int percent);

#if defined(_WIN32)

#include <windows.h>

#include "framework/Wnd.h"

// The gauge window. Created as a child, usually in the place of a frame
// control of a dialog template; paints itself and handles nothing else.
class Gauge : public CFrameWnd {
public:
    // The window class every gauge is made of; registered on first Create.
    static constexpr const char* kClassName = "TvsGauge";

    explicit Gauge(std::uint32_t minimum = 0, std::uint32_t maximum = 99, std::uint32_t position = 0);

    // Creates the gauge as a child of `parent` with id `id`. When `parent`
    // has a control `id`, the gauge takes that control's place (its client
    // rectangle in the parent's client coordinates, its place in the Z and
    // tab order), the control is destroyed and `rect` is not used. WS_CHILD
    // is always added. False when the window could not be made (also
    // without a parent).
    bool Create(DWORD style, const RECT& rect, HWND parent, int id);

    // New range; the position is limited to it and the window invalidated.
    void SetRange(std::uint32_t minimum, std::uint32_t maximum);
    // position = value limited to the range (ClampGaugePosition). When the
    // percentage shown changes, the whole window is invalidated without
    // erasing and `redrawNow` repaints at once; otherwise nothing is drawn.
    void SetPosition(std::uint32_t value, bool redrawNow);

    // Paints the gauge into `dc` over `client` (left and top 0). Used by the
    // paint message and by WM_PRINTCLIENT.
    void Paint(HDC dc, const RECT& client) const;

    std::uint32_t minimum;
    std::uint32_t maximum;
    std::uint32_t position;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

#endif  // _WIN32
