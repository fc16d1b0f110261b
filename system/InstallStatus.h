#pragma once
// The management status report made at exit, through the optional library
// "ismif32.dll" and its function InstallStatusMIF. Windows only.

#include <functional>
#include <string>

#include "system/StatusReport.h"

// Name of the status library and of its one function.
constexpr const char* kStatusLibrary = "ismif32.dll";
constexpr const char* kStatusFunction = "InstallStatusMIF";

// Loads the library for this one call, calls the function with the eight
// values (report name, manufacturer, product, version, locale, serial
// number, status text, success) and frees it. False when the library or the
// function is missing or the function reports failure.
bool ReportInstallStatus(const std::string& reportName, const std::string& manufacturer,
                         const std::string& product, const std::string& version,
                         const std::string& statusText, bool success, const std::string& locale,
                         const char* serialNumber);
bool ReportInstallStatus(const StatusReport& report);

// The same from a library of another name (tests use it for a library
// without the function).
bool ReportInstallStatusFrom(const std::string& libraryName, const StatusReport& report);

// The exit step's report: builds the values of one run and, when the report
// cannot be written, hands "Could not write SMS status." to logEvent (the
// install log's event writer). Returns the report's result.
bool ReportRunOutcome(const std::string& mainProgramName, const std::string& productName,
                      bool continueFlag, const std::string& statusText,
                      const std::function<void(const std::string& event)>& logEvent);
