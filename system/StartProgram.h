#pragma once
// Starting another program without waiting for it: the Program Manager
// when no one answers its conversation, and the clean-up program after an
// uninstall. Windows only.

#include <string>

// The show command both are started with: SW_SHOW, a normal visible window.
constexpr int kStartedProgramShowCommand = 5;

// Starts `commandLine` (WinExec with kStartedProgramShowCommand); true when
// it started. Never waits.
bool StartDetachedProgram(const std::string& commandLine);
