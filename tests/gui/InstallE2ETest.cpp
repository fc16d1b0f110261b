// Whole installs by the built SETUP.EXE, started from a kit of diskette
// directories written by code and driven from outside like a user: what
// lands where, what the install log says about it, the questions asked on
// the way, files in use replaced at the next start, and the version rules
// with real version resources.

#include <windows.h>

#include <gtest/gtest.h>

#include "InstallRunSupport.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "../unit/ArchiveTestSupport.h"

using namespace installrun;
using archive_test::Bytes;
using archive_test::Member;
using archive_test::Payload;
using archive_test::ReadFile;
using archive_test::WriteFile;

namespace {

constexpr const char* kSetupTitle = "Tessaly Viewer Setup";  // pages 108, 115, 116 and the cancel question
constexpr const char* kRestartTitle = "Tessaly Viewer QZSETUPNAME";
constexpr std::uint32_t kVersionSignature = 0xFEEF04BD;

// Seconds since 1970 (UTC), as archive members carry them.
constexpr std::int64_t kMemberTime = 820454400;  // 1996-01-01, what Member() gives
constexpr std::int64_t kEarlier = 788918400;     // 1995-01-01
constexpr std::int64_t kLater = 978307200;       // 2001-01-01

std::string MainFile(const std::string& name) { return std::string(kProposedMainDir) + "\\" + name; }

// The common part of every kit's profile: the main directory and a
// subdirectory, a program and a samples component (both Typical), and two
// labelled diskettes.
void WriteCommonProfile(const DisketteKit& kit) {
    kit.Write("destinations", "0", "TYVIEWER|-1|");
    kit.Write("destinations", "1", "SAMPLES|0|");
    kit.Write("groups", "Viewer", "Tessaly Viewer|The program|1|1|1");
    kit.Write("groups", "Samples", "Sample molecules|Examples|0|1|1");
    kit.Write("diskettes", "1", "E2E Disk 1|");
    kit.Write("diskettes", "2", "E2E Disk 2|");
}

// One archive of `members` in `dir` (a single volume); its profile line
// goes into the component's section. Returns the volume's path.
std::string WriteArchive(const DisketteKit& kit, const char* component, const std::string& dir,
                         const std::string& name, const std::vector<MemberSource>& members, int diskette = 1) {
    MemoryVolumeOutput out;
    CMultiFileWriter writer(out);
    std::uint32_t size = 0;
    for (const MemberSource& m : members) {
        writer.AddMember(m);
        size += static_cast<std::uint32_t>(m.data.size());
    }
    writer.Finish();
    const std::string path = archive_test::StoreVolumes(out.volumes, {dir}, name).at(0);
    kit.Write(component, name,
              std::to_string(size) + "|1|" + std::to_string(members.size()) + "|" + std::to_string(diskette) + "|0|");
    return path;
}

// A single file on a diskette directory with its profile line.
void WriteSingleFile(const DisketteKit& kit, const char* component, const std::string& dir, const std::string& name,
                     const Bytes& data, int diskette, int destination) {
    WriteFile(dir + "\\" + name, data);
    kit.Write(component, name,
              std::to_string(data.size()) + "|0|1|" + std::to_string(diskette) + "|" + std::to_string(destination) +
                  "|");
}

// The built tyshared.dll with its file version set to a.b.c.d (the fixed
// file information found by its signature) and `tag` appended behind the
// image, so that two copies of the same version still differ in content.
Bytes VersionedDll(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d, const std::string& tag) {
    Bytes dll = ReadFile(testenv::BuiltFile("product\\tyshared.dll"));
    std::size_t at = 0;
    for (; at + 16 <= dll.size(); at += 4) {
        std::uint32_t word = 0;
        std::memcpy(&word, &dll[at], sizeof word);
        if (word == kVersionSignature) break;
    }
    EXPECT_LT(at + 16, dll.size()) << "no fixed file information in tyshared.dll";
    if (at + 16 > dll.size()) return dll;
    const std::uint32_t ms = (std::uint32_t{a} << 16) | b;
    const std::uint32_t ls = (std::uint32_t{c} << 16) | d;
    std::memcpy(&dll[at + 8], &ms, sizeof ms);
    std::memcpy(&dll[at + 12], &ls, sizeof ls);
    dll.insert(dll.end(), tag.begin(), tag.end());
    return dll;
}

// The file version as the system reads it, "a.b.c.d", or "" without one.
std::string FileVersionOf(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return std::string();
    std::vector<char> data(size + 1);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return std::string();
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info) return std::string();
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
}

