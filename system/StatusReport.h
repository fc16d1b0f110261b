#pragma once
// The values of the management status report made at exit, in the order the
// status library takes them. Portable: no <windows.h>.

#include <optional>
#include <string>

struct StatusReport {
    std::string reportName;
    std::string manufacturer;
    std::string product;
    std::string version;
    std::string locale;
    std::optional<std::string> serialNumber;  // none: passed as a null text
    std::string statusText;
    bool success = false;
};

// The event the exit step logs when the report could not be written.
constexpr const char* kStatusNotWrittenEvent = "Could not write SMS status.";

// The report of one run: the report name is the stem of the main program's
// file name ("tyviewer.exe" -> "tyviewer"), no manufacturer, version "1.0",
// locale "ENU", no serial number.
StatusReport BuildStatusReport(const std::string& mainProgramName, const std::string& productName,
                               bool continueFlag, const std::string& statusText);
