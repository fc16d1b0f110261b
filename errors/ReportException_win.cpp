#include "errors/ReportException.h"

#include <windows.h>

#include <cstdarg>

#include "errors/ErrorDialog.h"
#include "errors/ErrorReport.h"
#include "framework/ModalSeam.h"
#include "framework/WinApp.h"

namespace {

std::string LoadFromStringTable(unsigned id) {
    char buffer[2048];
    const int n = ::LoadStringA(GetResourceInstance(), id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

UnattendedReporter& InstalledReporter() {
    static UnattendedReporter reporter;
    return reporter;
}

}  // namespace

UnattendedReporter SetUnattendedReporter(UnattendedReporter reporter) {
    UnattendedReporter previous = std::move(InstalledReporter());
    InstalledReporter() = std::move(reporter);
    return previous;
}

void InstallResourceStringLoader() { SetStringLoader(&LoadFromStringTable); }

void report_detail::Report(unsigned messageId, const CException& e, bool ask, bool* continueAnswer, ...) noexcept {
    if (continueAnswer) *continueAnswer = false;
    std::va_list args;
    va_start(args, continueAnswer);
    try {
        const std::string format = LoadResourceString(messageId);
        ErrorReportTexts texts = BuildErrorReport(messageId, e, FormatHeadlineV(format.c_str(), args));
        INT_PTR result = IDCANCEL;
        if (const UnattendedReporter& unattended = InstalledReporter()) {
            result = unattended(texts, ask) ? IDOK : IDCANCEL;
        } else {
            ErrorDialog dialog(messageId, texts.headline, texts.shortText, texts.longText, texts.errorInformation,
                               ask);
            result = dialog.DoModal();
        }
        if (result == -1) {
            // The template could not be loaded (a damaged executable): the
            // report must still reach the user, so say it in a plain box.
            const UINT type = (ask ? MB_OKCANCEL : MB_OK) | MB_ICONEXCLAMATION;
            result = ShowMessageBox(nullptr,
                                    texts.headline + "\n\n" + texts.shortText + "\n\n" + texts.errorInformation,
                                    "Warning", type);
        }
        if (continueAnswer) *continueAnswer = result == IDOK;
    } catch (...) {
        // Reporting must not fail the caller, which is already handling a
        // failure; the answer stays "do not continue".
    }
    va_end(args);
}
