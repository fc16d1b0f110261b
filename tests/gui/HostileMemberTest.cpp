// Archives whose member names try to leave the destination directory or
// reach a device, and paths at the system's length limit, installed by the
// real install worker. Each bad member is refused with the source file's
// report, the run goes on with the next source file when Continue is
// answered, and nothing appears anywhere but in the destination directory.

#include "WorkerHarness.h"

#include <cstdio>
#include <iterator>

namespace {

using namespace worker_harness;

// Everything outside the destination directory that a member name could
// reach: the scratch tree (diskettes and target's parent), the temporary
// directory that holds it, the process's current directory and the root
// of drive C.
struct Surroundings {
    explicit Surroundings(const std::string& scratchRoot)
        : scratchRoot(scratchRoot), parent(scratchRoot.substr(0, scratchRoot.rfind('\\'))) {
        char cwd[MAX_PATH] = "";
        ::GetCurrentDirectoryA(sizeof cwd, cwd);
        current = cwd;
    }
    std::map<std::string, std::map<std::string, long long>> Snapshot() const {
        std::map<std::string, std::map<std::string, long long>> s;
        s["scratch"] = ListTree(scratchRoot);
        // The target is judged on its own; only its siblings count here.
        for (auto it = s["scratch"].begin(); it != s["scratch"].end();)
            it = it->first.rfind("TARGET", 0) == 0 ? s["scratch"].erase(it) : std::next(it);
        s["parent"] = ListTree(parent, false);
        s["current"] = ListTree(current, false);
        s["C:"] = ListTree("C:", false);
        return s;
    }
    std::string scratchRoot, parent, current;
};

class HostileMemberNames : public WorkerHarness {};

TEST_F(HostileMemberNames, EachBadNameIsRefusedAndTheRunGoesOn) {
    // Names whose file-name part (what is left after any drive and
    // directory) cannot be created as a file in the destination directory.
    const char* const badNames[] = {
        "..", ".", "sub\\..", "sub\\.", "sub\\", "C:", "c:\\", "\\\\server\\share\\", "CON", "nul",
        "Aux.txt", "prn.log", "COM1", "com9.dat", "LPT1", "lpt3.txt", "CON ", "NUL.", "con .txt", "Aux. ",
        "CLOCK$", "x.txt.", "x.txt ", "x*.txt", "x?.txt", "a\x01.txt", "x.txt:stream", "..\\AUX.DAT",
        "sub\\x.txt.", "sub/x.txt ", "C:x*.txt",
    };
    WriteCommonProfile();
    int index = 0;
    std::vector<std::string> archives;
    for (const char* name : badNames) {
        char archive[32];
        std::snprintf(archive, sizeof archive, "BAD%02d.A1", ++index);
        archives.push_back(archive);
        // Half of them aim at the subdirectory destination.
        const std::uint32_t size = WriteArchive({Member(name, Payload(700, index), 2, index % 2)}, archive);
        Write("Viewer", archive, std::to_string(size) + "|1|1|1|0|");
    }
    // An archive whose good first member is kept even though the bad one
    // after it ends that archive.
    const std::uint32_t mixed =
        WriteArchive({Member("first.txt", Payload(300, 90), 2, 0), Member("..\\..\\CON", Payload(300, 91), 2, 0)},
                     "MIXED.A1");
    Write("Viewer", "MIXED.A1", std::to_string(mixed) + "|1|2|1|0|");
    WriteFile(disk1 + "\\good.txt", Payload(500, 99));
    Write("Viewer", "good.txt", "500|0|1|1|0|");

    FlushProfile();
    const Surroundings around(scratch.path.string());
    const auto before = around.Snapshot();
    Prepare();
    answers.assign(archives.size() + 1, IDOK);  // Continue Operation, every time

    EXPECT_EQ(Run(), IDD_REGISTERING);
    EXPECT_EQ(app_->continueFlag, 1);

    // One report per bad archive, each naming its source file, each with the
    // file error of a bad path.
    std::vector<std::string> expected;
    for (const std::string& archive : archives) expected.push_back("Cannot install files from '" + archive + "':");
    expected.push_back("Cannot install files from 'MIXED.A1':");
    EXPECT_EQ(Questions(ModalKind::dialog), expected);
    EXPECT_TRUE(Questions(ModalKind::messageBox).empty());
    for (const ModalInteraction& m : Asked(ModalKind::dialog)) {
        ASSERT_FALSE(m.details.empty()) << m.text;
        EXPECT_EQ(m.details.back(), "17.3 (CXFileException)") << m.text;  // a bad path
    }

    // Only the good files arrived, all of them in the destination directory.
    const auto installed = ListTree(target);
    const std::map<std::string, long long> wanted = {{"first.txt", 300}, {"good.txt", 500}};
    EXPECT_EQ(installed, wanted);
    ASSERT_EQ(record.files.size(), 2u);
    EXPECT_EQ(record.files[0].path, Target("first.txt"));
    EXPECT_EQ(record.files[1].path, Target("good.txt"));
    EXPECT_EQ(around.Snapshot(), before);
    EXPECT_EQ(record.calls, (std::vector<std::string>{"CreateProgramItems Test Group", "SaveInstallState"}));
}

// A member name that carries a directory, a drive or a share, written by a
// tool that keeps relative directories, installs under its file name in the
// directory of its own destination, and nowhere else.
TEST_F(HostileMemberNames, NamesWithDirectoriesInstallUnderTheirFileName) {
    struct Named {
        const char* name;
        const char* file;
    };
    const Named named[] = {
        {"SUB\\X.DLL", "X.DLL"},         {"data\\b002.dat", "b002.dat"}, {"..\\x.txt", "x.txt"},
        {"/root.txt", "root.txt"},         {"sub/fwd.txt", "fwd.txt"},       {"C:drive.txt", "drive.txt"},
        {"c:\\evil.txt", "evil.txt"},    {"\\\\server\\share\\unc.txt", "unc.txt"},
        {"..\\..\\..\\up.txt", "up.txt"}, {"a\\b/c\\deep.txt", "deep.txt"},
    };
    WriteCommonProfile();
    std::vector<MemberSource> members;
    std::map<std::string, long long> wantMain, wantSub;
    int index = 0;
    for (const Named& n : named) {
        const std::int16_t destination = static_cast<std::int16_t>(index % 2);
        members.push_back(Member(n.name, Payload(100 + index, index), index % 3 == 0 ? 4 : 2, destination));
        (destination == 0 ? wantMain : wantSub)[n.file] = 100 + index;
        ++index;
    }
    const std::uint32_t size = WriteArchive(members, "DIRS.A1");
    Write("Viewer", "DIRS.A1", std::to_string(size) + "|1|" + std::to_string(members.size()) + "|1|0|");
    // A 300-member archive named the way such tools write them.
    std::vector<MemberSource> fonts;
    std::map<std::string, long long> wantFonts;
    for (int i = 1; i <= 300; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "fonts\\m%04d.dat", i);
        fonts.push_back(Member(name, Payload(40, 1000 + i), 4, 1));
        wantFonts[FileNameAsWritten(name)] = 40;
    }
    const std::uint32_t fontsSize = WriteArchive(fonts, "FONTS.A1");
    Write("Viewer", "FONTS.A1", std::to_string(fontsSize) + "|1|300|1|0|");
    FlushProfile();
    const Surroundings around(scratch.path.string());
    const auto before = around.Snapshot();
    Prepare();

