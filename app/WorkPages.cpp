#include "app/WorkPages.h"

#include "app/SetupApp.h"
#include "app/WizardIds.h"
#include "framework/WinApp.h"

const char* const kAssociatedExtensionLists[2] = {".msl,.pdb,.ent,.mol,.mdl,.sd,.car",
                                                  ".csd,.fdat,.msf,.mol2,.tyd,.cpd,.xyz,.skc"};

namespace {

SetupApp& App() {
    SetupApp* app = GetSetupApp();
    if (!app) throw CNotSupportedException();
    return *app;
}

// The page after a placeholder work step: the failure page once the run
// has been abandoned.
int NextUnlessAbandoned(int nextPageId) { return App().continueFlag ? nextPageId : IDD_FAILED; }

}  // namespace

ReadingPage::ReadingPage() : WizardPage(IDD_READING) {}

int ReadingPage::RunStep() {
    SetupApp& app = App();
    app.Services().LoadProfile(app.profilePath ? app.profilePath->GetPath() : std::string(),
                               [] { PumpMessages(); });
    return nextPageId;
}

CopyProgressPage::CopyProgressPage() : WizardPage(IDD_COPY) {}

int CopyProgressPage::RunStep() { return NextUnlessAbandoned(nextPageId); }

RegisteringPage::RegisteringPage() : WizardPage(IDD_REGISTERING) {}

int RegisteringPage::RunStep() {
    SetupApp& app = App();
    const std::string mainDirectory = app.Services().MainDirectory();

    char module[MAX_PATH + 1] = "";
    ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    // Setup registers itself under the name it was started with.
    const std::string setupName = FilePath(module).GetFileName();

    RegistrationRequest request;
    request.mainProgramPath = mainDirectory + app.mainProgramName;
    request.displayName = app.productName;
    request.uninstallCommand = mainDirectory + setupName + " /U";
    for (const char* list : kAssociatedExtensionLists) request.extensionLists.push_back(list);
    app.Services().RegisterApplication(request);

    if (!app.continueFlag)
        nextPageId = IDD_FAILED;
    else if (app.restartNeeded)
        nextPageId = IDD_RESTART;
    else
        nextPageId = IDD_FINISHED;
    return nextPageId;
}

RemovingPage::RemovingPage() : WizardPage(IDD_REMOVING) {}

int RemovingPage::RunStep() { return NextUnlessAbandoned(nextPageId); }

UnregisteringPage::UnregisteringPage() : WizardPage(IDD_UNREGISTERING) {}

int UnregisteringPage::RunStep() {
    SetupApp& app = App();
    app.Services().UnregisterApplication(app.mainProgramName, app.productName);
    return nextPageId;
}