void SetModificationTime(const std::string& path, std::int64_t seconds) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    const std::uint64_t ticks = static_cast<std::uint64_t>(seconds + 11644473600LL) * 10000000ULL;
    FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    ::SetFileTime(file, nullptr, nullptr, &time);
    ::CloseHandle(file);
}

// Names of the files in `dir` matching `pattern`.
std::vector<std::string> FilesIn(const std::string& dir, const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((dir + "\\" + pattern).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return names;
}

bool IsTemporaryName(const std::string& name, const std::string& extension) {
    if (name.size() != 8 + extension.size()) return false;
    for (std::size_t i = 0; i < 8; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
    return ::lstrcmpiA(name.substr(8).c_str(), extension.c_str()) == 0;
}

// Clicks Next on Welcome, the directory page and the group page, typing
// the directory and the group first when they are given.
void WalkQuestionPages(const Process& run, const std::string& directory = {}, const std::string& group = {}) {
    ASSERT_TRUE(NextOn(run, "Welcome"));

    HWND page = WaitForDialog(run, "Select Directory", IDC_LOCATION);
    ASSERT_NE(page, nullptr);
    // The page puts its proposal into the field while it starts; typing
    // waits for it, or the proposal would overwrite what was typed.
    EXPECT_EQ(WaitForText(page, IDC_LOCATION), kProposedMainDir);
    if (!directory.empty()) TypeInto(page, IDC_LOCATION, directory);
    HWND bar = WaitForBar(page);
    ASSERT_NE(bar, nullptr);
    PostClick(bar, IDC_NEXT);

    page = WaitForDialog(run, "Select Program Item Group", IDC_GROUPNAME);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(WaitForText(page, IDC_GROUPNAME), kDefaultGroup);
    if (!group.empty()) TypeInto(page, IDC_GROUPNAME, group);
    bar = WaitForBar(page);
    ASSERT_NE(bar, nullptr);
    PostClick(bar, IDC_NEXT);
}

// Waits for the final page titled like Setup, checks which one it is by
// its button, and leaves it.
void LeaveFinalPage(const Process& run, const char* buttonText) {
    HWND page = WaitForDialog(run, kSetupTitle, IDOK);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(guidriver::ControlText(page, IDOK), buttonText);
    EXPECT_TRUE(guidriver::Click(page, IDOK));
}

TEST(InstallE2ETest, TypedDirectoryAndGroupAndALocationTypedIntoTheDiskettePrompt) {
    const std::string group = "E2E Typed Group";
    DisketteKit kit("typed");
    const std::string directory = kit.Root() + "\\Installed Here";
    RunTraces traces;
    traces.items = {{group, "E2E Viewer"}, {group, "E2E Samples"}};
    traces.groups = {group};
    traces.directories = {kProposedMainDir};
    SystemState state(traces);

    WriteCommonProfile(kit);
    kit.Write("targets", "viewer.exe", "0|1|0|E2E Viewer||viewer.exe|");
    const Bytes viewer = Payload(300000, 21, false);
    const Bytes readme = Payload(20000, 22);
    WriteArchive(kit, "Viewer", kit.Disk(1), "VIEW.A1",
                 {Member("viewer.exe", viewer, 2, 0), Member("README.TXT", readme, 4, 0)});
    // The second diskette's files are kept where the sibling directory
    // search does not look: only the prompt can find them.
    ::RemoveDirectoryA(kit.Disk(2).c_str());
    const std::string elsewhere = kit.Dir("ELSEWHERE");
    const Bytes water = Payload(5000, 23);
    const Bytes benzene = Payload(7000, 24);
    WriteSingleFile(kit, "Samples", elsewhere, "water.xyz", water, 2, 1);
    // Looked for where the first was found, so not asked for again.
    WriteSingleFile(kit, "Samples", elsewhere, "benzene.mol", benzene, 2, 1);

    Process run(kit.CommandLine(""));
    ASSERT_TRUE(run.Started());
    WalkQuestionPages(run, directory, group);

    HWND prompt = WaitForDialog(run, "Insert Diskette", IDC_LOCATION);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(WaitForText(prompt, IDC_DISK_REQUEST), "Please insert the diskette labelled 'E2E Disk 2' in drive C:");
    // The field starts with the directory Setup looked in.
    EXPECT_EQ(WaitForText(prompt, IDC_LOCATION), kit.Disk(1));
    ASSERT_TRUE(guidriver::Click(prompt, IDC_MORE));
    TypeInto(prompt, IDC_LOCATION, elsewhere);
    EXPECT_TRUE(guidriver::Click(prompt, IDOK));

    LeaveFinalPage(run, "Finished");
    EXPECT_EQ(run.Wait(), 0);

    // The files went below the typed directory, none to the proposal.
    EXPECT_EQ(ReadFile(directory + "\\viewer.exe"), viewer);
    EXPECT_EQ(ReadFile(directory + "\\README.TXT"), readme);
    EXPECT_EQ(ReadFile(directory + "\\SAMPLES\\water.xyz"), water);
    EXPECT_EQ(ReadFile(directory + "\\SAMPLES\\benzene.mol"), benzene);
    EXPECT_FALSE(Exists(MainFile("viewer.exe")));

    // The item is in the typed group.
    ProgramGroups groups;
    if (groups.UsesShellLinks()) {
        EXPECT_TRUE(Exists(groups.LinkFile(group, "E2E Viewer").GetPath()));
        EXPECT_FALSE(Exists(groups.LinkFile(kDefaultGroup, "E2E Viewer").GetPath()));
    }

    const std::string log = LogPath();
    EXPECT_EQ(ProfileValue(log, "destinations", "0"), "TYVIEWER|-1|" + directory + "\\");
    EXPECT_EQ(ProfileValue(log, "destinations", "1"), "SAMPLES|0|" + directory + "\\SAMPLES\\");
    EXPECT_EQ(ProfileValue(log, "Viewer", "viewer.exe"), "0|1|0");
    EXPECT_EQ(ProfileValue(log, "Samples", "water.xyz"), "1|1|0");
    EXPECT_EQ(ProfileValue(log, "Samples", "benzene.mol"), "1|1|0");
    EXPECT_EQ(ProfileValue(log, "targets", "VIEWER.EXE"), "0|1|0|E2E Viewer||viewer.exe|" + directory + "\\viewer.exe");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, regtext::UninstallKey(kProduct), "UninstallString"),
              directory + "\\SETUP.EXE /U");
}

