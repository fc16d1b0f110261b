// Start-up where the backdrop cannot be made (no display, a refused
// creation): the failure must end the run cleanly, not in a crash. A frame
// that deletes itself with its window must not do so when its creation
// fails, because the caller, told "false", deletes it too.

#include <gtest/gtest.h>

#include "framework/Wnd.h"

namespace {

class RefusedFrame : public CFrameWnd {
public:
    static constexpr const char* kClass = "TvsHostileRefusedFrame";
    explicit RefusedFrame(int& destroyed) : destroyed_(destroyed) { autoDelete = true; }
    ~RefusedFrame() override { ++destroyed_; }

    bool CreateRefused() {
        if (!RegisterFrameClass(kClass, 0, ::LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr)) return false;
        return Create(kClass, "Refused", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100);
    }
    bool nonClientDestroyed = false;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        // The window is refused after WM_NCCREATE, so the system still
        // destroys it and sends WM_NCDESTROY.
        if (message == WM_CREATE) return -1;
        if (message == WM_NCDESTROY) nonClientDestroyed = true;
        return CFrameWnd::OnMessage(message, wParam, lParam);
    }

private:
    int& destroyed_;
};

TEST(HostileStartup, RefusedAutoDeleteFrameStaysWithItsCaller) {
    int destroyed = 0;
    auto* frame = new RefusedFrame(destroyed);
    EXPECT_FALSE(frame->CreateRefused());
    EXPECT_TRUE(frame->nonClientDestroyed);
    EXPECT_EQ(destroyed, 0) << "deleted itself although Create said false";
    EXPECT_EQ(frame->m_hWnd, nullptr);
    EXPECT_TRUE(frame->autoDelete) << "the setting survives the failed creation";
    delete frame;
    EXPECT_EQ(destroyed, 1);
}

}  // namespace
