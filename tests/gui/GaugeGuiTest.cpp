// The gauge window: taking a placeholder's place and painting its two parts.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "archive/Gauge.h"
#include "framework/Dialog.h"
#include "framework/Handle.h"
#include "resources/ResourceIds.h"

namespace {

// The copy page's styles for its gauge: visible, child, border.
constexpr DWORD kPageGaugeStyle = 0x50800000;

// A 32-bit top-down picture of what a window paints, through WM_PRINTCLIENT.
class Capture {
public:
    Capture(int width, int height, COLORREF fill) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_.Reset(::CreateCompatibleDC(nullptr));
        void* bits = nullptr;
        bitmap_.Reset(::CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const std::uint32_t*>(bits);
        old_ = ::SelectObject(dc_.Get(), bitmap_.Get());
        RECT all{0, 0, width, height};
        UniqueBrush brush(::CreateSolidBrush(fill));
        ::FillRect(dc_.Get(), &all, brush.Get());
    }
    ~Capture() { ::SelectObject(dc_.Get(), old_); }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    void From(HWND window) {
        // The same font a window DC starts with.
        ::SelectObject(dc_.Get(), ::GetStockObject(SYSTEM_FONT));
        ::SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.Get()), PRF_CLIENT);
        ::GdiFlush();
    }
    COLORREF At(int x, int y) const {
        const std::uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Counts the pixels of colour `c` in the columns [x0, x1).
    int Count(COLORREF c, int x0, int x1) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = x0; x < x1; ++x) n += At(x, y) == c;
        return n;
    }

private:
    int width_, height_;
    UniqueMemoryDC dc_;
    UniqueBitmap bitmap_;
    const std::uint32_t* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// The copy page's template, shown modeless so that its gauge can be looked at.
class GaugeGui : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(page_.Create(nullptr));
        ::SetWindowPos(page_.m_hWnd, HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        frame_ = page_.GetDlgItem(IDC_GAUGE);
        ASSERT_NE(frame_, nullptr);
        ::GetWindowRect(frame_, &frameRect_);
        ::MapWindowPoints(nullptr, page_.m_hWnd, reinterpret_cast<POINT*>(&frameRect_), 2);
    }
    void TearDown() override {
        if (page_.m_hWnd) page_.DestroyWindow();
    }

    CDialog page_{IDD_COPY};
    HWND frame_ = nullptr;
    RECT frameRect_{};
    const COLORREF highlight_ = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF window_ = ::GetSysColor(COLOR_WINDOW);
};

}  // namespace

TEST_F(GaugeGui, TakesThePlaceOfThePagesFrame) {
    Gauge gauge(0, 99, 0);
    ASSERT_TRUE(gauge.Create(kPageGaugeStyle, RECT{}, page_.m_hWnd, IDC_GAUGE));
    EXPECT_FALSE(::IsWindow(frame_));
    EXPECT_EQ(page_.GetDlgItem(IDC_GAUGE), gauge.m_hWnd);

    char className[64] = {};
    ::GetClassNameA(gauge.m_hWnd, className, sizeof className);
    EXPECT_STREQ(className, Gauge::kClassName);
    EXPECT_EQ(gauge.GetWindowText(), "Gauge");
    const LONG style = ::GetWindowLongA(gauge.m_hWnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_BORDER);
    EXPECT_TRUE(gauge.IsWindowVisible());

    RECT placed = gauge.GetWindowRect();
    ::MapWindowPoints(nullptr, page_.m_hWnd, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, frameRect_.left);
    EXPECT_EQ(placed.top, frameRect_.top);
    EXPECT_EQ(placed.right, frameRect_.right);
    EXPECT_EQ(placed.bottom, frameRect_.bottom);
}

TEST_F(GaugeGui, WithoutAPlaceholderUsesTheRectangleAndNeedsAParent) {
    Gauge gauge;
    const RECT r{5, 6, 205, 26};
    ASSERT_TRUE(gauge.Create(WS_VISIBLE, r, page_.m_hWnd, 4242));
    EXPECT_TRUE(::IsWindow(frame_));  // other controls stay
    EXPECT_TRUE(::GetWindowLongA(gauge.m_hWnd, GWL_STYLE) & WS_CHILD);
    const RECT client = gauge.GetClientRect();
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 20);

    Gauge orphan;
    EXPECT_FALSE(orphan.Create(WS_VISIBLE, r, nullptr, 1));
}