TEST(InstallE2ETest, CancelDuringCopyingAnsweredNoGoesOnAndYesEndsOnTheFailurePage) {
    DisketteKit kit("cancel");
    RunTraces traces = DefaultTraces();
    traces.items.push_back({kDefaultGroup, "Big One"});
    traces.directories = {kProposedMainDir};
    SystemState state(traces);

    WriteCommonProfile(kit);
    kit.Write("targets", "big1.bin", "0|1|0|Big One||big1.bin|");
    // Stored members of several megabytes each: copying lasts long enough
    // for the clicks even when the program runs fast, and each member ends
    // with its file in place, which shows that copying went on.
    constexpr int kMembers = 8;
    std::vector<MemberSource> members;
    for (int i = 1; i <= kMembers; ++i)
        members.push_back(Member("big" + std::to_string(i) + ".bin", Payload(6u << 20, 30 + i, false), 2, 0));
    WriteArchive(kit, "Viewer", kit.Disk(1), "BIG.A1", members);
    members.clear();

    Process run(kit.CommandLine(""));
    ASSERT_TRUE(run.Started());
    WalkQuestionPages(run);

    HWND copy = WaitForDialog(run, kSetupTitle, IDC_SOURCEFILE);
    ASSERT_NE(copy, nullptr);
    PostClick(copy, IDCANCEL);
    ASSERT_TRUE(AnswerQuestion(run, kSetupTitle, IDNO));
    // Copying goes on: the member under way is placed.
    ASSERT_TRUE(WaitForFile(MainFile("big1.bin")));

    PostClick(copy, IDCANCEL);
    ASSERT_TRUE(AnswerQuestion(run, kSetupTitle, IDYES));
    LeaveFinalPage(run, "&OK");
    EXPECT_EQ(run.Wait(), 1);

    EXPECT_FALSE(Exists(MainFile("big" + std::to_string(kMembers) + ".bin")));
    const std::string log = LogPath();
    EXPECT_EQ(ProfileValue(log, "Viewer", "big1.bin"), "0|1|0");
    // The abandoned install claims nothing the uninstall would undo.
    EXPECT_FALSE(HasSection(log, "destinations"));
    EXPECT_FALSE(HasSection(log, "groups"));
    EXPECT_FALSE(HasSection(log, "targets"));
    ProgramGroups groups;
    if (groups.UsesShellLinks()) {
        EXPECT_FALSE(Exists(groups.LinkFile(kDefaultGroup, "Big One").GetPath()));
    }
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, regtext::UninstallKey(kProduct), "DisplayName"), std::nullopt);
}

