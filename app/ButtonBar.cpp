#include "app/ButtonBar.h"

#include "resources/ResourceIds.h"
#include "app/WizardPage.h"

ButtonBar::ButtonBar(WizardPage* page, UINT templateId) : CDialog(templateId, page), page_(page) {}

bool ButtonBar::OnInitDialog() {
    CDialog::OnInitDialog();
    const RECT bar = GetWindowRect();
    const RECT pageWindow = page_->GetWindowRect();
    const RECT pageClient = page_->GetClientRect();
    const ButtonBarLayout layout =
        ComputeButtonBarLayout(pageClient.right - pageClient.left, pageClient.bottom - pageClient.top,
                               pageWindow.right - pageWindow.left, pageWindow.bottom - pageWindow.top,
                               bar.right - bar.left, bar.bottom - bar.top);
    MoveWindow(layout.barX, layout.barY, layout.barWidth, layout.barHeight, false);
    // The page keeps its place; only its size grows by the bar.
    POINT topLeft{pageWindow.left, pageWindow.top};
    if (HWND owner = ::GetParent(page_->m_hWnd); owner && (::GetWindowLongA(page_->m_hWnd, GWL_STYLE) & WS_CHILD))
        ::ScreenToClient(owner, &topLeft);
    page_->MoveWindow(topLeft.x, topLeft.y, layout.pageWidth, layout.pageHeight, false);

    EnableNavigation(true);
    return true;
}

void ButtonBar::EnableNavigation(bool enable) {
    if (HWND back = GetDlgItem(IDC_BACK)) ::EnableWindow(back, enable && page_->backPageId != 0);
    if (HWND next = GetDlgItem(IDC_NEXT)) ::EnableWindow(next, enable && page_->nextPageId != 0);
}

bool ButtonBar::OnCommand(int id, int notifyCode, HWND) {
    if (notifyCode != BN_CLICKED) return false;
    switch (id) {
    case IDC_NEXT:
        page_->OnOK();
        return true;
    case IDC_BACK:
        page_->GoBack();
        return true;
    default:
        return false;
    }
}

// Enter inside the bar and Escape reach the page's own handling.
void ButtonBar::OnOK() { page_->OnOK(); }

void ButtonBar::OnCancel() { page_->OnCancel(); }

void ButtonBar::PostNcDestroy() {
    if (page_->buttonBar == this) page_->buttonBar = nullptr;
    delete this;
}
