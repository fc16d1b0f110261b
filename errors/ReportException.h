#pragma once
// The two report operations: every failure the user sees goes through one of
// them, as the "Warning" dialog.
//
// The string-table entry `messageId` is a printf-style format filled with
// `args` (numbers and C strings only) into a 512-byte headline; a longer
// headline is cut. Framework exceptions are converted into the family for
// the report; `e` itself is left alone. Neither operation throws.

#include <functional>
#include <type_traits>

#include "errors/ErrorReport.h"
#include "errors/SetupException.h"

namespace report_detail {
// Formats, builds and shows one report; stores the answer when `continueAnswer` is given.
void Report(unsigned messageId, const CException& e, bool ask, bool* continueAnswer, ...) noexcept;
}

// Shows the report with an OK button only.
template <class... Args>
void ReportException(unsigned messageId, const CException& e, Args... args) noexcept {
    static_assert(((std::is_arithmetic<Args>::value || std::is_pointer<Args>::value) && ...),
                  "headline arguments are numbers and C strings");
    report_detail::Report(messageId, e, false, nullptr, args...);
}

// Shows the report with "Continue Operation" and "Cancel Operation". True
// exactly when the user chose to continue; Cancel, Escape and closing the
// window give false.
template <class... Args>
bool ConfirmContinueAfterException(unsigned messageId, const CException& e, Args... args) noexcept {
    static_assert(((std::is_arithmetic<Args>::value || std::is_pointer<Args>::value) && ...),
                  "headline arguments are numbers and C strings");
    bool answer = false;
    report_detail::Report(messageId, e, true, &answer, args...);
    return answer;
}

// Where reports go in a run that nobody watches (batch mode): the texts of
// the report and whether it asks; the result is the answer (true:
// continue). An empty function, the default, shows the dialog.
using UnattendedReporter = std::function<bool(const ErrorReportTexts& texts, bool ask)>;
// Installs `reporter` and returns the one it replaced.
UnattendedReporter SetUnattendedReporter(UnattendedReporter reporter);

// Makes LoadResourceString read the program's string table (LoadStringA).
// Called once at start-up by the Windows build.
void InstallResourceStringLoader();
