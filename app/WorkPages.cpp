#include "app/WorkPages.h"

#include "app/SetupApp.h"
#include "resources/ResourceIds.h"
#include "framework/WinApp.h"

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

RegisteringPage::RegisteringPage() : WizardPage(IDD_REGISTERING) {}

RegistrationRequest MakeRegistrationRequest(SetupApp& app) {
    RegistrationRequest request;
    request.mainDirectory = app.Services().MainDirectory();
    request.mainProgramName = app.mainProgramName;
    char module[MAX_PATH + 1] = "";
    // Setup registers itself under the name it was started with.
    ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    request.setupPath = module;
    request.productName = app.productName;
    return request;
}

int RegisteringPage::RunStep() {
    SetupApp& app = App();
    app.Services().RegisterApplication(MakeRegistrationRequest(app));

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
    app.Services().UnregisterApplication(MakeRegistrationRequest(app));
    return nextPageId;
}
