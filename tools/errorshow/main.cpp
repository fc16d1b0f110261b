// Shows one error report for a disk-full file exception and waits for the
// user (or a driver) to end it. Used for screenshots of the dialog and for
// the driver's end-to-end test.
//   errorshow         the OK-only report; exit code 0
//   errorshow /ask    the ask form; exit code 1 for Continue, 0 otherwise
//   errorshow /box    a Yes/No message box titled "Tessaly Viewer Setup"; exit code its answer

#include <windows.h>

#include <cstring>

#include "errors/ReportException.h"
#include "framework/ModalSeam.h"
#include "resources/ResourceIds.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InstallResourceStringLoader();
    const char* commandLine = ::GetCommandLineA();
    if (std::strstr(commandLine, " /box"))
        return ShowMessageBox(nullptr, "Do you really want to exit Setup?", "Tessaly Viewer Setup",
                              MB_YESNO | MB_ICONQUESTION);
    const bool ask = std::strstr(commandLine, " /ask") != nullptr;
    const CFileException diskFull(CFileException::diskFull, 112, "C:\\TYVIEWER\\TYVIEWER.EXE");
    if (ask) return ConfirmContinueAfterException(IDS_CANNOT_INSTALL_FROM, diskFull, "TYVIEWER.EX_") ? 1 : 0;
    ReportException(IDS_SETUP_CANNOT_CONTINUE, diskFull);
    return 0;
}