TEST_F(GaugeGui, PaintsTheFilledAndTheEmptyPartWithTheSplitText) {
    Gauge gauge(0, 100, 0);
    ASSERT_TRUE(gauge.Create(kPageGaugeStyle, RECT{}, page_.m_hWnd, IDC_GAUGE));
    const RECT client = gauge.GetClientRect();
    const int w = client.right, h = client.bottom;
    ASSERT_GT(w, 100);
    const int mid = h / 2;

    struct Case {
        std::uint32_t position;
        int percent;
    };
    for (const Case c : {Case{0, 0}, Case{50, 50}, Case{100, 100}}) {
        SCOPED_TRACE(c.percent);
        gauge.SetPosition(c.position, true);
        Capture shot(w, h, RGB(255, 0, 255));
        shot.From(gauge.m_hWnd);
        const int edge = w * c.percent / 100;

        // Away from the text: the left part in the highlight colour, the rest
        // in the window colour, edge to edge, nothing left unpainted.
        if (edge > 0) {
            EXPECT_EQ(shot.At(0, mid), highlight_);
            EXPECT_EQ(shot.At(edge / 4, 0), highlight_);
            EXPECT_EQ(shot.At(edge - 1, h - 1), highlight_);
        }
        if (edge < w) {
            EXPECT_EQ(shot.At(w - 1, mid), window_);
            EXPECT_EQ(shot.At(edge, 0), window_);
            EXPECT_EQ(shot.At((edge + w) / 2 + (w - edge) / 4, h - 1), window_);
        }
        EXPECT_EQ(shot.Count(RGB(255, 0, 255), 0, w), 0);
        // Only the two colours: the text is drawn in the other part's colour.
        EXPECT_EQ(shot.Count(highlight_, 0, w) + shot.Count(window_, 0, w), w * h);
        // The text is there: window-coloured glyphs on the filled part, or
        // highlight-coloured glyphs on the empty part.
        if (c.percent == 100) {
            EXPECT_GT(shot.Count(window_, 0, w), 0);
        }
        if (c.percent == 0) {
            EXPECT_GT(shot.Count(highlight_, 0, w), 0);
        }
        if (c.percent == 50) {
            // "50%" is centred on the fill edge: split between the two parts.
            EXPECT_GT(shot.Count(window_, 0, edge), 0);
            EXPECT_GT(shot.Count(highlight_, edge, w), 0);
        }
    }
}

TEST_F(GaugeGui, PaintsOnScreen) {
    Gauge gauge(0, 100, 0);
    ASSERT_TRUE(gauge.Create(kPageGaugeStyle, RECT{}, page_.m_hWnd, IDC_GAUGE));
    const RECT client = gauge.GetClientRect();
    gauge.SetPosition(50, true);
    WindowDC dc(gauge.m_hWnd);
    ASSERT_NE(dc.Get(), nullptr);
    EXPECT_EQ(::GetPixel(dc.Get(), 1, client.bottom / 2), highlight_);
    EXPECT_EQ(::GetPixel(dc.Get(), client.right - 2, client.bottom / 2), window_);
}

TEST_F(GaugeGui, EdgeCasesOfTheRange) {
    // A gauge 200 pixels wide at 33% fills 66 pixels.
    {
        Gauge gauge(0, 100, 33);
        ASSERT_TRUE(gauge.Create(WS_VISIBLE, RECT{0, 0, 200, 20}, page_.m_hWnd, 4243));
        Capture shot(200, 20, RGB(255, 0, 255));
        shot.From(gauge.m_hWnd);
        EXPECT_EQ(shot.At(65, 0), highlight_);
        EXPECT_EQ(shot.At(66, 0), window_);
    }
    // An empty range draws nothing: what was there stays.
    {
        Gauge gauge(1, 1, 1);
        ASSERT_TRUE(gauge.Create(WS_VISIBLE, RECT{0, 0, 200, 20}, page_.m_hWnd, 4244));
        Capture shot(200, 20, RGB(255, 0, 255));
        shot.From(gauge.m_hWnd);
        EXPECT_EQ(shot.Count(RGB(255, 0, 255), 0, 200), 200 * 20);
    }
    // An empty install (minimum 1, maximum 0): 0% on an empty bar.
    {
        Gauge gauge(1, 0, 0);
        gauge.SetPosition(1, false);
        ASSERT_TRUE(gauge.Create(WS_VISIBLE, RECT{0, 0, 200, 20}, page_.m_hWnd, 4245));
        Capture shot(200, 20, RGB(255, 0, 255));
        shot.From(gauge.m_hWnd);
        EXPECT_EQ(shot.At(0, 0), window_);
        EXPECT_EQ(shot.At(199, 19), window_);
        EXPECT_GT(shot.Count(highlight_, 0, 200), 0);  // the "0%"
        EXPECT_EQ(shot.Count(highlight_, 0, 200) + shot.Count(window_, 0, 200), 200 * 20);
    }
    // Large values: 1500000 of 3000000 is half.
    {
        Gauge gauge(0, 3000000, 0);
        ASSERT_TRUE(gauge.Create(WS_VISIBLE, RECT{0, 0, 200, 20}, page_.m_hWnd, 4246));
        gauge.SetPosition(1500000, true);
        Capture shot(200, 20, RGB(255, 0, 255));
        shot.From(gauge.m_hWnd);
        EXPECT_EQ(shot.At(99, 0), highlight_);
        EXPECT_EQ(shot.At(100, 0), window_);
    }
}

TEST_F(GaugeGui, RepaintsOnlyWhenThePercentageChanges) {
    Gauge gauge(0, 1000, 0);
    ASSERT_TRUE(gauge.Create(WS_VISIBLE, RECT{0, 0, 200, 20}, page_.m_hWnd, 4247));
    ::ValidateRect(gauge.m_hWnd, nullptr);
    RECT dirty{};

    gauge.SetPosition(9, false);  // still 0%
    EXPECT_EQ(gauge.position, 9u);
    EXPECT_FALSE(::GetUpdateRect(gauge.m_hWnd, &dirty, FALSE));

    gauge.SetPosition(10, false);  // 1%
    EXPECT_TRUE(::GetUpdateRect(gauge.m_hWnd, &dirty, FALSE));
    ::ValidateRect(gauge.m_hWnd, nullptr);

    // A new range changes what the same position means: always repainted.
    gauge.SetRange(1, 20);
    EXPECT_EQ(gauge.position, 10u);
    EXPECT_TRUE(::GetUpdateRect(gauge.m_hWnd, &dirty, FALSE));
    ::ValidateRect(gauge.m_hWnd, nullptr);
    gauge.SetRange(1, 5);
    EXPECT_EQ(gauge.position, 5u) << "the position is limited to the new range";
}
