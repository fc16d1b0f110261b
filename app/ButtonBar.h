#pragma once
// The Next / Back / Cancel bar under a question page: a child dialog that
// sits directly below the page's client area and hands its buttons to the
// page. It deletes itself when its window goes.

#include <windows.h>

#include "app/ButtonBarLayout.h"
#include "framework/Dialog.h"

class WizardPage;

class ButtonBar : public CDialog {
public:
    ButtonBar(WizardPage* page, UINT templateId);

    // Next and Back enabled as the page's neighbours allow, or both disabled
    // (a page at work that must not be left).
    void EnableNavigation(bool enable);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;

private:
    WizardPage* page_;
};
