// How responsive Setup's copy page is, read from outside as a user would see
// it. Run beside an interactive Setup that is about to copy (or copying):
//   copy_response [SECONDS]
// 1. Updates: for SECONDS (default 3) it polls, every few milliseconds, the
//    destination name (IDC_DESTFILE) and what the screen shows of it and of
//    the gauge: how often the name is set, and how often each changes on
//    the screen, which needs Setup's own message pump to paint it.
// 2. Cancel: five times it presses Cancel (a BN_CLICKED posted to the page,
//    as a click makes) and times until the question "Do you really want to
//    exit Setup?" is on the screen, then answers No.
// 3. Uncovering: five times it covers the page with a black window of its
//    own for 100 ms and times from taking it away until the screen shows the
//    page again.
// Prints the figures; exit code 1 when the copy page never appeared or went
// away before the end. Windows program; built by bench/copy-response.sh.

#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kSourceFile = 1008;  // the copy page's controls
constexpr int kDestFile = 1009;
constexpr int kGaugeFrame = 1010;

double Now() {
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string Text(HWND hwnd) {
    char text[512] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

BOOL CALLBACK FindCopyPage(HWND hwnd, LPARAM param) {
    if (IsWindowVisible(hwnd) && GetDlgItem(hwnd, kSourceFile) && GetDlgItem(hwnd, kDestFile) &&
        GetDlgItem(hwnd, kGaugeFrame)) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND CopyPage() {
    HWND page = nullptr;
    EnumWindows(&FindCopyPage, reinterpret_cast<LPARAM>(&page));
    return page;
}

struct Question {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindQuestion(HWND hwnd, LPARAM param) {
    auto* q = reinterpret_cast<Question*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid != q->processId || !IsWindowVisible(hwnd) || std::string(cls) != "#32770") return TRUE;
    if (!GetDlgItem(hwnd, IDNO)) return TRUE;  // the page itself has no No
    q->found = hwnd;
    return FALSE;
}

// A hash of what the screen shows in the window's rectangle: a paint by
// Setup is seen only here (its update regions are not visible from another
// process).
unsigned long long ScreenHash(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return 0;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    unsigned long long hash = 1469598103934665603ull;
    const auto* p = static_cast<const unsigned char*>(bits);
    for (int i = 0; i < w * h * 4; ++i) hash = (hash ^ p[i]) * 1099511628211ull;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return hash;
}

// True when the screen in the window's rectangle is all black (the cover).
bool ShowsBlack(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, (r.left + r.right) / 2, r.top + (r.bottom - r.top) / 4);
    ReleaseDC(nullptr, screen);
    return c == RGB(0, 0, 0);
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

LRESULT CALLBACK CoverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    HWND page = nullptr;
    for (double end = Now() + 120; !page && Now() < end; Sleep(20)) page = CopyPage();
    if (!page) {
        std::printf("copy_response: no copy page within 120 s\n");
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(page, &processId);
    HWND dest = GetDlgItem(page, kDestFile);

    // 1. Updates.
    HWND gauge = GetDlgItem(page, kGaugeFrame);
    std::string lastName = Text(dest);
    unsigned long long nameShown = ScreenHash(dest), gaugeShown = ScreenHash(gauge);
    int nameChanges = 0, namePaints = 0, gaugePaints = 0, polls = 0;
    double lastPaint = Now(), longestGap = 0;
    const double start = Now();
    while (Now() - start < seconds && IsWindow(page)) {
        std::string name = Text(dest);
        if (name != lastName) {
            ++nameChanges;
            lastName = name;
        }
        const unsigned long long n = ScreenHash(dest), g = ScreenHash(gauge);
        if (n != nameShown) ++namePaints;
        if (g != gaugeShown) ++gaugePaints;
        if (n != nameShown || g != gaugeShown) {
            longestGap = std::max(longestGap, Now() - lastPaint);
            lastPaint = Now();
        }
        nameShown = n;
        gaugeShown = g;
        ++polls;
        Sleep(1);
    }
    const double took = Now() - start;
    if (!IsWindow(page)) {
        std::printf("copy_response: the copy page ended after %.2f s; use a larger payload\n", took);
        return 1;
    }
    std::printf("updates over %.2f s (%d polls): destination name set %.1f times/s; on the screen: name %.1f times/s, "
                "gauge %.1f times/s; longest time without either changing %.0f ms\n",
                took, polls, nameChanges / took, namePaints / took, gaugePaints / took, longestGap * 1000);

    // 2. Cancel.
    std::vector<double> cancel;
    HWND cancelButton = GetDlgItem(page, IDCANCEL);
    for (int i = 0; i < 5 && IsWindow(page); ++i) {
        const double t0 = Now();
        PostMessageA(page, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancelButton));
        Question q{processId, nullptr};
        while (!q.found && Now() - t0 < 10 && IsWindow(page)) {
            EnumWindows(&FindQuestion, reinterpret_cast<LPARAM>(&q));
            if (!q.found) Sleep(1);
        }
        if (!q.found) break;
        cancel.push_back(Now() - t0);
        PostMessageA(q.found, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(q.found, IDNO)));
        while (IsWindow(q.found) && IsWindowVisible(q.found)) Sleep(1);
        Sleep(200);
    }
    if (cancel.size() < 5) {
        std::printf("copy_response: Cancel was answered %zu of 5 times\n", cancel.size());
        return 1;
    }
    std::printf("Cancel to the question: median %.0f ms, longest %.0f ms (5 presses)\n", Median(cancel) * 1000,
                *std::max_element(cancel.begin(), cancel.end()) * 1000);

    // 3. Uncovering.
    WNDCLASSA wc{};
    wc.lpfnWndProc = CoverProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "CopyResponseCover";
    RegisterClassA(&wc);
    std::vector<double> repaint;
    for (int i = 0; i < 5 && IsWindow(page); ++i) {
        RECT r;
        GetWindowRect(page, &r);
        HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE,
                                     r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                     wc.hInstance, nullptr);
        for (double t = Now(); Now() - t < 0.1; Sleep(5)) Pump();
        DestroyWindow(cover);
        Pump();
        const double t0 = Now();
        while (Now() - t0 < 10 && IsWindow(page) && ShowsBlack(page)) Sleep(1);
        repaint.push_back(Now() - t0);
        Sleep(100);
    }
    std::printf("uncovered to painted: median %.0f ms, longest %.0f ms (%zu times)\n", Median(repaint) * 1000,
                repaint.empty() ? 0.0 : *std::max_element(repaint.begin(), repaint.end()) * 1000, repaint.size());
    return 0;
}
