#include "app/WorkPages.h"

#include "app/ButtonBar.h"
#include "app/SetupApp.h"
#include "resources/ResourceIds.h"
#include "framework/WinApp.h"
#include "uninstall/RemovalPass.h"

namespace {

SetupApp& App() {
    SetupApp* app = GetSetupApp();
    if (!app) throw CNotSupportedException();
    return *app;
}

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

int RemovingPage::RunStep() {
    SetupApp& app = App();
    // A run abandoned already (the backdrop closed) removes nothing.
    if (!app.continueFlag) {
        MarkCancelled();
        return nextPageId;
    }
    struct RunningGuard {
        explicit RunningGuard(RemovingPage& page) : page(page) {
            page.running = true;
            if (page.buttonBar) page.buttonBar->EnableNavigation(false);
        }
        ~RunningGuard() {
            page.running = false;
            if (page.buttonBar) page.buttonBar->EnableNavigation(true);
        }
        RemovingPage& page;
    } guard(*this);
    const bool completed =
        app.Services().RemoveInstallation(app.logPath ? app.logPath->GetPath() : std::string(), app.groupName,
                                          [this](const std::string& path) { return OnRemovingFile(path); });
    if (!completed) MarkCancelled();
    return nextPageId;
}

void RemovingPage::OnOK() {
    if (!running) WizardPage::OnOK();
}

void RemovingPage::OnCancel() { cancelRequested = true; }

bool RemovingPage::OnRemovingFile(const std::string& path) {
    SetDlgItemText(IDC_REMOVINGFILE, path);
    PumpMessages();
    if (!App().continueFlag) return false;
    if (GoOnAfterCancelRequest(cancelRequested, [this] { return ConfirmCancel(); })) return true;
    MarkCancelled();
    return false;
}

UnregisteringPage::UnregisteringPage() : WizardPage(IDD_UNREGISTERING) {}

int UnregisteringPage::RunStep() {
    SetupApp& app = App();
    app.Services().UnregisterApplication(MakeRegistrationRequest(app));
    return nextPageId;
}
