#pragma once
// The install worker in this process, on a real copy page, for tests that
// feed it kits built by code: diskette directories written by the archive
// writer, a profile beside them, every question answered through the modal
// seam, and the layers above the copy engine (log, program items, log
// state) recorded instead of written.
//
// Use: derive a test fixture from WorkerHarness, write the profile with
// Write/WriteCommonProfile and the sources with WriteArchive/WriteFile,
// call Prepare() (optionally with another main directory), then Run().
// Prepare() may be called again for a fresh run over the same kit.

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../unit/ArchiveTestSupport.h"
#include "FileTreeSupport.h"
#include "ModalAnswers.h"
#include "app/CopyProgressPage.h"
#include "app/Messages.h"
#include "app/SetupApp.h"
#include "archive/FileStatus.h"
#include "errors/ReportException.h"
#include "profile/PrivateProfile.h"
#include "resources/ResourceIds.h"

namespace worker_harness {

using namespace archive_test;
using filetree::FilesBelow;
using filetree::ListTree;

struct LoggedFile {
    std::string component;
    std::string path;
    int destination;
    int placed;
    int replaced;
};

class RecordingServices : public InstallServices {
public:
    struct Record {
        std::vector<LoggedFile> files;
        std::vector<std::string> calls;
        std::vector<std::string> events;
        std::string mainDirectory;
    };
    explicit RecordingServices(Record& record) : record_(record) {}

    std::string MainDirectory() override { return record_.mainDirectory; }
    std::unique_ptr<InstallRecorder> OpenInstallRecorder(const std::string&) override {
        struct Recorder : InstallRecorder {
            explicit Recorder(Record& r) : r(r) {}
            void LogFileLine(const std::string& component, const std::string& path, std::int16_t destination,
                             int placed, int replaced) override {
                r.files.push_back({component, path, destination, placed, replaced});
            }
            Record& r;
        };
        return std::make_unique<Recorder>(record_);
    }
    void CreateProgramItems(const std::string& group, const TargetMap&, const std::string&) override {
        record_.calls.push_back("CreateProgramItems " + group);
    }
    void SaveInstallState(const std::string&, const DestinationMap&, const ComponentMap&,
                          const TargetMap&) override {
        record_.calls.push_back("SaveInstallState");
    }
    void LogEvent(const std::string&, const std::string& text) override { record_.events.push_back(text); }

private:
    Record& record_;
};

class WorkerHarness : public modal_answers::AnsweredTest {
protected:
    // The writer's default volume: large enough for any kit on one diskette.
    static constexpr std::uint64_t kOneVolume = 1 << 24;

    void SetUp() override {
        SetDefaultFileStatusPlatform(&Win32FileStatus());
        InstallResourceStringLoader();
        UseScratch(scratch);
        AnsweredTest::SetUp();
    }

    void TearDown() override {
        page_.reset();
        app_.reset();
        AnsweredTest::TearDown();
    }

    // Places the diskettes, the target and the profile in `dir`.
    void UseScratch(const ScratchDir& dir) {
        disk1 = dir.Dir("DISK01");
        disk2 = dir.Dir("DISK02");
        target = dir.Dir("TARGET");
        profile = disk1 + "\\SETUP.ini";
    }

    void Write(const char* section, const std::string& key, const std::string& value) {
        ::WritePrivateProfileStringA(section, key.c_str(), value.c_str(), profile.c_str());
    }

    // The system may keep profile writes in memory until told to flush.
    void FlushProfile() { ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, profile.c_str()); }

    // The main directory (placed by Prepare), a subdirectory of it, one
    // component that Typical selects, two labelled diskettes.
    void WriteCommonProfile() {
        Write("destinations", "0", "TARGET|-1|");
        Write("destinations", "1", "SAMPLES|0|");
        Write("groups", "Viewer", "Viewer|Program|1|1|1");
        Write("diskettes", "1", "Test Disk 1|");
        Write("diskettes", "2", "Test Disk 2|");
    }

    // An archive of `members` whose volumes of `capacity` bytes go into
    // DISK01, DISK02 under `firstName` and the names after it; returns the
    // installed size.
    std::uint32_t WriteArchive(const std::vector<MemberSource>& members, std::uint64_t capacity,
                               const std::string& firstName) {
        MemoryVolumeOutput out(capacity);
        CMultiFileWriter writer(out);
        std::uint32_t total = 0;
        for (const MemberSource& m : members) {
            writer.AddMember(m);
            total += static_cast<std::uint32_t>(m.data.size());
        }
        writer.Finish();
        std::vector<std::string> dirs;
        for (std::size_t i = 0; i < out.volumes.size(); ++i) dirs.push_back(i == 0 ? disk1 : disk2);
        volumes = StoreVolumes(out.volumes, dirs, firstName);
        return total;
    }

    // A one-volume archive in DISK01.
    std::uint32_t WriteArchive(const std::vector<MemberSource>& members, const std::string& name) {
        return WriteArchive(members, kOneVolume, name);
    }

    // Loads the profile, selects Typical, places destination 0 at
    // `mainDirectory` (the scratch target when empty) and makes a fresh
    // copy page, as the pages before it would. What an earlier run recorded
    // and was asked is forgotten.
    void Prepare(const std::string& mainDirectory = {}) {
        page_.reset();
        app_.reset();
        record = {};
        asked.clear();
        FlushProfile();
        const std::string main = (mainDirectory.empty() ? target : mainDirectory) + "\\";
        app_ = std::make_unique<SetupApp>();
        app_->SetServices(std::make_unique<RecordingServices>(record));
        app_->destinations = NewDestinationMap();
        app_->components = std::make_unique<ComponentMap>();
        app_->targets = std::make_unique<TargetMap>();
        app_->sourceFiles = std::make_unique<SourceFileList>();
        app_->diskettes = std::make_unique<DisketteArray>();
        app_->sourceDir = std::make_unique<FilePath>(disk1 + "\\");
        app_->logPath = std::make_unique<FilePath>(scratch.File("test.log"));
        app_->saveStateToLog = 1;
        app_->groupName = "Test Group";
        LoadProfile(FilePath(profile), app_->Containers(), [] {});
        app_->components->SelectBySetupType(SetupType::Typical);
        app_->destinations->SetPath(DestMain, main);
        app_->destinations->ResolveDestinations();
        record.mainDirectory = main;

        page_ = std::make_unique<CopyProgressPage>();
        ASSERT_TRUE(page_->CreatePage());
        // The page posted its run message; the tests run the step themselves.
        MSG msg;
        while (::PeekMessageA(&msg, page_->m_hWnd, WM_SETUP_RUNSTEP, WM_SETUP_RUNSTEP, PM_REMOVE)) {
        }
    }

    int Run() { return page_->RunStep(); }

    std::string Target(const std::string& name) const { return target + "\\" + name; }
    static bool Exists(const std::string& path) { return filetree::Exists(path); }
    std::vector<std::string> LoggedPaths() const {
        std::vector<std::string> paths;
        for (const LoggedFile& f : record.files) paths.push_back(f.path);
        return paths;
    }

    ScratchDir scratch;
    std::string disk1, disk2, target, profile;
    std::vector<std::string> volumes;
    RecordingServices::Record record;
    std::unique_ptr<SetupApp> app_;
    std::unique_ptr<CopyProgressPage> page_;
};

}  // namespace worker_harness
