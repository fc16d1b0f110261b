#pragma once
// A modal dialog that opens collapsed to the area above and left of the
// bottom-right corner of its control IDC_COLLAPSED_SIZE (123), and expands
// and collapses with its "More" button IDC_MORE (119). Controls outside the
// collapsed area are disabled while collapsed, so Tab never reaches them.

#include <windows.h>

#include "framework/Dialog.h"

class ExpandingDialog : public CDialog {
public:
    using CDialog::CDialog;

    bool IsExpanded() const { return expanded; }

protected:
    // The framework's initialisation, then: save the full window rectangle
    // and collapse.
    bool OnInitDialog() override;
    // IDC_MORE toggles; other commands go to the base.
    bool OnCommand(int id, int notifyCode, HWND control) override;

    // Collapses when expanded, expands when collapsed. `fromButton` also
    // turns the "More" caption's ">>" into "<<" and back.
    void Toggle(bool fromButton);

    bool expanded = true;
    RECT fullRect{};   // screen coordinates, saved at initialisation

private:
    // Enables or disables every direct child that is not wholly inside `area`.
    void EnableChildrenOutside(const RECT& area, bool enable);
};