    EXPECT_EQ(Run(), IDD_REGISTERING);
    EXPECT_EQ(app_->continueFlag, 1);
    EXPECT_TRUE(Asked(ModalKind::dialog).empty());

    wantMain["SAMPLES"] = -1;  // the subdirectory destination
    EXPECT_EQ(ListTree(target, false), wantMain);
    for (const auto& [file, bytes] : wantFonts) wantSub[file] = bytes;
    EXPECT_EQ(ListTree(Target("SAMPLES")), wantSub);
    ASSERT_EQ(record.files.size(), members.size() + fonts.size());
    EXPECT_EQ(record.files[0].path, Target("X.DLL"));
    EXPECT_EQ(record.files[1].path, Target("SAMPLES\\b002.dat"));
    EXPECT_EQ(around.Snapshot(), before);
}

TEST_F(HostileMemberNames, StopAnsweredAfterARefusedNameEndsTheRun) {
    WriteCommonProfile();
    const std::uint32_t size = WriteArchive({Member("..\\escape.txt.", Payload(100, 1), 2, 0)}, "BAD.A1");
    Write("Viewer", "BAD.A1", std::to_string(size) + "|1|1|1|0|");
    WriteFile(disk1 + "\\after.txt", Payload(100, 2));
    Write("Viewer", "after.txt", "100|0|1|1|0|");
    Prepare();
    answers = {IDCANCEL};  // Cancel Operation

    EXPECT_EQ(Run(), IDD_FAILED);
    EXPECT_EQ(Questions(ModalKind::dialog), (std::vector<std::string>{"Cannot install files from 'BAD.A1':"}));
    EXPECT_EQ(app_->continueFlag, 0);
    EXPECT_FALSE(Exists(Target("after.txt")));
    EXPECT_FALSE(Exists(scratch.File("escape.txt")));
    EXPECT_TRUE(record.calls.empty());
}

