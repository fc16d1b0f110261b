// Shows the diskette prompt, or the copy page with its gauge at 40%, and
// waits for the user (or a driver) to end it.
//   mediashow          "Insert Diskette" for a labelled diskette; exit code 1 after OK, 0 otherwise
//   mediashow /number  the same for a diskette without a label
//   mediashow /gauge   the copy page ("Tessaly Viewer Setup"); Cancel ends it

#include <windows.h>

#include <cstring>
#include <string>

#include "archive/DiskettePrompt.h"
#include "archive/Gauge.h"
#include "framework/Dialog.h"
#include "resources/ResourceIds.h"

namespace {

// The copy page's template with the gauge in the place of its frame.
class GaugePage : public CDialog {
public:
    GaugePage() : CDialog(IDD_COPY) {}

protected:
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        gauge_.Create(0x50800000, RECT{}, m_hWnd, IDC_GAUGE);
        gauge_.minimum = 1;
        gauge_.maximum = 1001;
        gauge_.SetPosition(401, false);
        SetDlgItemText(IDC_SOURCEFILE, "TYVIEWER.EX_");
        SetDlgItemText(IDC_DESTFILE, "C:\\TYVIEWER\\TYVIEWER.EXE");
        CenterWindow();
        return true;
    }

private:
    Gauge gauge_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* commandLine = ::GetCommandLineA();
    if (std::strstr(commandLine, " /gauge")) {
        GaugePage page;
        page.DoModal();
        return 0;
    }
    const bool numbered = std::strstr(commandLine, " /number") != nullptr;
    std::string location;
    return DiskettePrompt::Ask("A:\\", "TYVIEWER.EX_", 2, numbered ? "" : "Tessaly Viewer Disk 2", location) ? 1 : 0;
}
