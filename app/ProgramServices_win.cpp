// The program's binding of the layers below the wizard.

#include <windows.h>

#include "app/SetupApp.h"

namespace {

class ProgramServices : public InstallServices {
public:
    void StartProgram(const std::string& commandLine) override {
        // Not waited for, and a failure to start changes nothing.
        ::WinExec(commandLine.c_str(), SW_SHOWNORMAL);
    }
};

}  // namespace

std::unique_ptr<InstallServices> CreateProgramServices() { return std::make_unique<ProgramServices>(); }
