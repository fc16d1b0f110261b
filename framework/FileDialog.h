#pragma once
// The old-style (not explorer-style) common file dialog, optionally on a
// custom template, with a hook that reaches virtual handlers. Old-style
// dialogs can host the program's own controls in their template and report
// selection changes in their folder and drive lists, which is what a folder
// browser built on the save dialog needs.

#include <windows.h>

#include <commdlg.h>

#include <string>
#include <vector>

#include "framework/ModalSeam.h"

class CFileDialog {
public:
    // `filter` uses '|' between description and pattern and after each
    // pattern, ending in "||" ("All Files (*.*)|*.*||"). `flags` are OFN_*
    // bits added to OFN_ENABLEHOOK; OFN_EXPLORER is never set.
    CFileDialog(bool openDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                const char* filter, HWND parent = nullptr);
    virtual ~CFileDialog() = default;
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // Uses template `templateId` of the program's resources (adds
    // OFN_ENABLETEMPLATE).
    void SetTemplate(UINT templateId);
    // The directory the dialog starts in.
    void SetInitialDirectory(const std::string& directory);

    // Runs the dialog: IDOK or IDCANCEL. Through the modal seam.
    virtual INT_PTR DoModal();

    // The full path chosen (valid after IDOK).
    std::string GetPathName() const { return fileBuffer_.data(); }

    OPENFILENAMEA m_ofn;   // adjustable before DoModal
    HWND m_hWnd = nullptr; // the dialog while it runs

protected:
    // After the common dialog's own initialisation. Return true.
    virtual bool OnInitDialog() { return true; }
    // Selection change in one of the dialog's lists (the common dialog's
    // LBSELCHSTRING notification): the list's id, the new index and the
    // CD_LBSELCHANGE / CD_LBSELSUB / CD_LBSELADD / CD_LBSELNOUSER code.
    // The folder list (1121) reports when a folder was entered, the drive
    // list (1137) when the drive changed; the current-directory text (1088)
    // already shows the new directory then.
    virtual void OnLBSelChangedNotify(int listId, int currentIndex, int code);
    // The user pressed OK with a valid name; true keeps the dialog open.
    virtual bool OnFileNameOK() { return false; }
    // Any other message seen by the hook; non-zero when handled (the common
    // dialog then skips its own processing).
    virtual UINT_PTR OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam);

    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);

private:
    static UINT_PTR CALLBACK HookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    UINT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    bool openDialog_;
    UINT templateId_ = 0;
    std::vector<char> fileBuffer_;
    std::string filter_;
    std::string defaultExtension_;
    std::string initialDirectory_;
    bool driveNotifyPending_ = false;
};
