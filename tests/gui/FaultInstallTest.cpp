// Faults met while the install worker copies, in this process on a real
// copy page: a destination that fills up, a destination directory that
// cannot be made, a read-only installed file, and the next volume of an
// archive that is missing. Kits are written by code into a scratch tree;
// every question is answered through the modal seam. Each case states what
// must survive: nothing outside the failing file is damaged, and no
// temporary file is left beside the targets.

#include "WorkerHarness.h"

#include "archive/GuardedFile.h"

#include <algorithm>

namespace {

using namespace worker_harness;

// A volume of `capacity` bytes holding the target tree: what the files in
// the tree take is used, the rest is what writes may still take. The
// file layer's write-space seam is the volume's free space.
class SmallVolume {
public:
    SmallVolume(std::string root, std::uint64_t capacity) : root_(std::move(root)), capacity_(capacity) {
        Refresh();
        CGuardedFile::SetWriteSpaceForTest(&free_);
    }
    ~SmallVolume() { CGuardedFile::SetWriteSpaceForTest(nullptr); }
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    // Recounts the free space from the files now in the tree (a removed
    // file gives its space back).
    void Refresh() {
        const std::uint64_t used = filetree::BytesBelow(root_);
        free_ = used < capacity_ ? capacity_ - used : 0;
    }
    // Makes the volume larger, as when the user deletes other files.
    void Grow(std::uint64_t bytes) {
        capacity_ += bytes;
        Refresh();
    }
    std::uint64_t Free() const { return free_; }

private:
    std::string root_;
    std::uint64_t capacity_;
    std::uint64_t free_ = 0;
};

class FaultInstallTest : public WorkerHarness {};

// The disk-full kit: an archive of a small and a large member, then a
// single file. The volume holds the small member and part of the large one.
struct DiskFullKit {
    Bytes small = Payload(20000, 21, false);
    Bytes large = Payload(60000, 22, false);
    Bytes after = Payload(3000, 23);
};

TEST_F(FaultInstallTest, DiskFullAsksContinueOrCancelAndLeavesNoTemporaryFile) {
    const DiskFullKit kit;
    struct Case {
        const char* name;
        int answer;
        int page;
        int continueFlag;
        std::vector<std::string> installed;
    };
    const Case cases[] = {
        // Continue: the rest of the archive is skipped, the next source file
        // goes in, and the install ends as a success.
        {"continue", IDOK, IDD_REGISTERING, 1, {"after.txt", "small.bin"}},
        // Cancel: the run ends on the failure page, with no program items
        // and no log state.
        {"cancel", IDCANCEL, IDD_FAILED, 0, {"small.bin"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir fresh;  // a scratch tree per case
        UseScratch(fresh);
        WriteCommonProfile();
        const std::uint32_t size =
            WriteArchive({Member("small.bin", kit.small, 2, 0), Member("large.bin", kit.large, 2, 0)}, 1 << 20,
                         "DATA.A1");
        Write("Viewer", "DATA.A1", std::to_string(size) + "|1|1|1|0|");
        WriteFile(disk1 + "\\after.txt", kit.after);
        Write("Viewer", "after.txt", "3000|0|1|1|0|");
        Prepare();

        SmallVolume volume(target, 50000);
        std::vector<std::string> filesWhenAsked;
        onAsk = [&](const ModalInteraction&) {
            filesWhenAsked = FilesBelow(target);
            // The removed temporary file gave its space back.
            volume.Refresh();
        };
        answers = {c.answer};
        EXPECT_EQ(Run(), c.page);

        const std::vector<ModalInteraction> reports = Asked(ModalKind::dialog);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].text, "Cannot install files from 'DATA.A1':");
        ASSERT_EQ(reports[0].details.size(), 3u);
        EXPECT_EQ(reports[0].details[0], "Disk full");
        // The information line ends in the cause: 13, disk full.
        EXPECT_NE(reports[0].details[2].find(".13 (CXFileException)"), std::string::npos) << reports[0].details[2];
        EXPECT_EQ(reports[0].type, static_cast<UINT>(MB_OKCANCEL));
        // By the time the question is asked, the failing member's
        // temporary file is gone: only the placed member is there.
        EXPECT_EQ(filesWhenAsked, std::vector<std::string>{"small.bin"});

        EXPECT_EQ(app_->continueFlag, c.continueFlag);
        EXPECT_EQ(FilesBelow(target), c.installed);
        EXPECT_EQ(ReadFile(Target("small.bin")), kit.small);
        if (c.answer == IDOK) {
            EXPECT_EQ(ReadFile(Target("after.txt")), kit.after);
        }
        std::vector<std::string> logged;
        for (const std::string& name : c.installed) logged.push_back(Target(name));
        std::sort(logged.begin(), logged.end());
        std::vector<std::string> got = LoggedPaths();
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, logged) << "only placed files are logged";
        if (c.answer == IDOK) {
            EXPECT_EQ(record.calls, (std::vector<std::string>{"CreateProgramItems Test Group", "SaveInstallState"}));
        } else {
            EXPECT_TRUE(record.calls.empty());
        }
        // The media were only read.
        EXPECT_EQ(ReadFile(disk1 + "\\after.txt"), kit.after);

        // Space freed: the same kit again installs everything, and the
        // member placed by the first run is kept as it is.
        volume.Grow(200000);
        answers.clear();
        onAsk = nullptr;
        Prepare();
        EXPECT_EQ(Run(), IDD_REGISTERING);
        EXPECT_TRUE(asked.empty());
        EXPECT_EQ(FilesBelow(target), (std::vector<std::string>{"after.txt", "large.bin", "small.bin"}));
        EXPECT_EQ(ReadFile(Target("small.bin")), kit.small);
        EXPECT_EQ(ReadFile(Target("large.bin")), kit.large);
        EXPECT_EQ(ReadFile(Target("after.txt")), kit.after);
        ASSERT_EQ(record.files.size(), 3u);
        EXPECT_EQ(record.files[0].placed, 0) << "same time, same file: the installed copy stays";
        EXPECT_EQ(record.files[1].placed, 1);
        page_.reset();
        app_.reset();
    }
}