TEST(InstallE2ETest, FileInUseIsReplacedAtTheNextStart) {
    DisketteKit kit("inuse");
    RunTraces traces = DefaultTraces();
    traces.directories = {kProposedMainDir};
    SystemState state(traces);
    WriteCommonProfile(kit);
    const std::string target = MainFile("tyshared.dll");

    // The first install places the older copy.
    const Bytes older = VersionedDll(2, 0, 0, 4, "older");
    WriteArchive(kit, "Viewer", kit.Disk(1), "DATA.A1", {Member("tyshared.dll", older, 4, 0)});
    ASSERT_EQ(kit.RunBatch(), 0);
    ASSERT_EQ(ReadFile(target), older);
    EXPECT_EQ(FileVersionOf(target), "2.0.0.4");
    EXPECT_EQ(ProfileValue(LogPath(), "Viewer", "tyshared.dll"), "0|1|0");

    // The second brings a newer one while the installed copy is open
    // without sharing.
    const Bytes newer = VersionedDll(2, 0, 0, 5, "newer");
    WriteArchive(kit, "Viewer", kit.Disk(1), "DATA.A1", {Member("tyshared.dll", newer, 4, 0)});
    HANDLE held = ::CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    {
        Process run(kit.CommandLine(""));
        ASSERT_TRUE(run.Started());
        WalkQuestionPages(run);
        HWND restart = WaitForDialog(run, kRestartTitle, IDC_DONTRESTART);
        ASSERT_NE(restart, nullptr);
        EXPECT_TRUE(guidriver::ControlExists(restart, IDC_RESTART));
        // Never the Restart button: it would end every process of the prefix.
        EXPECT_TRUE(guidriver::Click(restart, IDC_DONTRESTART));
        EXPECT_EQ(run.Wait(), 0);
    }
    EXPECT_EQ(ProfileValue(LogPath(), "Viewer", "tyshared.dll"), "0|0|1");
    std::vector<std::string> waiting;
    for (const std::string& name : FilesIn(kProposedMainDir, "*.dll"))
        if (IsTemporaryName(name, ".dll")) waiting.push_back(name);
    ASSERT_EQ(waiting.size(), 1u);
    const std::string temporary = std::string(kProposedMainDir) + "\\" + waiting[0];
    EXPECT_EQ(ReadFile(temporary), newer);
    ::CloseHandle(held);
    EXPECT_EQ(ReadFile(target), older);

    // The next start puts the new copy in place.
    Process boot("wineboot.exe -r");
    ASSERT_TRUE(boot.Started());
    EXPECT_EQ(boot.Wait(), 0);
    EXPECT_EQ(ReadFile(target), newer);
    EXPECT_EQ(FileVersionOf(target), "2.0.0.5");
    EXPECT_FALSE(Exists(temporary));
}

