// The install worker in this process, on a real copy page: kits of
// diskette directories written by the archive writer, real files installed
// into a scratch tree, every question answered through the modal seam. The
// layers above the copy engine (log, program items, log state) are recorded.

#include "WorkerHarness.h"

namespace {

using namespace worker_harness;

// Counts the ticks that reach the copy page's place.
class TickCounter : public ProgressSink {
public:
    void OnProgress() override { ++ticks; }
    int ticks = 0;
};

class CopyWorkerTest : public WorkerHarness {
protected:
    // Beside the common part, two more components: Typical selects
    // "Samples" as well as "Viewer", but not "Extras".
    void WriteCommonProfile() {
        WorkerHarness::WriteCommonProfile();
        Write("groups", "Samples", "Samples|Examples|0|1|1");
        Write("groups", "Extras", "Extras|Not typical|0|0|1");
    }
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
    EXPECT_EQ(ListTree(target, false), (std::map<std::string, long long>{}));
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

TEST_F(CopyWorkerTest, QuietRunDoesNotAskForAMissingDiskette) {
    WriteCommonProfile();
    Write("Viewer", "gone.txt", "700|0|1|2|0|");
    Prepare();
    app_->batchMode = 1;
    app_->quietMode = 1;

    EXPECT_EQ(Run(), IDD_FAILED);
    EXPECT_TRUE(asked.empty());
    ASSERT_EQ(record.events.size(), 1u);
    EXPECT_EQ(record.events[0], "Cannot find '" + disk1 + "\\gone.txt' of diskette 2.");
    EXPECT_EQ(app_->continueFlag, 0);
}

// Without /Q a batch run has someone at the screen: the diskette is asked
// for, and a location given there is used.
TEST_F(CopyWorkerTest, BatchRunAsksForAMissingDisketteAsAnInteractiveRunDoes) {
    WriteCommonProfile();
    Write("Viewer", "gone.txt", "700|0|1|2|0|");
    Prepare();
    app_->batchMode = 1;

    answers = {IDCANCEL};
    EXPECT_EQ(Run(), IDD_FAILED);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, "Insert Diskette");
    EXPECT_TRUE(record.events.empty());
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
