// The program's binding of the layers below the wizard.

#include <windows.h>

#include "app/FaultPoint.h"
#include "app/SetupApp.h"
#include "framework/Wnd.h"
#include "profile/PrivateProfile.h"
#include "system/InstallStatus.h"
#include "system/ProgmanGroups.h"
#include "system/ProgramGroups.h"
#include "system/RegisterApp.h"
#include "system/ReplaceAtReboot.h"
#include "system/RestartSystem.h"
#include "system/StartProgram.h"
#include "system/StatusReport.h"
#include "uninstall/InstallLogFile.h"
#include "uninstall/RemovalPass.h"
#include "uninstall/SystemRemovalActions.h"

namespace {

class ProgramServices : public InstallServices {
public:
    void LoadProfile(const std::string& path, const std::function<void()>& pump) override {
        SetupApp* app = GetSetupApp();
        if (!app) throw CNotSupportedException();
        ::LoadProfile(FilePath(path), app->Containers(), pump);
    }

    std::string MainDirectory() override {
        SetupApp* app = GetSetupApp();
        return app && app->destinations ? app->destinations->GetPath(DestMain) : std::string();
    }

    bool WriteStatusReport(const StatusReportRequest& request) override {
        StatusReport report;
        report.reportName = request.reportName;
        report.manufacturer = request.manufacturer;
        report.product = request.product;
        report.version = request.version;
        report.locale = request.locale;
        report.statusText = request.statusText;
        report.success = request.success;
        return ReportInstallStatus(report);
    }

    void LogEvent(const std::string& logPath, const std::string& text) override {
        InstallLogFile log{FilePath(logPath)};
        // The text is data, never a format.
        log.LogEvent("%s", text.c_str());
    }

    void CreateProgramItems(const std::string& group, const TargetMap& targets,
                            const std::string& mainDirectory) override {
        ProgramGroups groups;
        for (const Target& target : targets) {
            if (target.path.GetPath().empty()) continue;  // its file was not installed
            std::string iconFile;
            if (!target.iconFile.empty()) {
                FilePath icon(mainDirectory);
                icon.SetFileName(target.iconFile);
                iconFile = icon.GetPath();
            }
            groups.AddProgramItem(group, target.path.GetPath(), target.arguments, target.itemName, iconFile,
                                  target.icon, std::string(), target.minimized ? SW_SHOWMINIMIZED : SW_SHOW,
                                  SW_SHOW);
            PumpMessages();
        }
    }

    void SaveInstallState(const std::string& logPath, const DestinationMap& destinations,
                          const ComponentMap& components, const TargetMap& targets) override {
        FaultPoint("state");
        InstallLogFile log{FilePath(logPath)};
        log.SaveProfileSections(destinations, components, targets);
    }

    void RegisterApplication(const RegistrationRequest& r) override {
        ::RegisterApplication(r.mainDirectory, r.mainProgramName, r.setupPath, r.productName);
    }

    void UnregisterApplication(const RegistrationRequest& r) override {
        ::UnregisterApplication(r.mainDirectory, r.mainProgramName, r.productName);
    }

    std::vector<std::string> ListProgramGroups() override {
        std::vector<std::string> names;
        ProgmanGroups groups;
        if (!groups.ListGroups(names)) names.clear();
        return names;
    }

    bool RestartSystem() override {
        SetupApp* app = GetSetupApp();
        CWinApp* base = GetApp();
        HWND owner = base && base->m_pMainWnd ? base->m_pMainWnd->m_hWnd : nullptr;
        return ::RestartSystem(ProductionRestartHooks(owner, app ? app->setupTitle : std::string()));
    }

    void StartProgram(const std::string& commandLine) override {
        // Not waited for, and a failure to start changes nothing.
        StartDetachedProgram(commandLine);
    }

    std::unique_ptr<InstallRecorder> OpenInstallRecorder(const std::string& logPath) override {
#ifdef TVS_FAULT_POINTS
        // The fault tests stop a run between placing a file and logging it.
        struct StoppableLog : InstallLogFile {
            using InstallLogFile::InstallLogFile;
            void LogFileLine(const std::string& component, const std::string& path, std::int16_t destination,
                             int placed, int replaced) override {
                FaultPoint("log");
                InstallLogFile::LogFileLine(component, path, destination, placed, replaced);
            }
        };
        return std::make_unique<StoppableLog>(FilePath(logPath));
#else
        return std::make_unique<InstallLogFile>(FilePath(logPath));
#endif
    }

    bool ReplaceAtNextStart(const std::string& newFile, const std::string& existingFile) override {
        return ReplaceAtReboot(newFile, existingFile);
    }

    bool RemoveInstallation(const std::string& logPath, const std::string& group,
                            const std::function<bool(const std::string& path)>& progress) override {
        SetupApp* app = GetSetupApp();
        if (!app || !app->destinations || !app->components || !app->targets) throw CNotSupportedException();
        PrivateProfile log{FilePath(logPath)};
        SystemRemovalActions actions(progress, [] { PumpMessages(); });
        RemovalRequest request;
        request.removeAllComponents = app->uninstallMode != 0;
        request.groupName = group;
        // The running copy cannot delete itself: the clean-up program does
        // that after Setup exited, and must itself stay until then.
        request.sparedNames = {RunningModuleFileName(), kCleanupProgramName};
        RemovalPass pass(log, *app->destinations, *app->components, *app->targets, actions);
        return pass.Run(request) == RemovalOutcome::Completed;
    }
};

}  // namespace

std::unique_ptr<InstallServices> CreateProgramServices() { return std::make_unique<ProgramServices>(); }
