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

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../unit/ArchiveTestSupport.h"
#include "app/CopyProgressPage.h"
#include "app/Messages.h"
#include "app/SetupApp.h"
#include "archive/FileStatus.h"
#include "errors/ReportException.h"
#include "framework/ModalSeam.h"
#include "profile/PrivateProfile.h"
#include "resources/ResourceIds.h"

namespace worker_harness {

using namespace archive_test;

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

// Every file and directory below `root`, as paths relative to it, with
// their sizes (directories -1). Sorted, so two listings compare directly.
inline void ListTree(const std::string& root, const std::string& relative, std::map<std::string, long long>& out,
                     bool recursive) {
    WIN32_FIND_DATAA found;
    const std::string pattern = root + (relative.empty() ? "" : "\\" + relative) + "\\*";
    HANDLE find = ::FindFirstFileA(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = relative.empty() ? name : relative + "\\" + name;
        const bool directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        out[path] = directory ? -1 : static_cast<long long>(found.nFileSizeLow);
        if (directory && recursive) ListTree(root, path, out, true);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
}

inline std::map<std::string, long long> ListTree(const std::string& root, bool recursive = true) {
    std::map<std::string, long long> out;
    ListTree(root, "", out, recursive);
    return out;
}

class WorkerHarness : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultFileStatusPlatform(&Win32FileStatus());
        InstallResourceStringLoader();
        disk1 = scratch.Dir("DISK01");
        disk2 = scratch.Dir("DISK02");
        target = scratch.Dir("TARGET");
        profile = disk1 + "\\SETUP.ini";
        answerer_ = std::make_unique<ScopedModalAnswerer>([this](const ModalInteraction& m) {
            asked.push_back(m);
            if (answers.empty()) return m.kind == ModalKind::messageBox ? IDNO : IDCANCEL;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }

    void TearDown() override {
        page_.reset();
        app_.reset();
        answerer_.reset();
    }

    void Write(const char* section, const std::string& key, const std::string& value) {
        ::WritePrivateProfileStringA(section, key.c_str(), value.c_str(), profile.c_str());
    }

    // The system may keep profile writes in memory until told to flush.
    void FlushProfile() { ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, profile.c_str()); }

    // The main directory (placed by Prepare), a subdirectory of it, one
    // component that Typical selects, one labelled diskette.
    void WriteCommonProfile() {
        Write("destinations", "0", "TARGET|-1|");
        Write("destinations", "1", "SUB|0|");
        Write("groups", "Viewer", "Viewer|Program|1|1|1");
        Write("diskettes", "1", "Test Disk 1|");
    }

    // A one-volume archive of `members` in DISK01 under `name`; returns the
    // installed size.
    std::uint32_t WriteArchive(const std::vector<MemberSource>& members, const std::string& name) {
        MemoryVolumeOutput out(1 << 24);
        CMultiFileWriter writer(out);
        std::uint32_t total = 0;
        for (const MemberSource& m : members) {
            writer.AddMember(m);
            total += static_cast<std::uint32_t>(m.data.size());
        }
        writer.Finish();
        StoreVolumes(out.volumes, {disk1}, name);
        return total;
    }

    // Loads the profile, selects Typical, places destination 0 at
    // `mainDirectory` (the scratch target when empty) and makes the copy
    // page, as the pages before it would.
    void Prepare(const std::string& mainDirectory = {}) {
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
    static bool Exists(const std::string& path) {
        return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::vector<std::string> Questions(ModalKind kind) const {
        std::vector<std::string> texts;
        for (const ModalInteraction& m : asked)
            if (m.kind == kind) texts.push_back(m.text);
        return texts;
    }

    ScratchDir scratch;
    std::string disk1, disk2, target, profile;
    RecordingServices::Record record;
    std::vector<ModalInteraction> asked;
    std::deque<int> answers;
    std::unique_ptr<SetupApp> app_;
    std::unique_ptr<CopyProgressPage> page_;

private:
    std::unique_ptr<ScopedModalAnswerer> answerer_;
};

}  // namespace worker_harness
