#include "system/StartProgram.h"

#include <windows.h>

static_assert(kStartedProgramShowCommand == SW_SHOW, "programs are started shown, in a normal window");

bool StartDetachedProgram(const std::string& commandLine) {
    // WinExec answers 32 or more when the program started.
    return ::WinExec(commandLine.c_str(), kStartedProgramShowCommand) > 31;
}
