// The built SETUP.EXE, run unattended (/Q; /B where the run succeeds) with command lines and profiles
// meant to break it. Every run must end by itself with exit code 0 or 1:
// no hang, no crash, no question waiting for a user. Nothing may appear on
// the disk but the main directory the profile names.

#include <windows.h>

#include <gtest/gtest.h>

#include "FileTreeSupport.h"
#include "ProcessSupport.h"
#include "TestEnvironment.h"

#include "errors/SetupException.h"
#include "profile/PrivateProfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

// Generous bound for a loaded machine; it only stops a hung run.
constexpr DWORD kExitTimeoutMs = 90000;

const char kKitDir[] = "C:\\tvs-hostile-kit";
const char kDestName[] = "tvs-hostile-dest";
const char kDestDir[] = "C:\\tvs-hostile-dest";

std::string SetupExe() { return testenv::BuiltFile("app\\SETUP.EXE"); }

// Runs `exe` with `arguments` and returns its exit code, or -1 (after
// ending it) when it did not end in time.
long RunSetup(const std::string& exe, const std::string& arguments) {
    return testproc::RunProgram(exe, arguments, kExitTimeoutMs);
}

using filetree::RemoveTree;

// The names in the root of drive C, the one place a confused path lands;
// the main directory the profile names (C:\ and its name, in batch mode) is
// allowed.
std::map<std::string, bool> RootOfC(const std::string& mainName = kDestName) {
    std::map<std::string, bool> names;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA("C:\\*", &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        names[found.cFileName] = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    names.erase(mainName);
    return names;
}

// The entry in the root of C that a batch run of `profilePath` may create:
// the first component of its main directory, which batch mode places at
// C:\ and destination 0's name, read by the program's own loader. A damaged
// profile may give destination 0 quite another name than the good one.
std::string MainEntryOf(const std::string& profilePath) {
    DestinationMap destinations("C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM\\", "C:\\TEMP\\");
    ComponentMap components;
    TargetMap targets;
    SourceFileList sourceFiles;
    DisketteArray diskettes;
    try {
        LoadProfile(FilePath(profilePath), {destinations, components, targets, sourceFiles, diskettes}, [] {});
    } catch (const CException&) {
    }
    const std::string name = destinations.GetName(DestMain);
    std::size_t start = 0;
    while (start < name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos) end = name.size();
        const std::string part = name.substr(start, end - start);
        if (!part.empty() && part != "." && part != "..") return part;
        start = end + 1;
    }
    return kDestName;
}

void WriteText(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

std::string ReadBytes(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, got);
        std::fclose(f);
    }
    return text;
}

// A kit directory holding the given profile text as SETUP.ini, a copy of
// SETUP.EXE beside it, and two small files the profile may name.
class ProfileKit {
public:
    explicit ProfileKit(const std::string& profileText) {
        RemoveTree(kKitDir);
        RemoveTree(kDestDir);
        ::CreateDirectoryA(kKitDir, nullptr);
        exe = std::string(kKitDir) + "\\SETUP.EXE";
        copied = ::CopyFileA(SetupExe().c_str(), exe.c_str(), FALSE) != FALSE;
        WriteText(std::string(kKitDir) + "\\SETUP.ini", profileText);
        WriteText(std::string(kKitDir) + "\\readme.txt", "Read me now.");
        WriteText(std::string(kKitDir) + "\\sub.txt", "In the sub.\n");
    }
    ~ProfileKit() {
        RemoveTree(kKitDir);
        RemoveTree(kDestDir);
    }
    std::string exe;
    bool copied = false;
};

// A well-formed profile: the main directory, a subdirectory, one component
// with two small files on diskette 1.
std::string GoodProfile() {
    return std::string("[destinations]\r\n0=") + kDestName +
           "|-1|\r\n1=SUB|0|\r\n"
           "[groups]\r\nViewer=Viewer|Program|1|1|1\r\n"
           "[Viewer]\r\nreadme.txt=12|0|1|1|0|\r\nsub.txt=12|0|1|1|1|\r\n"
           "[diskettes]\r\n1=Disk 1|\r\n";
}

