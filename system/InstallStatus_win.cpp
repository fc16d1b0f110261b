#include "system/InstallStatus.h"

#include <windows.h>

namespace {

// The status library's entry point: eight arguments, the platform's
// standard calling convention for library functions.
using InstallStatusMifFn = BOOL(WINAPI*)(const char* reportName, const char* manufacturer,
                                         const char* product, const char* version,
                                         const char* locale, const char* serialNumber,
                                         const char* statusText, BOOL success);

class LibraryHandle {
public:
    explicit LibraryHandle(HMODULE module) : module(module) {}
    ~LibraryHandle() {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }
    LibraryHandle(const LibraryHandle&) = delete;
    LibraryHandle& operator=(const LibraryHandle&) = delete;
    HMODULE Get() const { return module; }

private:
    HMODULE module;
};

}  // namespace

bool ReportInstallStatusFrom(const std::string& libraryName, const StatusReport& report) {
    LibraryHandle library(LoadLibraryA(libraryName.c_str()));
    if (library.Get() == nullptr) {
        return false;
    }
    auto function = reinterpret_cast<InstallStatusMifFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(library.Get(), kStatusFunction)));
    if (function == nullptr) {
        return false;
    }
    const char* serial = report.serialNumber ? report.serialNumber->c_str() : nullptr;
    BOOL written = function(report.reportName.c_str(), report.manufacturer.c_str(),
                            report.product.c_str(), report.version.c_str(),
                            report.locale.c_str(), serial, report.statusText.c_str(),
                            report.success ? TRUE : FALSE);
    return written != FALSE;
}

bool ReportInstallStatus(const StatusReport& report) {
    return ReportInstallStatusFrom(kStatusLibrary, report);
}

bool ReportInstallStatus(const std::string& reportName, const std::string& manufacturer,
                         const std::string& product, const std::string& version,
                         const std::string& statusText, bool success, const std::string& locale,
                         const char* serialNumber) {
    StatusReport report;
    report.reportName = reportName;
    report.manufacturer = manufacturer;
    report.product = product;
    report.version = version;
    report.locale = locale;
    if (serialNumber != nullptr) {
        report.serialNumber = serialNumber;
    }
    report.statusText = statusText;
    report.success = success;
    return ReportInstallStatus(report);
}

bool ReportRunOutcome(const std::string& mainProgramName, const std::string& productName,
                      bool continueFlag, const std::string& statusText,
                      const std::function<void(const std::string& event)>& logEvent) {
    const bool written =
        ReportInstallStatus(BuildStatusReport(mainProgramName, productName, continueFlag, statusText));
    if (!written && logEvent) {
        logEvent(kStatusNotWrittenEvent);
    }
    return written;
}
