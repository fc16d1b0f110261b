#include "app/CopyProgressPage.h"

#include "app/SetupApp.h"
#include "framework/WinApp.h"
#include "resources/ResourceIds.h"

namespace {

SetupApp& App() {
    SetupApp* app = GetSetupApp();
    if (!app) throw CNotSupportedException();
    return *app;
}

}  // namespace

CopyProgressPage::CopyProgressPage() : WizardPage(IDD_COPY) {}

int CopyProgressPage::RunStep() {
    SetupApp& app = App();
    // The source files are not copied yet; an abandoned run ends here,
    // before any program item or log state is written.
    if (!app.continueFlag) return IDD_FAILED;

    app.Services().CreateProgramItems(app.groupName, *app.targets, app.Services().MainDirectory());
    if (app.saveStateToLog && app.logPath)
        app.Services().SaveInstallState(app.logPath->GetPath(), *app.destinations, *app.components, *app.targets);
    return nextPageId;
}