// Seeded damage to the good profile: bytes changed, inserted and removed,
// lines doubled, and the text cut short.
std::string Damaged(std::uint32_t seed) {
    std::mt19937 rng(seed);
    // The main directory's line stays whole, so that the run knows where it
    // may write; everything after it is fair game.
    const std::string kept = std::string("[destinations]\r\n0=") + kDestName + "|-1|\r\n";
    std::string text = GoodProfile().substr(kept.size());
    const char alphabet[] = "|[]=\r\n-0123456789\\/.:CONUL\x01\xff ";
    const int edits = 1 + static_cast<int>(rng() % 24);
    for (int i = 0; i < edits && !text.empty(); ++i) {
        const std::size_t at = rng() % text.size();
        const char c = alphabet[rng() % (sizeof alphabet - 1)];
        switch (rng() % 4) {
        case 0: text[at] = c; break;
        case 1: text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), c); break;
        case 2: text.erase(at, 1 + rng() % 8); break;
        default: {
            const std::size_t start = text.rfind('\n', at);
            const std::size_t from = start == std::string::npos ? 0 : start + 1;
            const std::size_t end = text.find('\n', at);
            text.insert(from, text.substr(from, end == std::string::npos ? std::string::npos : end - from + 1));
        }
        }
    }
    if (rng() % 3 == 0) text.resize(rng() % (text.size() + 1));
    return kept + text;
}

struct ProfileCase {
    std::string name;
    std::string text;
    // The main directory the run may create in the root of C:; empty when
    // the damage decides it.
    std::string mainName = kDestName;
};

