#pragma once
// Pages that do their work as soon as they are shown and then move on:
// reading the profile, copying, registering, removing, unregistering.

#include <string>

#include "app/WizardPage.h"

// 114 "Reading Setup information": loads the profile (or the log) once and
// is passed over afterwards in both directions.
class ReadingPage : public WizardPage {
public:
    ReadingPage();
    bool IsApplicable() override { return wasLeft == 0; }
    int RunStep() override;
};

// 1549 "Registering components...": registers the application, then picks
// the final page from the outcome of the run.
class RegisteringPage : public WizardPage {
public:
    RegisteringPage();
    int RunStep() override;
};

// 1546 "Removing File:": runs the removal pass, showing each file's path.
// Cancel only marks a request; the pass asks the exit question at its next
// file, and Yes ends on the failure page with nothing more removed.
class RemovingPage : public WizardPage {
public:
    RemovingPage();
    int RunStep() override;
    // Next (Enter) does nothing while the pass runs: leaving the page then
    // would unregister a product whose files are still being removed.
    void OnOK() override;
    void OnCancel() override;

    bool cancelRequested = false;

private:
    // The pass's hook before each file. False: stop.
    bool OnRemovingFile(const std::string& path);

    bool running = false;
};

// 1550 "Unregistering components...": removes the application's registration.
class UnregisteringPage : public WizardPage {
public:
    UnregisteringPage();
    int RunStep() override;
};

// What Setup registers about itself for the run of `app`.
struct RegistrationRequest;
class SetupApp;
RegistrationRequest MakeRegistrationRequest(SetupApp& app);
