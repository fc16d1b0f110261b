// The install worker in this process, on a real copy page: kits of
// diskette directories written by the archive writer, real files installed
// into a scratch tree, every question answered through the modal seam. The
// layers above the copy engine (log, program items, log state) are recorded.

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
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

using namespace archive_test;

namespace {

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

// Counts the ticks that reach the copy page's place.
class TickCounter : public ProgressSink {
public:
    void OnProgress() override { ++ticks; }
    int ticks = 0;
};

class CopyWorkerTest : public ::testing::Test {
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
            if (onAsk) onAsk(m);
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

    // The profile's fixed part: the main directory (the scratch target), a
    // subdirectory, two components of which Typical selects only "Viewer"
    // and "Samples", and two labelled diskettes.
    void WriteCommonProfile() {
        Write("destinations", "0", "TARGET|-1|");
        Write("destinations", "1", "SAMPLES|0|");
        Write("groups", "Viewer", "Viewer|Program|1|1|1");
        Write("groups", "Samples", "Samples|Examples|0|1|1");
        Write("groups", "Extras", "Extras|Not typical|0|0|1");
        Write("diskettes", "1", "Test Disk 1|");
        Write("diskettes", "2", "Test Disk 2|");
    }

    // An archive of `members` whose volumes go into DISK01, DISK02, ...
    // under `firstName`; returns the installed size.
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

    // Loads the profile, selects Typical, places destination 0 at the
    // target and makes the copy page, as the pages before it would.
    void Prepare() {
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, profile.c_str());
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
        app_->destinations->SetPath(DestMain, target + "\\");
        app_->destinations->ResolveDestinations();
        record.mainDirectory = target + "\\";

        page_ = std::make_unique<CopyProgressPage>();
        ASSERT_TRUE(page_->CreatePage());
        // The page posted its run message; the tests run the step themselves.
        MSG msg;
        while (::PeekMessageA(&msg, page_->m_hWnd, WM_SETUP_RUNSTEP, WM_SETUP_RUNSTEP, PM_REMOVE)) {
        }
    }

    int Run() { return page_->RunStep(); }

    std::string Target(const std::string& name) const { return target + "\\" + name; }
    static bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
    std::vector<std::string> Questions(ModalKind kind) const {
        std::vector<std::string> texts;
        for (const ModalInteraction& m : asked)
            if (m.kind == kind) texts.push_back(m.text);
        return texts;
    }

    ScratchDir scratch;
    std::string disk1, disk2, target, profile;
    std::vector<std::string> volumes;
    RecordingServices::Record record;
    std::vector<ModalInteraction> asked;
    std::deque<int> answers;
    std::function<void(const ModalInteraction&)> onAsk;
    std::unique_ptr<SetupApp> app_;
    std::unique_ptr<CopyProgressPage> page_;

private:
    std::unique_ptr<ScopedModalAnswerer> answerer_;
};

TEST_F(CopyWorkerTest, InstallsSelectedFilesFollowingTheArchiveIntoTheSiblingDirectory) {
    WriteCommonProfile();
    const Bytes program = Payload(150000, 1, false);
    const Bytes sample = Payload(90000, 2);
    // Small volumes: the program member continues from DISK01 onto DISK02.
    const std::uint32_t archiveSize =
        WriteArchive({Member("tyview.exe", program, 2, 0), Member("water.xyz", sample, 4, 1)}, 120000, "DATA.A1");
    ASSERT_EQ(volumes.size(), 2u);
    WriteFile(disk2 + "\\readme.txt", Payload(3000, 4));
    Write("Viewer", "DATA.A1", std::to_string(archiveSize) + "|1|2|1|0|");
    Write("Samples", "readme.txt", "3000|0|1|2|0|");
    // Not selected: never looked for (it is on no diskette) nor counted.
    Write("Extras", "extra.bin", "1000|0|1|2|0|");
    Prepare();

    EXPECT_EQ(Run(), IDD_REGISTERING);
    EXPECT_TRUE(asked.empty()) << asked.front().text;
    EXPECT_EQ(ReadFile(Target("tyview.exe")), program);
    EXPECT_EQ(ReadFile(Target("SAMPLES\\water.xyz")), sample);
    EXPECT_EQ(ReadFile(Target("readme.txt")), Payload(3000, 4));
    EXPECT_FALSE(Exists(Target("extra.bin")));
    // The archive moved the source on to the second diskette's directory.
    EXPECT_EQ(app_->sourceDir->GetPath(), disk2 + "\\");

    ASSERT_EQ(record.files.size(), 3u);
    EXPECT_EQ(record.files[0].component, "Viewer");
    EXPECT_EQ(record.files[0].path, Target("tyview.exe"));
    EXPECT_EQ(record.files[1].destination, 1);
    EXPECT_EQ(record.files[2].component, "Samples");
    EXPECT_EQ(record.files[2].placed, 1);
    EXPECT_EQ(record.calls, (std::vector<std::string>{"CreateProgramItems Test Group", "SaveInstallState"}));

    // The gauge counted the selected files only, and reached their sum.
    EXPECT_EQ(page_->gauge.maximum, archiveSize + 3000);
    EXPECT_EQ(page_->doneBytes, archiveSize + 3000);
    EXPECT_EQ(activeCopyPage, nullptr);
}

