#pragma once
// A wizard page: a modeless dialog from one template, known by that
// template's id, linked to the pages before and after it. Pages that do
// work run it when shown (RunStep) and move on by themselves; pages that ask
// wait for Next. ShowPage is the navigator.

#include <windows.h>

#include "app/WizardModel.h"
#include "framework/Dialog.h"

class ButtonBar;

class WizardPage : public CDialog, public PageNode {
public:
    // Page `pageId` with its initial next page from the page table and the
    // standard button bar when the table gives it one.
    explicit WizardPage(int pageId);
    // Page with an explicit next page and bar template (0: no bar).
    WizardPage(int pageId, int nextPageId, int barTemplateId);
    ~WizardPage() override;

    // Centres the page over its owner.
    virtual void CenterPage();
    // The page's work. Returns the page to show next, or 0 to wait for the
    // user. Base: 0.
    virtual int RunStep() { return 0; }
    // Asks whether to abandon Setup (string 5). True on Yes.
    virtual bool ConfirmCancel();
    // Creates the page window, owned by the backdrop. False on failure.
    virtual bool CreatePage();

    // Next: shows nextPageId.
    void OnOK() override;
    // Escape or Cancel: a final page ends Setup; otherwise, when confirmed,
    // the run is marked failed and the failure page follows.
    void OnCancel() override;

    // Next page 116, and the run has failed.
    void MarkCancelled();
    void GoNext();
    void GoBack();

    ButtonBar* buttonBar = nullptr;  // deletes itself with its window

protected:
    // Page start: button bar, centring, batch-mode shrinking, the run message.
    bool OnInitDialog() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Page objects live until the application ends, not with their window.
    void PostNcDestroy() override {}

private:
    void OnRunStep();
};

// The process-wide page registry (owns the pages; knows the current one).
PageRegistry& WizardPages();

// The navigator: shows page `pageId` (walking past pages that do not apply)
// and hides the page that was current. -1 destroys the backdrop, which ends
// the program. Throws CResourceException when a page window cannot be made.
void ShowPage(int pageId, bool goingBack);

// The page factory: the class of each id in the page table.
std::unique_ptr<PageNode> CreateWizardPage(int pageId);
