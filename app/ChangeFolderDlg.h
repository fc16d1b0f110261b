#pragma once
// "Change Folder": the old-style save dialog on template 138, used as a
// folder browser. The file controls are hidden; the path field follows the
// directory the browser is in, and OK hands that path back. The directory
// page shows the path as an editable field, the diskette prompt read-only.

#include <windows.h>

#include <string>

#include "framework/FileDialog.h"

class ChangeFolderDialog : public CFileDialog {
public:
    explicit ChangeFolderDialog(HWND parent = nullptr);

    // Shows the browser, starting in the directory `path` names or, when that
    // does not exist, in its nearest ancestor that can be entered (the
    // process's current directory when none can). On OK `path` receives the
    // chosen directory and the result is true. An empty `path` is refused
    // with string 27 and no dialog.
    bool Run(std::string& path, bool editable);

    // The directory the browser started in (set by Run).
    const std::string& StartDirectory() const { return startDirectory_; }

    std::string currentDir;  // control 1088, the common dialog's current directory
    std::string pathText;    // edit 1002, the chosen path
    std::string pathLabel;   // static 1034, the chosen path read-only
    int editable = 0;
    int initialised = 0;

protected:
    bool OnInitDialog() override;
    void OnLBSelChangedNotify(int listId, int currentIndex, int code) override;
    UINT_PTR OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // OK: refuses an empty path; otherwise lets the common dialog end.
    // True keeps the dialog open.
    bool OnOK();

private:
    void ReadControls();
    void WriteControls();
    void Centre();

    std::string startDirectory_;
};

// Runs the browser from `owner` with the path read-only: the diskette
// prompt's Browse.
bool PickFolderReadOnly(HWND owner, std::string& directory);