// A profile that lists a source file under a device or directory name. A
// device name is refused by its name before anything is opened (an archive
// header read from a serial port could wait for ever), with the same report
// as a member refused by its name; a directory in a name is the media's
// business, and on the disk only its file name is used.
TEST_F(HostileMemberNames, SourceFilesNamedLikeDevicesAreRefusedUnopened) {
    WriteCommonProfile();
    const std::uint32_t size = WriteArchive({Member("..\\lpt1.txt", Payload(10, 4), 2, 0)}, "BYNAME.A1");
    Write("Viewer", "BYNAME.A1", std::to_string(size) + "|1|1|1|0|");
    WriteFile(disk1 + "\\plain.txt", Payload(40, 3));
    Write("Viewer", "NUL", "10|0|1|1|0|");
    Write("Viewer", "AUX.A1", "10|1|1|1|0|");
    Write("Viewer", "com1", "10|0|1|1|-1|");  // not even a file that is only carried
    Write("Viewer", "..\\DISK01\\plain.txt", "40|0|1|1|0|");
    FlushProfile();
    const Surroundings around(scratch.path.string());
    const auto before = around.Snapshot();
    Prepare();
    answers.assign(4, IDOK);

    EXPECT_EQ(Run(), IDD_REGISTERING);
    EXPECT_EQ(ListTree(target), (std::map<std::string, long long>{{"plain.txt", 40}}));
    const std::vector<ModalInteraction> reports = Asked(ModalKind::dialog);
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[0].text, "Cannot install files from 'BYNAME.A1':");
    EXPECT_EQ(reports[1].text, "Cannot install files from 'NUL':");
    EXPECT_EQ(reports[2].text, "Cannot install files from 'AUX.A1':");
    EXPECT_EQ(reports[3].text, "Cannot install files from 'com1':");
    // The same failure (headline, cause and class) as a member refused by
    // its name.
    for (const ModalInteraction& m : reports) {
        ASSERT_FALSE(m.details.empty()) << m.text;
        EXPECT_EQ(m.details.back(), reports[0].details.back()) << m.text;
    }
    EXPECT_EQ(around.Snapshot(), before);
}

class HostilePaths : public WorkerHarness {};

