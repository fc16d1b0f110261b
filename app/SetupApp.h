#pragma once
// The application object: every piece of install state for the life of the
// process, start-up and shut-down. Reached through GetSetupApp().

#include <memory>
#include <string>

#include "app/InstallServices.h"
#include "app/SwitchTable.h"
#include "archive/MediaMultiFile.h"
#include "framework/WinApp.h"
#include "profile/ComponentMap.h"
#include "profile/DestinationMap.h"
#include "profile/DisketteArray.h"
#include "profile/ProfileLoader.h"
#include "profile/SourceFileList.h"
#include "profile/TargetMap.h"
#include "support/FilePath.h"

class SetupApp : public CWinApp, public SourceLocator {
public:
    SetupApp();
    ~SetupApp() override;

    // Builds the state, applies the switches, creates the backdrop and shows
    // the first page. False when the backdrop cannot be created. Whatever
    // it throws clears continueFlag first.
    bool InitInstance() override;
    // Destroys the pages, reports the outcome, frees the state and, after a
    // good uninstall, starts the clean-up program. Returns the exit code:
    // 0 when the run succeeded, 1 otherwise.
    int ExitInstance() override;
    // Reports an exception that escaped a message handler as "Setup cannot
    // continue"; nothing else changes, except in a batch run, which then
    // fails and goes to the failure page (no one could correct anything).
    LRESULT ProcessWndProcException(const CException& e, const MSG* msg) override;

    // In a batch run, after a page refused its Next (its report or box was
    // shown, or in a quiet run logged): the run fails and goes to the
    // failure page, whose automatic Next ends it with exit code 1. Does
    // nothing in an interactive run, where the user may correct the page.
    void FailUnattendedRun();
    // Appends `text` to the install log's events: where a quiet run says
    // what it would otherwise have shown.
    void LogUnattendedEvent(const std::string& text);

    // The layers below the wizard. Tests install their own before
    // InitInstance; otherwise InitInstance binds the program's.
    InstallServices& Services();
    void SetServices(std::unique_ptr<InstallServices> services) { services_ = std::move(services); }

    // Makes `fileName` of diskette `diskette` available: in the source
    // directory, in the sibling diskette directory whose name ends in the
    // diskette's number (sourceDir moves there), or where the user puts it
    // when asked (sourceDir moves there too). False when the user gave up.
    // Throws CFileException badPath for a device name, which is never
    // looked for.
    bool LocateSourceFile(const std::string& fileName, int diskette) override;
    std::string SourceDirectory() const override { return sourceDir ? sourceDir->GetPath() : std::string(); }

    // The five containers, for the loader. Only between InitInstance and ExitInstance.
    ProfileContainers Containers();

    // Loads a string-table entry of the program; "" when missing.
    static std::string LoadText(unsigned id);

    std::string setupTitle;
    std::string groupName;
    std::string productName;
    std::string mainProgramName;
    int uninstallMode = 0;
    std::unique_ptr<DestinationMap> destinations;
    std::unique_ptr<ComponentMap> components;
    std::unique_ptr<TargetMap> targets;
    std::unique_ptr<SourceFileList> sourceFiles;
    std::unique_ptr<DisketteArray> diskettes;
    std::unique_ptr<FilePath> profilePath;
    std::unique_ptr<FilePath> sourceDir;
    std::unique_ptr<FilePath> logPath;
    int saveStateToLog = 0;
    int continueFlag = 1;
    int batchMode = 0;
    int quietMode = 0;  // "Q": a batch run in which no window waits for an answer
    int ignoreConditions = 0;
    int restartNeeded = 0;
    SwitchTable switches;

private:
    // InitInstance's work; an exception out of it fails the run.
    bool StartUp();
    void ApplySwitches();
    void StartCleanupProgram();

    std::unique_ptr<InstallServices> services_;
};

// The running SetupApp, or null when the application is of another class.
SetupApp* GetSetupApp();

// The program's binding of the layers below the wizard.
std::unique_ptr<InstallServices> CreateProgramServices();
