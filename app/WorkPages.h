#pragma once
// Pages that do their work as soon as they are shown and then move on:
// reading the profile, copying, registering, removing, unregistering.

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

// 1546 "Removing File:". The removal pass takes this place; until then the
// step removes nothing and only honours an abandoned run.
class RemovingPage : public WizardPage {
public:
    RemovingPage();
    int RunStep() override;
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
