#include "app/FailureReport.h"

#include "app/SetupApp.h"
#include "app/WizardIds.h"
#include "framework/ModalSeam.h"

void ReportSetupFailure(const CException& e) noexcept {
    try {
        std::string text = SetupApp::LoadText(IDS_SETUP_CANNOT_CONTINUE);
        if (text.empty()) text = "Setup cannot continue";
        text += "\n\n";
        text += e.GetRuntimeClass()->className;
        ShowMessageBox(nullptr, text, "Warning", MB_OK | MB_ICONEXCLAMATION);
    } catch (...) {
        // Nothing is left to tell the user with.
    }
}
