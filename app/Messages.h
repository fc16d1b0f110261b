#pragma once
// Private window messages of Setup, by name.

// A page posts this to itself when it has been shown; its handler runs the
// page's work step (WizardPage::RunStep). No parameters. The framework's
// first user message (WM_USER, 0x0400) plus 201.
constexpr unsigned WM_SETUP_RUNSTEP = 0x0400 + 201;