TEST(InstallE2ETest, DamagedMemberIsReportedAndContinueInstallsTheNextSourceFile) {
    DisketteKit kit("damaged");
    RunTraces traces = DefaultTraces();
    traces.directories = {kProposedMainDir};
    SystemState state(traces);
    WriteCommonProfile(kit);

    const std::string volume =
        WriteArchive(kit, "Viewer", kit.Disk(1), "DATA.A1", {Member("damaged.bin", Payload(20000, 40), 4, 0)});
    // One flipped byte in the member's data: its checksum no longer matches.
    Bytes bytes = ReadFile(volume);
    bytes[bytes.size() - 100] ^= 0x55;
    WriteFile(volume, bytes);
    const Bytes good = Payload(9000, 41);
    WriteSingleFile(kit, "Viewer", kit.Disk(1), "good.txt", good, 1, 0);

    Process run(kit.CommandLine(""));
    ASSERT_TRUE(run.Started());
    WalkQuestionPages(run);
    HWND report = WaitForDialog(run, "Warning", IDC_ERROR_HEADLINE);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(WaitForText(report, IDC_ERROR_HEADLINE), "Cannot install files from 'DATA.A1':");
    EXPECT_TRUE(guidriver::ClickByText(report, "Continue Operation"));
    LeaveFinalPage(run, "Finished");
    EXPECT_EQ(run.Wait(), 0);

    EXPECT_FALSE(Exists(MainFile("damaged.bin")));
    EXPECT_EQ(ReadFile(MainFile("good.txt")), good);
    EXPECT_EQ(ProfileValue(LogPath(), "Viewer", "damaged.bin"), "<missing>");
    EXPECT_EQ(ProfileValue(LogPath(), "Viewer", "good.txt"), "0|1|0");
    EXPECT_TRUE(HasSection(LogPath(), "destinations"));
}

// A kit with several damaged archives between good files. A batch run shows
// one report per damaged archive, as an interactive run does, and
// Continue Operation each time installs every good file; a quiet run shows
// nothing, answers the first report "stop" in the log's events and fails.
TEST(InstallE2ETest, DamagedArchivesAreAskedAboutInABatchRunAndLoggedInAQuietRun) {
    DisketteKit kit("damagedmany");
    RunTraces traces = DefaultTraces();
    traces.directories = {kProposedMainDir};
    SystemState state(traces);
    WriteCommonProfile(kit);
    const char* const damaged[] = {"DATA1.A1", "DATA2.A1", "DATA3.A1"};
    std::vector<std::pair<std::string, Bytes>> goods;
    for (int i = 0; i < 3; ++i) {
        const std::string volume = WriteArchive(kit, "Viewer", kit.Disk(1), damaged[i],
                                                {Member("damaged" + std::to_string(i) + ".bin", Payload(5000, 50 + i), 4, 0)});
        Bytes bytes = ReadFile(volume);
        bytes[bytes.size() - 100] ^= 0x55;
        WriteFile(volume, bytes);
        const std::string name = "good" + std::to_string(i) + ".txt";
        goods.emplace_back(name, Payload(3000 + i, 60 + i));
        WriteSingleFile(kit, "Viewer", kit.Disk(1), name, goods.back().second, 1, 0);
    }

    {
        Process run(kit.CommandLine("/B"));
        ASSERT_TRUE(run.Started());
        for (const char* archive : damaged) {
            SCOPED_TRACE(archive);
            HWND report = WaitForDialog(run, "Warning", IDC_ERROR_HEADLINE);
            ASSERT_NE(report, nullptr);
            EXPECT_TRUE(::IsWindowVisible(report));
            EXPECT_EQ(WaitForText(report, IDC_ERROR_HEADLINE), std::string("Cannot install files from '") + archive + "':");
            EXPECT_TRUE(guidriver::ClickByText(report, "Continue Operation"));
            ASSERT_TRUE(guidriver::WaitUntilGone(report, kWindowTimeoutMs));
        }
        EXPECT_EQ(run.Wait(), 0);
    }
    for (const auto& [name, data] : goods) EXPECT_EQ(ReadFile(MainFile(name)), data) << name;
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(Exists(MainFile("damaged" + std::to_string(i) + ".bin")));
    EXPECT_TRUE(HasSection(LogPath(), "destinations"));
    const auto failureEvents = [] {
        std::vector<std::string> found;
        for (const std::string& text : SectionValues(LogPath(), "Events"))
            if (text.rfind("Cannot install files from ", 0) == 0) found.push_back(text);
        return found;
    };
    EXPECT_TRUE(failureEvents().empty());

    SystemState::RemoveTree(kProposedMainDir);
    {
        Process run(kit.CommandLine("/Q"));
        ASSERT_TRUE(run.Started());
        // Nothing waits: the run ends by itself, before any window is answered.
        EXPECT_EQ(run.Wait(), 1);
    }
    const std::vector<std::string> events = failureEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].rfind("Cannot install files from 'DATA1.A1': ", 0), 0u) << events[0];
    // Headline, summary and the information line "%d.%d (class)".
    EXPECT_NE(events[0].find("Exception))"), std::string::npos) << events[0];
    EXPECT_FALSE(Exists(MainFile("good0.txt")));  // stopped at the first damaged archive
}

