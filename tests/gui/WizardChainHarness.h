#pragma once
// Setup's page chain on real windows, in this process: SetupApp started
// with a command line and services the test chooses, its pages driven
// through their buttons, every question answered through the modal seam.

#include <windows.h>

#include <memory>
#include <string>

#include "ModalAnswers.h"
#include "app/ButtonBar.h"
#include "app/InstallServices.h"
#include "app/MainWnd.h"
#include "app/SetupApp.h"
#include "app/WizardPage.h"
#include "framework/WinApp.h"
#include "resources/ResourceIds.h"

namespace wizard_chain {

class WizardChainHarness : public modal_answers::AnsweredTest {
protected:
    void TearDown() override {
        if (app_) {
            if (app_->m_pMainWnd && app_->m_pMainWnd->m_hWnd) ::DestroyWindow(app_->m_pMainWnd->m_hWnd);
            Drain();
            app_.reset();
        }
        AnsweredTest::TearDown();
    }

    // Starts Setup with `arguments` and `services`, as the entry point
    // would; false when it does not start.
    bool StartApp(std::unique_ptr<InstallServices> services, const std::string& arguments) {
        app_ = std::make_unique<SetupApp>();
        app_->SetServices(std::move(services));
        app_->m_lpCmdLine = arguments;
        const bool started = app_->InitInstance();
        Pump();
        return started;
    }

    // Lets posted run messages and the pages they lead to happen.
    void Pump() {
        for (int i = 0; i < 8; ++i) PumpMessages();
    }

    static void Drain() {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    // Ends the run as the framework does: the loop sees the quit message,
    // then the shut-down hook gives the exit code.
    int Finish() {
        EXPECT_TRUE(Ended()) << "the program has not ended";
        app_->Run();
        return app_->ExitInstance();
    }

    bool Ended() const { return app_->m_pMainWnd == nullptr; }

    SetupApp& App() { return *app_; }
    WizardPage* Current() { return dynamic_cast<WizardPage*>(WizardPages().Current()); }
    int CurrentId() { return Current() ? Current()->pageId : 0; }
    HWND PageWindow() { return Current() ? Current()->m_hWnd : nullptr; }
    WizardPage* Page(int id) { return dynamic_cast<WizardPage*>(WizardPages().Find(id)); }
    HWND Bar(int id) {
        WizardPage* page = Page(id);
        return page && page->buttonBar ? page->buttonBar->m_hWnd : nullptr;
    }
    HWND BarButton(int pageId, int control) {
        const HWND bar = Bar(pageId);
        return bar ? ::GetDlgItem(bar, control) : nullptr;
    }

    void Click(HWND button) {
        ASSERT_NE(button, nullptr);
        Press(button);
    }
    // Clicks a button of the current page's bar, or of the page itself.
    void ClickBar(int control) {
        ASSERT_NE(Bar(CurrentId()), nullptr) << CurrentId();
        Press(::GetDlgItem(Bar(CurrentId()), control));
    }
    void ClickPage(int control) {
        ASSERT_NE(Current(), nullptr);
        Press(::GetDlgItem(Current()->m_hWnd, control));
    }
    // A key typed while `focus` has the keyboard focus: the key messages go
    // through the message loop and its dialog handling, as a key from the
    // keyboard does.
    void Key(HWND focus, UINT virtualKey) {
        ASSERT_NE(focus, nullptr);
        ::SetFocus(focus);
        HWND target = ::GetFocus() ? ::GetFocus() : focus;
        ::PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
        ::PostMessageA(target, WM_KEYUP, virtualKey, 0xC0000001);
        Pump();
    }
    // What Escape and Enter give a modeless dialog.
    void Command(int id) {
        ::SendMessageA(Current()->m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        Pump();
    }

    std::unique_ptr<SetupApp> app_;

private:
    void Press(HWND button) {
        ::SendMessageA(button, BM_CLICK, 0, 0);
        Pump();
    }
};

}  // namespace wizard_chain
