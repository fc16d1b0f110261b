#include "system/StatusReport.h"

StatusReport BuildStatusReport(const std::string& mainProgramName, const std::string& productName,
                               bool continueFlag, const std::string& statusText) {
    StatusReport report;
    // The stem: the file name without directory and without its extension.
    std::string name = mainProgramName;
    const std::size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos) {
        name = name.substr(slash + 1);
    }
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) {
        name = name.substr(0, dot);
    }
    report.reportName = name;
    report.manufacturer = "";
    report.product = productName;
    report.version = "1.0";
    report.locale = "ENU";
    report.serialNumber = std::nullopt;
    report.statusText = statusText;
    report.success = continueFlag;
    return report;
}