// The installed copy before a run, and the new file the kit brings.
struct Copy {
    bool versioned;
    std::uint16_t version[4];
    std::int64_t time;  // of the installed copy; a new file carries the member's time
};

struct VersionCase {
    const char* name;
    Copy installed;
    Copy incoming;
    bool replaced;  // the new file judged newer and put in place
};

Bytes ContentOf(const Copy& copy, const std::string& tag) {
    if (copy.versioned)
        return VersionedDll(copy.version[0], copy.version[1], copy.version[2], copy.version[3], tag);
    const std::string text = "no version resource here: " + tag;
    return Bytes(text.begin(), text.end());
}

TEST(InstallE2ETest, VersionRulesDecideBetweenTheInstalledCopyAndTheNewOne) {
    const Copy v2005{true, {2, 0, 0, 5}, kMemberTime};
    const VersionCase cases[] = {
        {"installed version older", {true, {2, 0, 0, 4}, kMemberTime}, v2005, true},
        {"major part decides before the lower ones", {true, {1, 99, 99, 99}, kMemberTime}, v2005, true},
        {"installed version equal", v2005, v2005, false},
        {"installed version newer in the third part", {true, {2, 0, 1, 0}, kMemberTime}, v2005, false},
        {"installed version newer", {true, {2, 1, 0, 0}, kMemberTime}, v2005, false},
        {"installed copy without version", {false, {}, kLater}, v2005, true},
        {"new file without version", v2005, {false, {}, kMemberTime}, false},
        {"neither versioned, installed older", {false, {}, kEarlier}, {false, {}, kMemberTime}, true},
        {"neither versioned, installed newer", {false, {}, kLater}, {false, {}, kMemberTime}, false},
        {"neither versioned, same time", {false, {}, kMemberTime}, {false, {}, kMemberTime}, false},
    };

    DisketteKit kit("versions");
    RunTraces traces = DefaultTraces();
    traces.directories = {kProposedMainDir};
    SystemState state(traces);
    WriteCommonProfile(kit);
    const std::string target = MainFile("tyshared.dll");

    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.name);
        state.RemoveRunTraces();
        ::DeleteFileA(LogPath().c_str());

        const Bytes before = ContentOf(c.installed, "installed");
        const Bytes incoming = ContentOf(c.incoming, "incoming");
        ::CreateDirectoryA(kProposedMainDir, nullptr);
        WriteFile(target, before);
        SetModificationTime(target, c.installed.time);
        WriteArchive(kit, "Viewer", kit.Disk(1), "DATA.A1", {Member("tyshared.dll", incoming, 4, 0)});

        ASSERT_EQ(kit.RunBatch(), 0);
        EXPECT_EQ(ReadFile(target), c.replaced ? incoming : before);
        EXPECT_EQ(ProfileValue(LogPath(), "Viewer", "tyshared.dll"), c.replaced ? "0|1|1" : "0|0|0");
        // Neither outcome leaves a temporary file beside the target.
        EXPECT_EQ(FilesIn(kProposedMainDir, "*.dll"), std::vector<std::string>{"tyshared.dll"});
    }
}

}  // namespace
