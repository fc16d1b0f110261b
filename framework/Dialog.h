#pragma once
// Dialogs made from templates: modal (DoModal, through the modal seam) and
// modeless (Create, also for WS_CHILD templates placed inside another
// window), with data exchange between members and controls.

#include <windows.h>

#include <string>

#include "framework/ModalSeam.h"
#include "framework/Wnd.h"

class CDialog;

// One transfer between a dialog's members and its controls.
class CDataExchange {
public:
    CDataExchange(CWnd& dialog, bool saveAndValidate) : dialog(dialog), saveAndValidate(saveAndValidate) {}

    // The control `id`; throws CResourceException when the dialog lacks it
    // (a template and its exchange code disagree).
    HWND Control(int id) const;
    // Rejects the value of control `id`: focuses it, says `message` through
    // the modal seam and throws CUserException, which UpdateData catches.
    [[noreturn]] void Fail(int id, const std::string& message) const;

    CWnd& dialog;
    const bool saveAndValidate;   // true: controls -> members
};

// Text of an edit or static.
void DDX_Text(CDataExchange& dx, int id, std::string& value);
// A signed decimal integer in an edit; an entry that is not one is rejected.
void DDX_Text(CDataExchange& dx, int id, int& value);
// Check box or radio button: 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange& dx, int id, int& value);
// Selected index of a list box (-1: none).
void DDX_LBIndex(CDataExchange& dx, int id, int& index);
// Selected index of a combo box (-1: none).
void DDX_CBIndex(CDataExchange& dx, int id, int& index);
// Text of the selected list box item ("" when none); on load, selects the
// first item that starts with the value, or none.
void DDX_LBString(CDataExchange& dx, int id, std::string& value);

class CDialog : public CWnd {
public:
    // A dialog from template `templateId` in the program's resources.
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : templateId_(templateId), parent_(parent) {}
    // A dialog from a template built in memory (kept alive by the caller).
    explicit CDialog(const DLGTEMPLATE* memoryTemplate, CWnd* parent = nullptr)
        : memoryTemplate_(memoryTemplate), parent_(parent) {}
    ~CDialog() override;

    // Runs the dialog modally and returns the id it ended with (IDOK,
    // IDCANCEL, ...); -1 when it could not be created. With a modal answerer
    // installed, the answer is returned and nothing is shown.
    virtual INT_PTR DoModal();

    // Creates the dialog modeless, owned by `parent` (or the constructor's
    // parent; child of it for a WS_CHILD template). False when the window
    // could not be created or its initialisation failed. Dialogs see no
    // WM_CREATE: the object is bound at WM_INITDIALOG, so creation work
    // belongs in OnInitDialog.
    bool Create(HWND parent = nullptr);

    // Ends a modal dialog with `result`; hides and destroys a modeless one.
    void EndDialog(int result);

    // Moves data: save = true reads the controls into the members (and may
    // reject a value: false, nothing after it is read); false fills the controls.
    bool UpdateData(bool save = true);

    UINT TemplateId() const { return templateId_; }
    bool IsModal() const { return modal_; }

    // Describes this dialog to a modal answerer. Base: kind and template id.
    virtual void DescribeForSeam(ModalInteraction& interaction) const;

protected:
    // Base: UpdateData(false); true lets Windows set the default focus.
    virtual bool OnInitDialog();
    // Base: UpdateData(true) and, when accepted, EndDialog(IDOK).
    virtual void OnOK();
    // Base: EndDialog(IDCANCEL).
    virtual void OnCancel();
    // One line per command; true when handled. Called before the IDOK/IDCANCEL handling.
    virtual bool OnCommand(int id, int notifyCode, HWND control);
    virtual void DoDataExchange(CDataExchange& dx);

    // The message map, with dialog procedure semantics: return non-zero when
    // handled (the value for WM_CTLCOLOR* and similar), FALSE to let the
    // dialog manager act. Falls back to this base.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Sets a message's result for messages that return it through DWLP_MSGRESULT.
    void SetMessageResult(LRESULT result) { ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result); }

    HWND ParentHandle() const;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_ = 0;
    const DLGTEMPLATE* memoryTemplate_ = nullptr;
    CWnd* parent_ = nullptr;
    bool modal_ = false;
};
