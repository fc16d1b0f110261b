#pragma once
// What the wizard asks of the data model and of the system layers: reading
// the profile, the status report, log events, registration, removal, the
// group list, the restart and starting a program. The wizard calls only
// through this interface; the base does nothing visible, and the program
// binds the real layers in a subclass. Tests record the calls. Portable.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/InstallEntry.h"

class ComponentMap;
class DestinationMap;
class TargetMap;

// The values of the status report made at exit, in the report's order.
struct StatusReportRequest {
    std::string reportName;    // stem of the main program's name
    std::string manufacturer;  // always empty
    std::string product;
    std::string version;       // "1.0"
    std::string locale;        // "ENU"
    std::string statusText;    // "Successful installation." or "Install failed."
    bool success = false;
};

// What the registration step registers: the main program's application
// path, the uninstall entry (Setup's own name in the main directory and
// " /U") and the viewer's file associations.
struct RegistrationRequest {
    std::string mainDirectory;    // directory of destination 0
    std::string mainProgramName;  // file name of the main program
    std::string setupPath;        // Setup's own executable, as it was started
    std::string productName;      // display name of the uninstall entry
};

class InstallServices {
public:
    virtual ~InstallServices() = default;

    // Reads the profile (or, in uninstall mode, the log) at `path` into the
    // data model, calling `pump` after each section. Throws the profile
    // exception when the file is missing or damaged.
    virtual void LoadProfile(const std::string& path, const std::function<void()>& pump) {
        (void)path;
        (void)pump;
    }
    // The directory of destination 0 with a trailing backslash; "" when unknown.
    virtual std::string MainDirectory() { return {}; }
    // Writes the status report; false when it could not be written.
    virtual bool WriteStatusReport(const StatusReportRequest& request) {
        (void)request;
        return true;
    }
    // Appends a timestamped event to the install log at `logPath`.
    virtual void LogEvent(const std::string& logPath, const std::string& text) {
        (void)logPath;
        (void)text;
    }
    // Creates one program item in `group` for every target with an installed
    // path; the icon files are in `mainDirectory`. Items that cannot be
    // created are simply missing.
    virtual void CreateProgramItems(const std::string& group, const TargetMap& targets,
                                    const std::string& mainDirectory) {
        (void)group;
        (void)targets;
        (void)mainDirectory;
    }
    // Writes the "destinations", "groups" and "targets" sections into the
    // install log at `logPath`, so that the uninstall can read them back.
    virtual void SaveInstallState(const std::string& logPath, const DestinationMap& destinations,
                                  const ComponentMap& components, const TargetMap& targets) {
        (void)logPath;
        (void)destinations;
        (void)components;
        (void)targets;
    }
    // Registers the application path, the uninstall entry and the
    // associations. Failures only leave entries out.
    virtual void RegisterApplication(const RegistrationRequest& request) { (void)request; }
    // Removes the application path and the uninstall entry.
    virtual void UnregisterApplication(const RegistrationRequest& request) { (void)request; }
    // The existing program groups; empty when the shell cannot be asked.
    virtual std::vector<std::string> ListProgramGroups() { return {}; }
    // Asks the system to restart; when it refuses, says so (string 23) and
    // returns false.
    virtual bool RestartSystem() { return false; }
    // Starts `commandLine` in a normal window without waiting; failures are ignored.
    virtual void StartProgram(const std::string& commandLine) { (void)commandLine; }

    // Where the copy engine records every handled file: the install log at
    // `logPath`, which also counts the users of System-directory files.
    // Base: a recorder that keeps nothing.
    virtual std::unique_ptr<InstallRecorder> OpenInstallRecorder(const std::string& logPath) {
        (void)logPath;
        struct Nothing : InstallRecorder {
            void LogFileLine(const std::string&, const std::string&, std::int16_t, int, int) override {}
        };
        return std::make_unique<Nothing>();
    }
    // Arranges that `newFile` replaces `existingFile` at the next system
    // start; false when it could not be arranged.
    virtual bool ReplaceAtNextStart(const std::string& newFile, const std::string& existingFile) {
        (void)newFile;
        (void)existingFile;
        return false;
    }
};
