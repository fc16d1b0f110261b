#pragma once
// "Insert Diskette": asked when a source file is not where Setup looked. It
// names the diskette that holds the file and where Setup looked, and lets the
// user insert the diskette, type another location or browse for one. OK
// closes the prompt only when the file really is in the location shown.
//
// The prompt knows nothing of the install data model: its caller passes the
// diskette's number and label and the path it looked for.

#include <windows.h>

#include <functional>
#include <string>

#include "errors/ExpandingDialog.h"
#include "support/FilePath.h"

class DiskettePrompt : public ExpandingDialog {
public:
    // Picks a directory for Browse, starting in `directory` (which exists and
    // can be entered); true with the choice in `directory`, false when the
    // user cancelled. `owner` is the prompt's window.
    using FolderPicker = std::function<bool(HWND owner, std::string& directory)>;

    // `missingPath`: the full path under which the file was looked for (the
    // source directory and the file name). `label`: the diskette's label,
    // "" when it has none. The location starts empty.
    DiskettePrompt(const FilePath& missingPath, int diskette, const std::string& label, CWnd* parent = nullptr);

    // Shows the prompt for `fileName` missing from `sourceDir`. True after OK
    // with the directory that holds the file in `location`; false when the
    // user gave up (`location` is then unchanged).
    static bool Ask(const std::string& sourceDir, const std::string& fileName, int diskette,
                    const std::string& label, std::string& location);

    // Installs the folder browser Browse uses and returns the one it
    // replaced: the program installs its "Change Folder" dialog in the
    // read-only form. Without one, Browse chooses nothing.
    static FolderPicker SetFolderPicker(FolderPicker picker);

    // "Please insert the diskette labelled '%s' in drive %s:" or, without a
    // label, "Please insert diskette %d in drive %s:", with the drive letter
    // of the path looked in.
    std::string RequestLine() const;
    // String 28 filled with the full path looked for.
    std::string Explanation() const;

    // Runs the prompt: IDOK or IDCANCEL. An OK given by a modal answerer
    // stands for accepting the location first shown (the directory looked
    // in), so `location` is set as after a real OK.
    INT_PTR DoModal() override;

    void DescribeForSeam(ModalInteraction& interaction) const override;

    std::string location;  // exchanged with the location field
    int diskette;          // the diskette asked for
    FilePath missingFile;  // the full path the file was looked for under
    std::string label;     // "" for a diskette without a label

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;
    void DoDataExchange(CDataExchange& dx) override;

    // Browse: the location into the folder browser and back.
    void OnBrowse();
    // OK pressed while the file is still missing: the caption flashes on and
    // off once and the information beep sounds; the prompt stays.
    virtual void SignalFileMissing();
    // The directory that holds the file when `typedLocation` names one that
    // does (as an absolute path: drive and directory, a trailing backslash
    // only for a root); "" when the file is not there.
    std::string FindFileIn(const std::string& typedLocation) const;
};
