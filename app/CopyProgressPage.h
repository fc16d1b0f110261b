#pragma once
// 108 copy progress: the install worker. It walks the source files in
// install order, finds each on the media (asking for the diskette when it is
// not there), hands single files and archive members to the copy engine, and
// keeps the gauge and the names on the page up to date. Cancel is asked at
// the next progress tick; a source file that fails can be skipped.

#include <cstdint>
#include <memory>
#include <string>

#include "app/WizardPage.h"
#include "archive/Gauge.h"
#include "archive/MediaMultiFile.h"

class CInstallEntry;
class InstallRecorder;
class InstallSite;
class SourceFile;

// The copy page while its worker runs, null otherwise. The media reader
// ticks it through SourceProgressHook and never knows the page; tests put
// their own sink here.
extern ProgressSink* activeCopyPage;

// The progress hook every source file is read with: passes each block
// boundary on to activeCopyPage while the run goes on, and does nothing once
// the run has been abandoned.
class SourceProgressHook : public ProgressSink {
public:
    void OnProgress() override;
};

class CopyProgressPage : public WizardPage, public ProgressSink {
public:
    // Bytes read between two progress ticks.
    static constexpr std::uint32_t kTickBytes = 4096;

    CopyProgressPage();
    ~CopyProgressPage() override;

    // The worker. 116 when the run was abandoned after a source file;
    // otherwise, once the program items and the log state are written, the
    // next page (1549).
    int RunStep() override;
    // Finds one source file on the media and installs it: one entry for a
    // single file, every member of an archive. A user abort ends the run; any
    // other failure asks whether to go on with the next source file.
    void InstallSourceFile(SourceFile& sourceFile);
    // The progress tick: pumps messages, asks a pending cancel, moves the
    // gauge and shows the file being written.
    void OnProgress() override;
    // Counts a finished entry or a skipped source file.
    void AddDoneBytes(std::uint32_t count) { doneBytes += count; }
    // Cancel only raises the flag; the question comes at the next tick.
    void OnCancel() override;

    int cancelRequested = 0;
    Gauge gauge{0, 99};
    std::uint32_t doneBytes = 0;
    CInstallEntry* currentEntry = nullptr;

protected:
    // The page start, then the gauge in the place of the frame 1010.
    bool OnInitDialog() override;

private:
    void InstallSingleFile(CMediaMultiFile& file, SourceFile& sourceFile, const std::string& sourcePath);
    void InstallMembers(CMediaMultiFile& file, SourceFile& sourceFile);
    // Installs `entry` as the current entry and counts it.
    void InstallEntry(CInstallEntry& entry);
    void ShowText(int control, const std::string& text, std::string& shown);

    InstallRecorder* recorder = nullptr;  // valid while RunStep runs
    InstallSite* site = nullptr;
    std::string shownSource;
    std::string shownDestination;
};
