#pragma once
// 108 copy progress: the install worker.

#include "app/WizardPage.h"

class CopyProgressPage : public WizardPage {
public:
    CopyProgressPage();
    int RunStep() override;
};
