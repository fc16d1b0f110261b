// Shows one error report for a disk-full file exception and waits for the
// user (or a driver) to end it. Used for screenshots of the dialog.

#include <windows.h>

#include "errors/ReportException.h"
#include "resources/ResourceIds.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InstallResourceStringLoader();
    const bool ask = ::GetCommandLineA() && ::strstr(::GetCommandLineA(), " /ask");
    const CFileException diskFull(CFileException::diskFull, 112, "C:\\TYVIEWER\\TYVIEWER.EXE");
    if (ask) return ConfirmContinueAfterException(IDS_CANNOT_INSTALL_FROM, diskFull, "TYVIEWER.EX_") ? 1 : 0;
    ReportException(IDS_SETUP_CANNOT_CONTINUE, diskFull);
    return 0;
}
