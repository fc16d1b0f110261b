#pragma once
// The one seam for modal interactions: message boxes, modal dialogs and the
// common file dialog all pass through here.
//
// Production installs nothing and every interaction is shown. A test installs
// an answerer: a function that receives a description of the interaction and
// returns the result the interaction would have returned (IDYES, IDOK,
// IDCANCEL, ...). Nothing is shown then, and no test has to wait for a key.
//
//     ScopedModalAnswerer answer([](const ModalInteraction& m) {
//         return m.kind == ModalKind::messageBox ? IDYES : IDCANCEL;
//     });
//
// The answerer runs on the user-interface thread, where the interaction would
// have run. Exceptions it throws reach the caller as the interaction's own
// failures would.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

enum class ModalKind {
    messageBox,   // ShowMessageBox
    dialog,       // CDialog::DoModal; id is the template id
    fileDialog,   // CFileDialog::DoModal; id is the custom template id (0 if none)
};

struct ModalInteraction {
    ModalKind kind = ModalKind::messageBox;
    int id = 0;                        // template id, 0 for message boxes
    std::string caption;               // message box caption; dialogs: "" unless they say
    std::string text;                  // message box text; dialogs: their main text
    std::vector<std::string> details;  // further texts a dialog chooses to show (may be empty)
    UINT type = 0;                     // MB_* flags; dialogs that offer a choice say which (MB_OK, MB_OKCANCEL)
};

using ModalAnswerer = std::function<int(const ModalInteraction&)>;

// Installs `answerer` (an empty function restores production behaviour) and
// returns the one it replaced.
ModalAnswerer SetModalAnswerer(ModalAnswerer answerer);
bool HasModalAnswerer();

// Asks the installed answerer; only valid when HasModalAnswerer().
int AnswerModal(const ModalInteraction& interaction);

// Installs an answerer for the life of the object and restores the previous one.
class ScopedModalAnswerer {
public:
    explicit ScopedModalAnswerer(ModalAnswerer answerer) : previous_(SetModalAnswerer(std::move(answerer))) {}
    ~ScopedModalAnswerer() { SetModalAnswerer(std::move(previous_)); }
    ScopedModalAnswerer(const ScopedModalAnswerer&) = delete;
    ScopedModalAnswerer& operator=(const ScopedModalAnswerer&) = delete;

private:
    ModalAnswerer previous_;
};

// MessageBoxA through the seam. `owner` may be null.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);