TEST_F(CopyWorkerTest, ProgressTicksEveryBlockAndShowsTheFileBeingWritten) {
    WriteCommonProfile();
    const Bytes data = Payload(64 * 1024, 5, false);
    const std::uint32_t size = WriteArchive({Member("big.bin", data, 2, 0)}, 1 << 20, "DATA.A1");
    Write("Viewer", "DATA.A1", std::to_string(size) + "|1|1|1|0|");
    Prepare();

    // The media's hook passes ticks on to whatever sits in activeCopyPage.
    TickCounter counter;
    activeCopyPage = &counter;
    SourceProgressHook hook;
    hook.OnProgress();
    EXPECT_EQ(counter.ticks, 1);
    app_->continueFlag = 0;
    hook.OnProgress();
    EXPECT_EQ(counter.ticks, 1) << "no tick once the run is abandoned";
    app_->continueFlag = 1;
    activeCopyPage = nullptr;

    EXPECT_EQ(Run(), IDD_REGISTERING);
    // The last tick comes as the last block is read, before it is written.
    EXPECT_GT(page_->gauge.position, size / 2);
    EXPECT_LE(page_->gauge.position, size);
    char shown[MAX_PATH] = "";
    ::GetDlgItemTextA(page_->m_hWnd, IDC_DESTFILE, shown, sizeof shown);
    EXPECT_EQ(std::string(shown), Target("big.bin"));
    ::GetDlgItemTextA(page_->m_hWnd, IDC_SOURCEFILE, shown, sizeof shown);
    EXPECT_EQ(std::string(shown), "DATA.A1");
    // The gauge took the frame's place under the frame's id.
    char className[64] = "";
    ::GetClassNameA(page_->GetDlgItem(IDC_GAUGE), className, sizeof className);
    EXPECT_STREQ(className, Gauge::kClassName);
}

TEST_F(CopyWorkerTest, CancelAnsweredNoGoesOnAndYesStopsWithoutPlacingTheMember) {
    WriteCommonProfile();
    const Bytes first = Payload(40000, 6, false);
    const Bytes second = Payload(40000, 7, false);
    const std::uint32_t size =
        WriteArchive({Member("first.bin", first, 2, 0), Member("second.bin", second, 2, 0)}, 1 << 20, "DATA.A1");
    Write("Viewer", "DATA.A1", std::to_string(size) + "|1|2|1|0|");
    WriteFile(disk1 + "\\later.txt", Payload(500, 8));
    Write("Samples", "later.txt", "500|0|1|1|0|");
    Prepare();

    // Cancel pressed at once: the first tick asks; No goes on. The answer
    // presses Cancel again, and the tick after it is answered Yes, while the
    // first member is being written.
    ::PostMessageA(page_->m_hWnd, WM_COMMAND, IDCANCEL, 0);
    answers = {IDNO, IDYES};
    onAsk = [this](const ModalInteraction& m) {
        if (m.kind == ModalKind::messageBox && answers.size() == 2)
            ::PostMessageA(page_->m_hWnd, WM_COMMAND, IDCANCEL, 0);
    };

    EXPECT_EQ(Run(), IDD_FAILED);
    const std::vector<std::string> questions = Questions(ModalKind::messageBox);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0], "Tessaly Viewer  installation not complete. Do you really want to exit Setup?");
    EXPECT_EQ(app_->continueFlag, 0);
    EXPECT_EQ(page_->nextPageId, IDD_FAILED);
    // The member under way was decoded to its end but neither placed nor
    // logged, and nothing after it was started.
    EXPECT_FALSE(Exists(Target("first.bin")));
    EXPECT_FALSE(Exists(Target("second.bin")));
    EXPECT_FALSE(Exists(Target("later.txt")));
    EXPECT_TRUE(record.files.empty());
    EXPECT_TRUE(record.calls.empty()) << "no program items, no log state";
    // No temporary file is left beside the targets.
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((target + "\\*.*").c_str(), &found);
    int entries = 0;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..") ++entries;
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    EXPECT_EQ(entries, 0);
}

