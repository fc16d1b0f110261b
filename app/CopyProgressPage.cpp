#include "app/CopyProgressPage.h"

#include <new>

#include "app/SetupApp.h"
#include "archive/InstallEntry.h"
#include "errors/ReportException.h"
#include "framework/WinApp.h"
#include "resources/ResourceIds.h"
#include "uninstall/DataModelInstallSite.h"

ProgressSink* activeCopyPage = nullptr;

namespace {

SetupApp& App() {
    SetupApp* app = GetSetupApp();
    if (!app) throw CNotSupportedException();
    return *app;
}

// activeCopyPage for the life of one worker run, also when it throws.
class ActiveCopyPageScope {
public:
    explicit ActiveCopyPageScope(ProgressSink* page) { activeCopyPage = page; }
    ~ActiveCopyPageScope() { activeCopyPage = nullptr; }
    ActiveCopyPageScope(const ActiveCopyPageScope&) = delete;
    ActiveCopyPageScope& operator=(const ActiveCopyPageScope&) = delete;
};

}  // namespace

void SourceProgressHook::OnProgress() {
    const SetupApp* app = GetSetupApp();
    if (app && app->continueFlag && activeCopyPage) activeCopyPage->OnProgress();
}

CopyProgressPage::CopyProgressPage() : WizardPage(IDD_COPY) {}

CopyProgressPage::~CopyProgressPage() {
    if (activeCopyPage == this) activeCopyPage = nullptr;
}

bool CopyProgressPage::OnInitDialog() {
    WizardPage::OnInitDialog();
    gauge.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, RECT{}, m_hWnd, IDC_GAUGE);
    return true;
}

void CopyProgressPage::OnCancel() { cancelRequested = 1; }

int CopyProgressPage::RunStep() {
    SetupApp& app = App();
    InstallServices& services = app.Services();

    const auto total = static_cast<std::uint32_t>(app.sourceFiles->RequiredBytes());
    gauge.SetRange(1, total);
    gauge.SetPosition(0, false);

    std::unique_ptr<InstallRecorder> log =
        services.OpenInstallRecorder(app.logPath ? app.logPath->GetPath() : std::string());
    DataModelInstallSite dataModel(
        *app.destinations, *app.targets,
        [&services](const std::string& newFile, const std::string& existingFile) {
            return services.ReplaceAtNextStart(newFile, existingFile);
        },
        [&app] { app.restartNeeded = 1; });
    recorder = log.get();
    site = &dataModel;
    struct Release {
        CopyProgressPage* page;
        ~Release() {
            page->recorder = nullptr;
            page->site = nullptr;
        }
    } release{this};
    ActiveCopyPageScope active(this);

    for (SourceFile& sourceFile : *app.sourceFiles) {
        if (sourceFile.component && sourceFile.component->selected) InstallSourceFile(sourceFile);
        // An abandoned run stops here: no program items and no log state,
        // so that the uninstall does not claim what was never installed.
        if (!app.continueFlag) return IDD_FAILED;
    }

    services.CreateProgramItems(app.groupName, *app.targets, services.MainDirectory());
    if (app.saveStateToLog && app.logPath)
        services.SaveInstallState(app.logPath->GetPath(), *app.destinations, *app.components, *app.targets);
    return nextPageId;
}

void CopyProgressPage::InstallSourceFile(SourceFile& sourceFile) {
    SetupApp& app = App();
    ShowText(IDC_SOURCEFILE, sourceFile.name, shownSource);
    UpdateWindow();

    SourceProgressHook hook;
    CMediaMultiFile file(&app, &hook, sourceFile.diskette);
    file.blockSize = kTickBytes;
    try {
        if (!app.LocateSourceFile(sourceFile.name, sourceFile.diskette)) {
            app.continueFlag = 0;
            throw CUserException();
        }
        FilePath sourcePath(*app.sourceDir);
        sourcePath.SetFileName(sourceFile.name);

        switch (sourceFile.kind) {
        case SourceSingleFile:
            if (sourceFile.destination == -1) {
                AddDoneBytes(static_cast<std::uint32_t>(sourceFile.size));
            } else {
                file.OpenRead(sourcePath, true);
                InstallSingleFile(file, sourceFile, sourcePath);
            }
            break;
        case SourceArchive:
            file.OpenArchive(sourcePath);
            InstallMembers(file, sourceFile);
            // Following the archive onto later diskettes moved it on.
            sourceFile.diskette = file.diskette;
            break;
        default:
            break;
        }
        file.Abort();
    } catch (const CUserException&) {
        file.Abort();
        MarkCancelled();
    } catch (const CException& e) {
        file.Abort();
        const std::string name = FilePath(sourceFile.name).GetFileName();
        if (!ConfirmContinueAfterException(IDS_CANNOT_INSTALL_FROM, e, name.c_str())) app.continueFlag = 0;
    } catch (const std::bad_alloc&) {
        file.Abort();
        const std::string name = FilePath(sourceFile.name).GetFileName();
        if (!ConfirmContinueAfterException(IDS_CANNOT_INSTALL_FROM, CMemoryException(), name.c_str()))
            app.continueFlag = 0;
    }
}

void CopyProgressPage::InstallSingleFile(CMediaMultiFile& file, SourceFile& sourceFile,
                                         const std::string& sourcePath) {
    const std::string componentKey = sourceFile.component ? sourceFile.component->key : std::string();
    CInstallEntry entry(file, componentKey, *recorder, *site);
    entry.PrepareSingleFile(sourcePath, static_cast<std::int16_t>(sourceFile.destination),
                            static_cast<std::uint32_t>(sourceFile.size));
    InstallEntry(entry);
}

void CopyProgressPage::InstallMembers(CMediaMultiFile& file, SourceFile& sourceFile) {
    SetupApp& app = App();
    const std::string componentKey = sourceFile.component ? sourceFile.component->key : std::string();
    CInstallEntry entry(file, componentKey, *recorder, *site);
    while (file.NextEntry(entry, false)) {
        PumpMessages();
        if (!app.continueFlag) return;
        InstallEntry(entry);
    }
}

void CopyProgressPage::InstallEntry(CInstallEntry& entry) {
    struct Current {
        CopyProgressPage* page;
        ~Current() { page->currentEntry = nullptr; }
    } current{this};
    currentEntry = &entry;
    entry.Install();
    AddDoneBytes(entry.header.DecodedSize());
}

void CopyProgressPage::OnProgress() {
    if (!currentEntry) return;
    SetupApp& app = App();
    const std::uint32_t position = doneBytes + currentEntry->writeCount;
    PumpMessages();
    if (cancelRequested) {
        if (ConfirmCancel()) {
            // The member is still decoded to its end; its extraction then
            // ends the install with a user abort, and nothing of it is kept.
            currentEntry->owner.Abort();
            app.continueFlag = 0;
            nextPageId = IDD_FAILED;
            return;
        }
        cancelRequested = 0;
    }
    gauge.SetPosition(position, true);
    ShowText(IDC_DESTFILE, currentEntry->finalPath.GetPath(), shownDestination);
}

void CopyProgressPage::ShowText(int control, const std::string& text, std::string& shown) {
    // Setting the same text again repaints the control for nothing, and the
    // tick comes every few kilobytes.
    if (!m_hWnd || text == shown) return;
    shown = text;
    SetDlgItemText(control, text);
}
