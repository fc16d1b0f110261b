#pragma once
// 104 "Select Directory": proposes the main install directory on the first
// fixed disk, lets the user type or browse for another, and on Next creates
// it, makes it destination 0, resolves the other destinations from it and
// selects the Typical components.

#include <set>
#include <string>

#include "app/DriveEnumerator.h"
#include "app/WizardPage.h"

class DirectoryPage : public WizardPage {
public:
    DirectoryPage();

    // Drive types for the proposal; tests give their own machine.
    void SetDriveTypes(DriveEnumerator::TypeQuery query) { driveTypes_ = std::move(query); }

    void OnOK() override;

    std::string directoryText;  // edit 1001

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;

private:
    void Browse();
    void ApplyDirectory(const std::string& path);

    DriveEnumerator::TypeQuery driveTypes_;
    // Destinations whose paths the first resolution derived: a later Next
    // (after Back) derives them again from the new main directory.
    std::set<int> derived_;
    bool resolvedOnce_ = false;
};