TEST_F(CopyWorkerTest, DamagedMemberAsksAndContinueInstallsTheNextSourceFile) {
    WriteCommonProfile();
    const Bytes good = Payload(20000, 9);
    std::uint32_t size = WriteArchive({Member("damaged.bin", Payload(20000, 10), 2, 0)}, 1 << 20, "DATA.A1");
    // One flipped byte in the stored data: the checksum no longer matches.
    Bytes volume = ReadFile(volumes.at(0));
    volume[volume.size() - 100] ^= 0x55;
    WriteFile(volumes.at(0), volume);
    Write("Viewer", "DATA.A1", std::to_string(size) + "|1|1|1|0|");
    WriteFile(disk1 + "\\good.txt", good);
    Write("Viewer", "good.txt", "20000|0|1|1|0|");
    Prepare();

    answers = {IDOK};  // Continue Operation
    EXPECT_EQ(Run(), IDD_REGISTERING);
    ASSERT_EQ(Questions(ModalKind::dialog).size(), 1u);
    EXPECT_EQ(Questions(ModalKind::dialog)[0], "Cannot install files from 'DATA.A1':");
    EXPECT_EQ(app_->continueFlag, 1);
    EXPECT_FALSE(Exists(Target("damaged.bin")));
    EXPECT_EQ(ReadFile(Target("good.txt")), good);
    ASSERT_EQ(record.files.size(), 1u);
    EXPECT_EQ(record.files[0].path, Target("good.txt"));
    // The gauge counted what was done: the good file, not the damaged member.
    EXPECT_EQ(page_->doneBytes, 20000u);
    EXPECT_EQ(record.calls.size(), 2u);
}

TEST_F(CopyWorkerTest, FailureAnsweredCancelEndsTheRun) {
    WriteCommonProfile();
    WriteFile(disk1 + "\\NOTANARC.A1", Payload(2000, 11));
    Write("Viewer", "NOTANARC.A1", "2000|1|1|1|0|");
    WriteFile(disk1 + "\\after.txt", Payload(100, 12));
    Write("Viewer", "after.txt", "100|0|1|1|0|");
    Prepare();

    answers = {IDCANCEL};  // Cancel Operation
    EXPECT_EQ(Run(), IDD_FAILED);
    EXPECT_EQ(app_->continueFlag, 0);
    EXPECT_FALSE(Exists(Target("after.txt")));
    EXPECT_TRUE(record.calls.empty());
}

TEST_F(CopyWorkerTest, MissingFileIsAskedForAndAnsweredWhereItWasPut) {
    WriteCommonProfile();
    // Diskette 2's file is nowhere yet: the prompt names diskette 2 by its
    // label; "inserting" it puts the file where Setup looked.
    Write("Viewer", "late.txt", "700|0|1|2|0|");
    // A single file that is not installed is still looked for.
    Write("Viewer", "carried.dat", "50|0|1|2|-1|");
    Prepare();
    ::RemoveDirectoryA(disk2.c_str());  // no sibling directory to find it in

    onAsk = [this](const ModalInteraction& m) {
        if (m.kind != ModalKind::dialog) return;
        WriteFile(disk1 + "\\late.txt", Payload(700, 13));
        WriteFile(disk1 + "\\carried.dat", Payload(50, 14));
    };
    answers = {IDOK};
    EXPECT_EQ(Run(), IDD_REGISTERING);
    ASSERT_EQ(Questions(ModalKind::dialog).size(), 1u);
    EXPECT_EQ(Questions(ModalKind::dialog)[0], "Please insert the diskette labelled 'Test Disk 2' in drive C:");
    EXPECT_EQ(ReadFile(Target("late.txt")), Payload(700, 13));
    EXPECT_FALSE(Exists(Target("carried.dat")));
    EXPECT_EQ(page_->doneBytes, 750u);
}

TEST_F(CopyWorkerTest, PromptCancelledEndsTheRunWithoutAReport) {
    WriteCommonProfile();
    Write("Viewer", "gone.txt", "700|0|1|2|0|");
    Prepare();

    answers = {IDCANCEL};
    EXPECT_EQ(Run(), IDD_FAILED);
    ASSERT_EQ(asked.size(), 1u) << "the prompt only; a user abort is not reported";
    EXPECT_EQ(asked[0].caption, "Insert Diskette");
    EXPECT_EQ(app_->continueFlag, 0);
    EXPECT_EQ(page_->nextPageId, IDD_FAILED);
    EXPECT_TRUE(record.calls.empty());
}

TEST_F(CopyWorkerTest, BatchRunDoesNotAskForAMissingDiskette) {
    WriteCommonProfile();
    Write("Viewer", "gone.txt", "700|0|1|2|0|");
    Prepare();
    app_->batchMode = 1;

    EXPECT_EQ(Run(), IDD_FAILED);
    EXPECT_TRUE(asked.empty());
    ASSERT_EQ(record.events.size(), 1u);
    EXPECT_EQ(record.events[0], "Cannot find '" + disk1 + "\\gone.txt' of diskette 2.");
    EXPECT_EQ(app_->continueFlag, 0);
}

TEST_F(CopyWorkerTest, NothingSelectedStillWritesItemsAndState) {
    WriteCommonProfile();
    Write("Extras", "extra.bin", "1000|0|1|2|0|");
    Prepare();
    app_->components->SelectBySetupType(SetupType::None);

    EXPECT_EQ(Run(), IDD_REGISTERING);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(page_->gauge.maximum, 0u);
    EXPECT_EQ(record.calls, (std::vector<std::string>{"CreateProgramItems Test Group", "SaveInstallState"}));
}

}  // namespace