// The system's limit is 259 characters plus the terminator. A file whose
// final path is exactly 259 characters installs; one of 260 is refused with
// the report, and no shortened name is ever created in its place.
TEST_F(HostilePaths, FinalPathOf259InstallsAnd260IsRefusedWhole) {
    const std::string main = target + "\\" + std::string(40, 'D');
    const std::size_t room = 259 - main.size() - 1;  // characters left for the file name
    ASSERT_GT(room, 20u);
    ASSERT_LT(room + 1, 256u);
    const std::string fits = std::string(room - 4, 'f') + ".txt";
    const std::string over = std::string(room - 3, 'o') + ".txt";
    ASSERT_EQ((main + "\\" + fits).size(), 259u);
    ASSERT_EQ((main + "\\" + over).size(), 260u);

    WriteCommonProfile();
    const Bytes data = Payload(1000, 7);
    std::uint32_t size = WriteArchive({Member(fits, data, 4, 0)}, "FITS.A1");
    Write("Viewer", "FITS.A1", std::to_string(size) + "|1|1|1|0|");
    size = WriteArchive({Member(over, data, 4, 0)}, "OVER.A1");
    Write("Viewer", "OVER.A1", std::to_string(size) + "|1|1|1|0|");
    FlushProfile();
    const Surroundings around(scratch.path.string());
    const auto before = around.Snapshot();
    Prepare(main);
    answers = {IDOK};

    EXPECT_EQ(Run(), IDD_REGISTERING);
    EXPECT_EQ(Questions(ModalKind::dialog), (std::vector<std::string>{"Cannot install files from 'OVER.A1':"}));
    // Whole name or nothing: the directory holds the file that fits, and
    // nothing whose name is a cut of the refused one.
    const auto installed = ListTree(main);
    EXPECT_EQ(installed, (std::map<std::string, long long>{{fits, 1000}}));
    EXPECT_EQ(ReadFile(main + "\\" + fits), data);
    ASSERT_EQ(record.files.size(), 1u);
    EXPECT_EQ(record.files[0].path.size(), 259u);
    EXPECT_EQ(around.Snapshot(), before);
}

// A destination directory that already leaves no room for any file name.
TEST_F(HostilePaths, DestinationAtTheLimitRefusesEveryFile) {
    const std::string main = target + "\\" + std::string(257 - target.size(), 'L');
    ASSERT_EQ(main.size(), 258u);  // with its backslash, 259: no room for a name
    // No subdirectory: it could not be resolved below such a directory.
    Write("destinations", "0", "TARGET|-1|");
    Write("groups", "Viewer", "Viewer|Program|1|1|1");
    const std::uint32_t size = WriteArchive({Member("a.txt", Payload(10, 1), 2, 0)}, "DATA.A1");
    Write("Viewer", "DATA.A1", std::to_string(size) + "|1|1|1|0|");
    Prepare(main);
    answers = {IDOK};

    EXPECT_EQ(Run(), IDD_REGISTERING);
    EXPECT_EQ(Questions(ModalKind::dialog), (std::vector<std::string>{"Cannot install files from 'DATA.A1':"}));
    EXPECT_FALSE(Exists(main + "\\a.txt"));
    EXPECT_TRUE(ListTree(main).empty());
    EXPECT_TRUE(record.files.empty());
}

}  // namespace

namespace {

using namespace worker_harness;

class HostileDestinations : public WorkerHarness {};

// A profile's path field without a drive would put the files wherever the
// current directory happens to be: the source file is refused instead.
TEST_F(HostileDestinations, RelativeDestinationPathIsRefused) {
    Write("destinations", "0", "TARGET|-1|");
    Write("destinations", "1", "REL|0|RELDIR");
    Write("groups", "Viewer", "Viewer|Program|1|1|1");
    const std::uint32_t size = WriteArchive({Member("placed.txt", Payload(50, 5), 2, 1)}, "REL.A1");
    Write("Viewer", "REL.A1", std::to_string(size) + "|1|1|1|0|");
    WriteFile(disk1 + "\\good.txt", Payload(60, 6));
    Write("Viewer", "good.txt", "60|0|1|1|0|");
    FlushProfile();
    char cwd[MAX_PATH] = "";
    ::GetCurrentDirectoryA(sizeof cwd, cwd);
    const auto currentBefore = ListTree(cwd, false);
    Prepare();
    answers = {IDOK};

    EXPECT_EQ(Run(), IDD_REGISTERING);
    EXPECT_EQ(Questions(ModalKind::dialog), (std::vector<std::string>{"Cannot install files from 'REL.A1':"}));
    EXPECT_EQ(ListTree(target), (std::map<std::string, long long>{{"good.txt", 60}}));
    EXPECT_EQ(ListTree(cwd, false), currentBefore);
}

}  // namespace
