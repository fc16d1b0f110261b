#include "app/SetupApp.h"

#include <vector>

#include "app/ChangeFolderDlg.h"
#include "app/FailureReport.h"
#include "app/MainWnd.h"
#include "app/StartupText.h"
#include "resources/ResourceIds.h"
#include "app/WizardPage.h"
#include "archive/DiskettePrompt.h"
#include "archive/FileStatus.h"
#include "archive/InstallEntry.h"
#include "errors/ReportException.h"
#include "profile/PrivateProfile.h"

SetupApp::SetupApp() = default;

SetupApp::~SetupApp() {
    // A run that never reached ExitInstance (a test that stops early) must
    // still not leave pages behind that point at this object.
    WizardPages().Clear();
    if (quietMode) SetUnattendedReporter(nullptr);
}

SetupApp* GetSetupApp() { return dynamic_cast<SetupApp*>(GetApp()); }

ProfileContainers SetupApp::Containers() {
    if (!destinations || !components || !targets || !sourceFiles || !diskettes) throw CNotSupportedException();
    return ProfileContainers{*destinations, *components, *targets, *sourceFiles, *diskettes};
}

InstallServices& SetupApp::Services() {
    if (!services_) services_ = std::make_unique<InstallServices>();
    return *services_;
}

std::string SetupApp::LoadText(unsigned id) {
    char buffer[1024] = "";
    const int length = ::LoadStringA(GetResourceInstance(), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

namespace {
std::string ModulePath() {
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}
}  // namespace

bool SetupApp::InitInstance() {
    try {
        return StartUp();
    } catch (...) {
        // A start-up that did not finish (the first page could not be
        // shown) is a failed run: exit code 1, "Install failed.", and in
        // uninstall mode no clean-up program, which would delete this Setup
        // while the product stays.
        continueFlag = 0;
        throw;
    }
}

bool SetupApp::StartUp() {
    if (!services_) services_ = CreateProgramServices();
    InstallResourceStringLoader();
    DiskettePrompt::SetFolderPicker(&PickFolderReadOnly);
    SetDefaultFileStatusPlatform(&Win32FileStatus());

    destinations = NewDestinationMap();
    components = std::make_unique<ComponentMap>();
    targets = std::make_unique<TargetMap>();
    sourceFiles = std::make_unique<SourceFileList>();
    diskettes = std::make_unique<DisketteArray>();

    setupTitle = LoadText(IDS_SETUP_TITLE);
    groupName = LoadText(IDS_GROUP_NAME);
    mainProgramName = LoadText(IDS_MAIN_PROGRAM);
    productName = LoadText(IDS_PRODUCT_NAME);

    const std::string module = ModulePath();
    profilePath = std::make_unique<FilePath>(ProfilePathFor(module));
    sourceDir = std::make_unique<FilePath>(SourceDirFor(module));
    logPath = std::make_unique<FilePath>(FilePath(FilePathKind::kWindowsDirectory));
    logPath->SetFileName("TYViewer.log");
    saveStateToLog = 1;

    SetDialogBkColor(RGB(192, 192, 192), RGB(0, 0, 0));

    ApplySwitches();
    if (quietMode) {
        // Nobody watches a quiet run: a report that waited for OK would hold
        // a deployment forever. The report goes into the log's events and
        // is answered "stop"; the exit code and the status report say the
        // run failed. A batch run without /Q still shows its reports, so a
        // person at the screen can go on past one damaged file.
        SetUnattendedReporter([this](const ErrorReportTexts& texts, bool) {
            LogUnattendedEvent(texts.headline + " " + texts.shortText + " (" + texts.errorInformation + ")");
            return false;
        });
    }

    auto* backdrop = new CMainWnd;
    if (!backdrop->Create()) {
        delete backdrop;
        // A run that never started has not succeeded: the status report and
        // the exit code say so.
        continueFlag = 0;
        return false;
    }
    m_pMainWnd = backdrop;

    if (uninstallMode) {
        *profilePath = logPath->GetPath();
        ShowPage(IDD_UNINSTALL_WELCOME, false);
    } else {
        ShowPage(IDD_WELCOME, false);
    }
    return true;
}

void SetupApp::ApplySwitches() {
    switches = ParseSwitches(m_lpCmdLine);
    const SwitchSettings settings = ReadSwitchSettings(switches);
    if (settings.hasDirectory) {
        ApplyDirectorySwitch(*sourceDir, settings.directory);
        ApplyDirectorySwitch(*profilePath, settings.directory);
    }
    if (settings.uninstallMode) uninstallMode = 1;
    if (settings.batchMode) batchMode = 1;
    if (settings.quietMode) quietMode = 1;
    if (settings.ignoreConditions) ignoreConditions = 1;
}

int SetupApp::ExitInstance() {
    WizardPages().Clear();
    if (quietMode) SetUnattendedReporter(nullptr);

    StatusReportRequest report;
    report.reportName = StatusReportName(mainProgramName);
    report.product = productName;
    report.version = "1.0";
    report.locale = "ENU";
    report.statusText = LoadText(continueFlag ? IDS_STATUS_SUCCESS : IDS_STATUS_FAILED);
    report.success = continueFlag != 0;
    if (!Services().WriteStatusReport(report) && logPath)
        Services().LogEvent(logPath->GetPath(), "Could not write SMS status.");

    destinations.reset();
    components.reset();
    targets.reset();
    sourceFiles.reset();
    diskettes.reset();
    profilePath.reset();
    sourceDir.reset();
    logPath.reset();

    if (uninstallMode && continueFlag) StartCleanupProgram();

    // The exit code tells a batch deployment whether the run succeeded.
    exitCode_ = ExitCodeFor(continueFlag != 0, quietMode != 0, restartNeeded != 0);
    return CWinApp::ExitInstance();
}

void SetupApp::StartCleanupProgram() {
    std::string longPath = ProfilePathFor(ModulePath());
    std::vector<char> shortPath(longPath.size() + 1, '\0');
    const DWORD length =
        ::GetShortPathNameA(longPath.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    // A failed (or, oddly, longer) conversion leaves the long path in use.
    const std::string argument = (length > 0 && length < shortPath.size()) ? std::string(shortPath.data(), length)
                                                                            : longPath;
    Services().StartProgram(CleanupCommandLine(FilePath(FilePathKind::kSystemDirectory).GetPath(), argument));
}

bool SetupApp::LocateSourceFile(const std::string& fileName, int diskette) {
    // A source named like a device (AUX, CON, COM1.A1, ...) would open the
    // device wherever it is looked for, and reading an archive header from
    // a serial port can wait for ever. Refuse it like any unusable name.
    if (IsDeviceName(FilePath(fileName).GetFileName()))
        throw CFileException(CFileException::badPath, -1, fileName);
    if (!sourceDir) return false;
    FilePath lookedFor(*sourceDir);
    lookedFor.SetFileName(fileName);
    if (lookedFor.Exists()) return true;

    // Diskette images copied to a disk sit side by side: DISK01, DISK02, ...
    std::string sibling = lookedFor.GetDirectory();
    if (const std::string next = SiblingDisketteDirectory(sibling, diskette); !next.empty()) {
        FilePath candidate;
        candidate.SetFullDirectory(next);
        candidate.SetFileName(fileName);
        if (candidate.Exists()) {
            candidate.SetFileName("");
            *sourceDir = candidate;
            return true;
        }
    }

    if (quietMode) {
        // Nobody can insert a diskette in a quiet run: it fails here, and
        // the log says which file was missing.
        LogUnattendedEvent("Cannot find '" + lookedFor.GetPath() + "' of diskette " + std::to_string(diskette) + ".");
        return false;
    }
    std::string label;
    if (diskettes) diskettes->GetLabel(diskette, label);
    std::string location;
    if (!DiskettePrompt::Ask(sourceDir->GetPath(), fileName, diskette, label, location)) return false;
    FilePath chosen;
    chosen.SetFullDirectory(location);
    *sourceDir = chosen;
    return true;
}

LRESULT SetupApp::ProcessWndProcException(const CException& e, const MSG*) {
    ReportSetupFailure(e);
    if (batchMode) FailUnattendedRun();
    return 0;
}

void SetupApp::FailUnattendedRun() {
    // A page that stays after its Next was refused waits for a user who can
    // correct something. A batch run has nobody to type, and its automatic
    // Next has been used: it would wait for ever. It fails and ends on the
    // failure page instead.
    if (!batchMode) return;
    continueFlag = 0;
    ShowPage(IDD_FAILED, false);
}

void SetupApp::LogUnattendedEvent(const std::string& text) {
    if (logPath) Services().LogEvent(logPath->GetPath(), text);
}