TEST_F(FaultInstallTest, DiskFullOnASingleFileKeepsTheInstalledCopy) {
    // An older installed copy must survive a new copy that does not fit:
    // it is only deleted once the new one is complete.
    WriteCommonProfile();
    const Bytes installed = Payload(5000, 31);
    const Bytes newer = Payload(40000, 32);
    WriteFile(Target("viewer.dat"), installed);
    FILETIME old{};
    SYSTEMTIME oldTime{1995, 8, 0, 24, 12, 0, 0, 0};
    ::SystemTimeToFileTime(&oldTime, &old);
    HANDLE h = ::CreateFileA(Target("viewer.dat").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ::SetFileTime(h, &old, &old, &old);
    ::CloseHandle(h);
    WriteFile(disk1 + "\\viewer.dat", newer);
    Write("Viewer", "viewer.dat", "40000|0|1|1|0|");
    Prepare();

    SmallVolume volume(target, 20000);
    answers = {IDCANCEL};
    EXPECT_EQ(Run(), IDD_FAILED);
    ASSERT_EQ(Asked(ModalKind::dialog).size(), 1u);
    EXPECT_EQ(Asked(ModalKind::dialog)[0].details.at(0), "Disk full");
    EXPECT_EQ(FilesBelow(target), std::vector<std::string>{"viewer.dat"});
    EXPECT_EQ(ReadFile(Target("viewer.dat")), installed);
    EXPECT_TRUE(record.files.empty());
}

TEST_F(FaultInstallTest, DestinationThatCannotBeCreatedIsReportedAndNothingElseIsTouched) {
    // Running as root, Unix permissions do not stop a write, and Windows'
    // read-only attribute means nothing on a directory; a plain file where
    // the destination directory should be stops it for everyone.
    WriteCommonProfile();
    const Bytes blocker = Payload(777, 41);
    WriteFile(Target("SAMPLES"), blocker);
    const Bytes program = Payload(9000, 42);
    const Bytes sample = Payload(8000, 43);
    const std::uint32_t size =
        WriteArchive({Member("tyview.exe", program, 2, 0), Member("water.xyz", sample, 4, 1)}, 1 << 20, "DATA.A1");
    Write("Viewer", "DATA.A1", std::to_string(size) + "|1|1|1|0|");
    WriteFile(disk1 + "\\after.txt", Payload(100, 44));
    Write("Viewer", "after.txt", "100|0|1|1|0|");

    for (int answer : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(answer == IDOK ? "continue" : "cancel");
        ::DeleteFileA(Target("tyview.exe").c_str());
        ::DeleteFileA(Target("after.txt").c_str());
        Prepare();
        answers = {answer};
        EXPECT_EQ(Run(), answer == IDOK ? IDD_REGISTERING : IDD_FAILED);
        ASSERT_EQ(Asked(ModalKind::dialog).size(), 1u);
        EXPECT_EQ(Asked(ModalKind::dialog)[0].text, "Cannot install files from 'DATA.A1':");
        // The member before the failing one stays installed, the file in
        // the way is untouched, no temporary file is left.
        EXPECT_EQ(ReadFile(Target("tyview.exe")), program);
        EXPECT_EQ(ReadFile(Target("SAMPLES")), blocker);
        if (answer == IDOK) {
            EXPECT_EQ(FilesBelow(target), (std::vector<std::string>{"SAMPLES", "after.txt", "tyview.exe"}));
        } else {
            EXPECT_EQ(FilesBelow(target), (std::vector<std::string>{"SAMPLES", "tyview.exe"}));
            EXPECT_EQ(app_->continueFlag, 0);
        }
    }
}

TEST_F(FaultInstallTest, ReadOnlyInstalledFilesAreReplacedWhenOlderAndKeptWhenNewer) {
    WriteCommonProfile();
    const Bytes oldCopy = Payload(3000, 51);
    const Bytes newCopy = Payload(4000, 52);
    const Bytes keptCopy = Payload(3500, 53);
    // The members carry 1996-01-01; the installed copies are from 1980
    // (older) and 2030 (newer), both read-only.
    MemberSource older = Member("old.dat", newCopy, 2, 0);
    MemberSource newer = Member("new.dat", Payload(2000, 54), 2, 0);
    const std::uint32_t size = WriteArchive({older, newer}, 1 << 20, "DATA.A1");
    Write("Viewer", "DATA.A1", std::to_string(size) + "|1|1|1|0|");
    Prepare();

    auto place = [&](const std::string& name, const Bytes& data, WORD year) {
        WriteFile(Target(name), data);
        SYSTEMTIME t{year, 6, 0, 1, 10, 0, 0, 0};
        FILETIME f{};
        ::SystemTimeToFileTime(&t, &f);
        HANDLE h = ::CreateFileA(Target(name).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ::SetFileTime(h, &f, &f, &f);
        ::CloseHandle(h);
        ::SetFileAttributesA(Target(name).c_str(), FILE_ATTRIBUTE_READONLY);
    };
    place("old.dat", oldCopy, 1980);
    place("new.dat", keptCopy, 2030);

    EXPECT_EQ(Run(), IDD_REGISTERING);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(ReadFile(Target("old.dat")), newCopy) << "the older read-only copy is replaced";
    EXPECT_EQ(ReadFile(Target("new.dat")), keptCopy) << "the newer read-only copy is kept";
    EXPECT_TRUE(::GetFileAttributesA(Target("new.dat").c_str()) & FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(record.files.size(), 2u);
    EXPECT_EQ(record.files[0].placed, 1);
    EXPECT_EQ(record.files[0].replaced, 1);
    EXPECT_EQ(record.files[1].placed, 0);
    EXPECT_EQ(record.files[1].replaced, 0);
    EXPECT_EQ(FilesBelow(target), (std::vector<std::string>{"new.dat", "old.dat"}));
    ::SetFileAttributesA(Target("new.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
    ::SetFileAttributesA(Target("old.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FaultInstallTest, NextVolumeMissingMidArchiveAndPromptCancelledEndsOnTheFailurePage) {
    WriteCommonProfile();
    const Bytes first = Payload(30000, 61, false);
    const Bytes spanning = Payload(150000, 62, false);
    // Small volumes: the second member continues onto DISK02.
    const std::uint32_t size =
        WriteArchive({Member("first.bin", first, 2, 0), Member("span.bin", spanning, 2, 0)}, 120000, "DATA.A1");
    ASSERT_EQ(volumes.size(), 2u);
    WriteFile(disk1 + "\\after.txt", Payload(100, 63));
    Write("Viewer", "DATA.A1", std::to_string(size) + "|1|1|1|0|");
    Write("Viewer", "after.txt", "100|0|1|1|0|");
    // The second diskette is not in the drive: its directory is gone.
    const Bytes secondVolume = ReadFile(volumes.at(1));
    ::DeleteFileA(volumes.at(1).c_str());
    ::RemoveDirectoryA(disk2.c_str());
    Prepare();

    answers = {IDCANCEL};
    EXPECT_EQ(Run(), IDD_FAILED);
    ASSERT_EQ(asked.size(), 1u) << "the prompt only: a user abort is not reported";
    EXPECT_EQ(asked[0].caption, "Insert Diskette");
    EXPECT_EQ(asked[0].text, "Please insert the diskette labelled 'Test Disk 2' in drive C:");
    EXPECT_EQ(app_->continueFlag, 0);
    EXPECT_EQ(page_->nextPageId, IDD_FAILED);
    // The complete member stays; the half-read one leaves nothing behind;
    // nothing after it was started; no program items, no log state.
    EXPECT_EQ(FilesBelow(target), std::vector<std::string>{"first.bin"});
    EXPECT_EQ(ReadFile(Target("first.bin")), first);
    EXPECT_EQ(LoggedPaths(), std::vector<std::string>{Target("first.bin")});
    EXPECT_TRUE(record.calls.empty());

    // The diskette found again: a new run completes.
    disk2 = scratch.Dir("DISK02");
    WriteFile(volumes.at(1), secondVolume);
    answers.clear();
    Prepare();
    EXPECT_EQ(Run(), IDD_REGISTERING);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(ReadFile(Target("span.bin")), spanning);
    EXPECT_EQ(FilesBelow(target), (std::vector<std::string>{"after.txt", "first.bin", "span.bin"}));
}

}  // namespace