// The profiles the fuzzer kept for new coverage of the profile reader,
// committed beside its other corpora.
std::vector<ProfileCase> FuzzCorpusProfiles() {
    std::vector<ProfileCase> cases;
    const std::string dir = testenv::SourceDir() + "\\tests\\fuzz\\corpus\\profile\\";
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((dir + "*.ini").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return cases;
    do {
        cases.push_back({std::string("fuzz corpus ") + found.cFileName, ReadBytes(dir + found.cFileName), ""});
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return cases;
}

std::vector<ProfileCase> HostileProfiles() {
    std::vector<ProfileCase> cases;
    cases.push_back({"empty", ""});
    std::mt19937 rng(1207);
    std::string junk(4096, '\0');
    for (char& c : junk) c = static_cast<char>(rng());
    cases.push_back({"binary junk", junk});
    cases.push_back({"destination cycle", std::string("[destinations]\r\n0=") + kDestName +
                                              "|-1|\r\n1=A|2|\r\n2=B|1|\r\n[groups]\r\nViewer=V||1|1|1\r\n"});
    const std::string huge(20000, 'h');
    cases.push_back({"huge values", std::string("[destinations]\r\n0=") + kDestName + "|-1|\r\n" + huge + "=" + huge +
                                        "\r\n[groups]\r\nViewer=" + huge + "|" + huge + "|1|1|1\r\n[Viewer]\r\n" + huge +
                                        "=2147483647|1|65535|1|0|\r\nreadme.txt=-1|7|0|1|0|\r\n"
                                        "[diskettes]\r\n2147483647=" + huge + "|\r\n-5=x|\r\n",
                     // A key without digits reads as destination 0: the
                     // huge line renames the main directory (to 254 of its
                     // characters, all the reader keeps).
                     std::string(254, 'h')});
    cases.push_back({"device and directory names",
                     std::string("[destinations]\r\n0=") + kDestName +
                         "|-1|\r\n1=CON|0|\r\n2=..\\..\\..|0|\r\n"
                         "[groups]\r\nViewer=Viewer|Program|1|1|1\r\n"
                         "[Viewer]\r\nCON=10|0|1|1|0|\r\nNUL=10|0|1|1|0|\r\nreadme.txt=12|0|1|1|1|\r\n"
                         "sub.txt=12|0|1|1|2|\r\nAUX.txt=5|1|1|1|0|\r\n"});
    // The profile reader keeps 254 characters of a value, so the main
    // directory is C:\ and 254 of them: 257 characters, and no file fits.
    cases.push_back({"main directory name too long",
                     "[destinations]\r\n0=" + std::string(300, 'n') +
                         "|-1|\r\n[groups]\r\nViewer=V||1|1|1\r\n[Viewer]\r\nreadme.txt=12|0|1|1|0|\r\n",
                     std::string(254, 'n')});
    for (std::uint32_t seed = 1; seed <= 6; ++seed) cases.push_back({"damaged", Damaged(seed), ""});
    return cases;
}

TEST(HostileProfile, EveryRunEndsByItselfWithCodeZeroOrOne) {
    for (const ProfileCase& c : HostileProfiles()) {
        SCOPED_TRACE(c.name);
        ProfileKit kit(c.text);
        ASSERT_TRUE(kit.copied) << SetupExe();
        const std::string mainEntry = MainEntryOf(std::string(kKitDir) + "\\SETUP.ini");
        if (!c.mainName.empty()) {
            EXPECT_EQ(mainEntry, c.mainName);
        }
        const auto rootBefore = RootOfC(mainEntry);
        const long code = RunSetup(kit.exe, "/Q");
        EXPECT_TRUE(code == 0 || code == 1) << "exit code " << code;
        EXPECT_EQ(RootOfC(mainEntry), rootBefore) << c.text;
        RemoveTree("C:\\" + mainEntry);
    }
}

TEST(HostileProfile, FuzzCorpusProfilesEndByThemselvesAndStayInTheirDirectory) {
    const std::vector<ProfileCase> cases = FuzzCorpusProfiles();
    ASSERT_GE(cases.size(), 10u) << "no corpus under " << testenv::SourceDir();
    for (const ProfileCase& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileKit kit(c.text);
        ASSERT_TRUE(kit.copied) << SetupExe();
        const std::string mainEntry = MainEntryOf(std::string(kKitDir) + "\\SETUP.ini");
        const auto rootBefore = RootOfC(mainEntry);
        const long code = RunSetup(kit.exe, "/Q");
        EXPECT_TRUE(code == 0 || code == 1) << "exit code " << code;
        EXPECT_EQ(RootOfC(mainEntry), rootBefore);
        RemoveTree("C:\\" + mainEntry);
    }
}

TEST(HostileProfile, TheGoodProfileInstallsBothFiles) {
    // The yardstick for the damaged ones: the same kit undamaged succeeds.
    ProfileKit kit(GoodProfile());
    ASSERT_TRUE(kit.copied) << SetupExe();
    EXPECT_EQ(RunSetup(kit.exe, "/B"), 0);
    EXPECT_NE(::GetFileAttributesA((std::string(kDestDir) + "\\readme.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(::GetFileAttributesA((std::string(kDestDir) + "\\SUB\\sub.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(HostileCommandLine, EveryRunEndsByItselfWithADefinedCode) {
    ProfileKit kit("[destinations]\r\n0=" + std::string(kDestName) + "|-1|\r\n");
    const std::string toKit = std::string("/D:") + kKitDir;
    std::string manySwitches;
    for (int i = 0; i < 2500; ++i) manySwitches += "/K" + std::to_string(i) + ":v ";

    struct Case {
        std::string arguments;
        int expected;  // -1: either 0 or 1
    };
    const Case cases[] = {
        {"/Q /D:C:\\tvs-hostile-nowhere " + std::string(10000, 'x'), 1},
        {"/B " + std::string(10000, 'x') + " " + toKit, 0},
        {"/Q /D:C:\\" + std::string(297, 'd'), 1},
        {"/B " + manySwitches + toKit, 0},
        {"/B / // /d:C:\\ /b /i /Qfoo " + toKit, 0},
        {"/Q /D:\"C:\\Program Files\\Kit\"", 1},
        {"/Q /D:\\\\?\\C:\\tvs-hostile-kit", -1},
        {"/Q /D:\\\\.\\NUL", 1},
        {"/Q /D:CON", 1},
        {"/Q /D:C:\\tvs-hostile-kit\x01\x07", 1},
        {"junk\x01 /B\x02 " + toKit, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.substr(0, 80));
        RemoveTree(kDestDir);
        const auto rootBefore = RootOfC();
        const long code = RunSetup(SetupExe(), c.arguments);
        if (c.expected < 0) {
            EXPECT_TRUE(code == 0 || code == 1) << "exit code " << code;
        } else {
            EXPECT_EQ(code, c.expected);
        }
        EXPECT_EQ(RootOfC(), rootBefore);
    }
}

}  // namespace
