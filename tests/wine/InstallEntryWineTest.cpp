// Real installs of archive members and single files into a scratch tree:
// the replace rules by version and time, files in use, read-only copies,
// System files and their counts, temporary names that run out, hostile
// member names and damaged members.

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../unit/ArchiveTestSupport.h"
#include "SystemTestSupport.h"
#include "archive/FileStatus.h"
#include "archive/InstallEntry.h"
#include "archive/MediaMultiFile.h"
#include "archive/MultiFileWriter.h"
#include "errors/SetupException.h"
#include "framework/Exception.h"
#include "system/ReplaceAtReboot.h"
#include "uninstall/DataModelInstallSite.h"
#include "uninstall/InstallLogFile.h"

using namespace archive_test;

namespace {

constexpr std::int32_t kTime1996 = 820454400;  // 1996-01-01 00:00 UTC
constexpr std::int32_t kTime1997 = 852076800;  // 1997-01-01 00:00 UTC

struct Line {
    std::string component;
    std::string path;
    int destination;
    int placed;
    int replaced;
};

class FakeRecorder : public InstallRecorder {
public:
    void LogFileLine(const std::string& componentKey, const std::string& finalPath, std::int16_t destination,
                     int placed, int replaced) override {
        lines.push_back({componentKey, finalPath, destination, placed, replaced});
    }
    std::vector<Line> lines;
};

// What one member's Install did.
struct Outcome {
    std::string name;
    std::uint32_t placed = 0;
    std::uint32_t replaced = 0;
    int fileCause = -1;      // CFileException cause, when one was raised
    std::string otherError;  // class name of any other exception
};

void SetModTime(const std::string& path, std::int64_t unixSeconds) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    ULARGE_INTEGER v;
    v.QuadPart = static_cast<ULONGLONG>(unixSeconds + 11644473600LL) * 10000000ULL;
    FILETIME ft{v.LowPart, v.HighPart};
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The names in a directory, without "." and "..".
std::vector<std::string> Listing(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string n = data.cFileName;
        if (n != "." && n != "..")
            names.push_back(n);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// The product's shared library, with its file version changed in a copy.
Bytes ProductDll() { return ReadFile(systest::BinaryDir() + "\\product\\tyshared.dll"); }

Bytes WithFileVersion(Bytes dll, std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
    const unsigned char signature[] = {0xBD, 0x04, 0xEF, 0xFE};
    for (std::size_t i = 0; i + 16 <= dll.size(); ++i) {
        if (std::equal(signature, signature + 4, dll.begin() + static_cast<std::ptrdiff_t>(i))) {
            const std::uint32_t ms = (std::uint32_t(a) << 16) | b;
            const std::uint32_t ls = (std::uint32_t(c) << 16) | d;
            for (int k = 0; k < 4; ++k) {
                dll[i + 8 + k] = static_cast<unsigned char>(ms >> (8 * k));
                dll[i + 12 + k] = static_cast<unsigned char>(ls >> (8 * k));
            }
            return dll;
        }
    }
    ADD_FAILURE() << "no fixed file information in the library";
    return dll;
}

// A scratch Windows, System and install directory, the data model over them
// and the engine's fakes.
struct Tree {
    Tree() {
        destinations.SetPath(0, app);
        targets.Add(MakeTargetFor("TYVIEWER.EXE"));
    }

    static std::unique_ptr<Target> MakeTargetFor(const std::string& key) {
        auto t = std::make_unique<Target>();
        t->key = key;
        t->itemName = "Tessaly Viewer";
        return t;
    }

    // Writes the members into one archive volume and installs each.
    // `before` runs ahead of each member's install, with its index.
    std::vector<Outcome> InstallArchive(const std::vector<MemberSource>& members,
                                        const std::function<void(Bytes&)>& damage = nullptr,
                                        const std::function<void(int)>& before = nullptr) {
        MemoryVolumeOutput out;
        CMultiFileWriter writer(out);
        for (const MemberSource& m : members)
            writer.AddMember(m);
        writer.Finish();
        if (damage)
            damage(out.volumes.at(0));
        std::string media = scratch.Dir("MEDIA") + "\\DATA" + std::to_string(++volumes) + ".A1";
        WriteFile(media, out.volumes.at(0));

        std::vector<Outcome> outcomes;
        CMediaMultiFile archive(nullptr, nullptr, 1);
        archive.OpenArchive(media);
        CInstallEntry entry(archive, "Viewer", recorder, site, &Win32FileStatus());
        while (archive.NextEntry(entry, false)) {
            Outcome o;
            o.name = entry.memberName;
            if (before)
                before(static_cast<int>(outcomes.size()));
            try {
                entry.Install();
            } catch (const CFileException& e) {
                o.fileCause = e.cause;
            } catch (const CException& e) {
                o.otherError = e.GetRuntimeClass()->className;
            }
            o.placed = entry.placed;
            o.replaced = entry.replaced;
            lastTemp = entry.tempPath;
            outcomes.push_back(o);
        }
        archive.Close();
        return outcomes;
    }

    Outcome InstallOne(const MemberSource& member) { return InstallArchive({member}).at(0); }

    ScratchDir scratch;
    std::string win = scratch.Dir("WINDOWS");
    std::string sys = scratch.Dir("WINDOWS\\SYSTEM");
    std::string app = scratch.path.string() + "\\APP\\TYVIEWER";  // made by the engine
    DestinationMap destinations{win + "\\", sys + "\\", scratch.Dir("TEMP") + "\\"};
    TargetMap targets;
    std::vector<std::string> scheduled;  // "existing=new"
    std::function<bool(const std::string&, const std::string&)> schedule =
        [this](const std::string& newFile, const std::string& existing) {
            scheduled.push_back(existing + "=" + newFile);
            return true;
        };
    bool restartNeeded = false;
    DataModelInstallSite site{destinations, targets,
                              [this](const std::string& a, const std::string& b) { return schedule(a, b); },
                              [this] { restartNeeded = true; }};
    FakeRecorder recorder;
    FilePath lastTemp;
    int volumes = 0;
};

MemberSource Plain(const std::string& name, const std::string& text, std::int32_t modTime,
                   std::int16_t destination = 0, std::int32_t method = 4) {
    MemberSource m = Member(name, Text(text), method, destination);
    m.modTime = modTime;
    return m;
}

TEST(InstallEntryWine, NewFileIsPlacedLoggedAndRecordedInItsTarget) {
    Tree t;
    Outcome o = t.InstallOne(Plain("TYVIEWER.EXE", "viewer program", kTime1997));
    EXPECT_EQ(o.fileCause, -1);
    EXPECT_EQ(o.otherError, "");
    EXPECT_EQ(o.placed, 1u);
    EXPECT_EQ(o.replaced, 0u);
    const std::string final = t.app + "\\TYVIEWER.EXE";
    EXPECT_TRUE(ReadFile(final) == Text("viewer program"));
    EXPECT_EQ(Listing(t.app), std::vector<std::string>{"TYVIEWER.EXE"});  // no temporary left
    ASSERT_EQ(t.recorder.lines.size(), 1u);
    EXPECT_EQ(t.recorder.lines[0].component, "Viewer");
    EXPECT_EQ(t.recorder.lines[0].path, final);
    EXPECT_EQ(t.recorder.lines[0].destination, 0);
    EXPECT_EQ(t.targets.Find("tyviewer.exe")->path.GetPath(), final);
    EXPECT_FALSE(t.restartNeeded);
}

TEST(InstallEntryWine, DestinationRemovedBetweenMembersIsMadeAgain) {
    Tree t;
    std::vector<MemberSource> members = {Plain("ONE.DAT", "first", kTime1997), Plain("TWO.DAT", "second", kTime1997),
                                         Plain("THREE.DAT", "third", kTime1997)};
    const std::string kept = t.scratch.Dir("KEPT") + "\ONE.DAT";
    std::vector<Outcome> outcomes = t.InstallArchive(members, nullptr, [&](int index) {
        if (index != 1)
            return;
        // Someone takes the directory away while Setup is between files.
        ASSERT_TRUE(MoveFileA((t.app + "\\ONE.DAT").c_str(), kept.c_str()));
        // It is the current directory: step out of it first.
        SetCurrentDirectoryA(t.scratch.path.string().c_str());
        ASSERT_TRUE(RemoveDirectoryA(t.app.c_str())) << GetLastError();
    });
    ASSERT_EQ(outcomes.size(), 3u);
    for (const Outcome& o : outcomes) {
        SCOPED_TRACE(o.name);
        EXPECT_EQ(o.fileCause, -1);
        EXPECT_EQ(o.placed, 1u);
    }
    EXPECT_TRUE(ReadFile(kept) == Text("first"));
    std::vector<std::string> names = Listing(t.app);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"THREE.DAT", "TWO.DAT"}));
}

TEST(InstallEntryWine, InstalledCopyByTime) {
    struct Case {
        const char* what;
        std::int64_t installedTime;
        bool replaced;
    } cases[] = {
        {"older installed copy is replaced", kTime1996, true},
        {"newer installed copy is kept", kTime1997 + 3600, false},
        {"same time keeps the installed copy", kTime1997, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Tree t;
        CreateDirectoryA((t.scratch.path.string() + "\\APP").c_str(), nullptr);
        CreateDirectoryA(t.app.c_str(), nullptr);
        const std::string final = t.app + "\\README.TXT";
        WriteFile(final, Text("installed"));
        SetModTime(final, c.installedTime);

        Outcome o = t.InstallOne(Plain("README.TXT", "from the media", kTime1997));
        EXPECT_EQ(o.fileCause, -1);
        EXPECT_EQ(o.placed, c.replaced ? 1u : 0u);
        EXPECT_EQ(o.replaced, c.replaced ? 1u : 0u);
        EXPECT_TRUE(ReadFile(final) == Text(c.replaced ? "from the media" : "installed"));
        EXPECT_EQ(Listing(t.app), std::vector<std::string>{"README.TXT"});
        ASSERT_EQ(t.recorder.lines.size(), 1u);  // logged either way
        EXPECT_EQ(t.recorder.lines[0].placed, c.replaced ? 1 : 0);
    }
}

TEST(InstallEntryWine, ReadsTheProductLibrarysVersion) {
    const std::string dll = systest::BinaryDir() + "\\product\\tyshared.dll";
    FileVersion v = CInstallEntry::ReadFileVersion(dll);
    ASSERT_TRUE(v.present) << dll;
    EXPECT_EQ(v.parts[0], 2);
    EXPECT_EQ(v.parts[1], 0);
    EXPECT_EQ(v.parts[2], 0);
    EXPECT_EQ(v.parts[3], 5);
    EXPECT_FALSE(CInstallEntry::ReadFileVersion(dll + ".missing").present);
}

TEST(InstallEntryWine, InstalledCopyByVersion) {
    const Bytes product = ProductDll();  // 2.0.0.5
    ASSERT_FALSE(product.empty());
    struct Case {
        const char* what;
        Bytes installed;
        std::int64_t installedTime;
        bool replaced;
    } cases[] = {
        {"older version is replaced although it is later by date", WithFileVersion(product, 2, 0, 0, 4),
         kTime1997 + 86400, true},
        {"newer version is kept", WithFileVersion(product, 2, 0, 0, 6), kTime1996, false},
        {"same version is kept", product, kTime1996, false},
        {"a copy without version is replaced by one with", Text("no resource here"), kTime1997 + 86400, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Tree t;
        CreateDirectoryA((t.scratch.path.string() + "\\APP").c_str(), nullptr);
        CreateDirectoryA(t.app.c_str(), nullptr);
        const std::string final = t.app + "\\TYSHARED.DLL";
        WriteFile(final, c.installed);
        SetModTime(final, c.installedTime);

        MemberSource m = Member("TYSHARED.DLL", product, 4, 0);
        m.modTime = kTime1997;
        Outcome o = t.InstallOne(m);
        EXPECT_EQ(o.fileCause, -1);
        EXPECT_EQ(o.placed, c.replaced ? 1u : 0u);
        EXPECT_EQ(o.replaced, c.replaced ? 1u : 0u);
        EXPECT_TRUE(ReadFile(final) == (c.replaced ? product : c.installed));
        EXPECT_EQ(Listing(t.app), std::vector<std::string>{"TYSHARED.DLL"});
    }
}

TEST(InstallEntryWine, InstalledVersionBeatsAnUnversionedNewFile) {
    Tree t;
    CreateDirectoryA((t.scratch.path.string() + "\\APP").c_str(), nullptr);
    CreateDirectoryA(t.app.c_str(), nullptr);
    const std::string final = t.app + "\\TYSHARED.DLL";
    WriteFile(final, ProductDll());
    SetModTime(final, kTime1996);
    Outcome o = t.InstallOne(Plain("TYSHARED.DLL", "no version, but newer", kTime1997));
    EXPECT_EQ(o.placed, 0u);
    EXPECT_EQ(o.replaced, 0u);
    EXPECT_TRUE(ReadFile(final) == ProductDll());
}

TEST(InstallEntryWine, ReadOnlyOlderCopyIsReplaced) {
    Tree t;
    CreateDirectoryA((t.scratch.path.string() + "\\APP").c_str(), nullptr);
    CreateDirectoryA(t.app.c_str(), nullptr);
    const std::string final = t.app + "\\README.TXT";
    WriteFile(final, Text("old"));
    SetModTime(final, kTime1996);
    SetFileAttributesA(final.c_str(), FILE_ATTRIBUTE_READONLY);
    Outcome o = t.InstallOne(Plain("README.TXT", "new", kTime1997));
    EXPECT_EQ(o.placed, 1u);
    EXPECT_EQ(o.replaced, 1u);
    EXPECT_TRUE(ReadFile(final) == Text("new"));
    EXPECT_FALSE(t.restartNeeded);
}

TEST(InstallEntryWine, FileInUseIsReplacedAtTheNextStart) {
    Tree t;
    // The real schedule of the system layer, with its delayed move caught.
    std::vector<std::string> moves;
    ScopedDelayedMoveOverride catchMove([&](const std::string& source, const std::string& destination) {
        moves.push_back(destination + "=" + source);
        return true;
    });
    t.schedule = [](const std::string& a, const std::string& b) { return ReplaceAtReboot(a, b); };

    CreateDirectoryA((t.scratch.path.string() + "\\APP").c_str(), nullptr);
    CreateDirectoryA(t.app.c_str(), nullptr);
    const std::string final = t.app + "\\TYVIEWER.EXE";
    WriteFile(final, Text("running"));
    SetModTime(final, kTime1996);
    // Open without delete sharing, as a running program's image is.
    HANDLE busy = CreateFileA(final.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    Outcome o = t.InstallOne(Plain("TYVIEWER.EXE", "new viewer", kTime1997));
    CloseHandle(busy);

    EXPECT_EQ(o.fileCause, -1);
    EXPECT_EQ(o.placed, 0u);
    EXPECT_EQ(o.replaced, 1u);
    EXPECT_TRUE(t.restartNeeded);
    EXPECT_TRUE(ReadFile(final) == Text("running"));
    // The new file waits beside it under its temporary name.
    ASSERT_TRUE(Exists(t.lastTemp));
    EXPECT_TRUE(ReadFile(t.lastTemp) == Text("new viewer"));
    EXPECT_EQ(Listing(t.app).size(), 2u);
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_EQ(t.recorder.lines.size(), 1u);
    EXPECT_EQ(t.recorder.lines[0].placed, 0);
    EXPECT_EQ(t.recorder.lines[0].replaced, 1);
    DeleteFileA(t.lastTemp.c_str());
}

TEST(InstallEntryWine, SystemFileFoundInTheWindowsDirectoryAndCounted) {
    Tree t;
    const std::string log = t.scratch.File("TYVIEWER.LOG");
    InstallLogFile logFile(log);
    const std::string oldCopy = t.win + "\\TYSHARED.DLL";
    WriteFile(oldCopy, WithFileVersion(ProductDll(), 1, 0, 0, 0));

    MemoryVolumeOutput out;
    CMultiFileWriter writer(out);
    writer.AddMember(Member("TYSHARED.DLL", ProductDll(), 4, -3));
    writer.Finish();
    const std::string media = t.scratch.Dir("MEDIA") + "\\SYS.A1";
    WriteFile(media, out.volumes.at(0));

    const std::string final = t.sys + "\\TYSHARED.DLL";
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        CMediaMultiFile archive(nullptr, nullptr, 1);
        archive.OpenArchive(media);
        CInstallEntry entry(archive, "System95", logFile, t.site, &Win32FileStatus());
        ASSERT_TRUE(archive.NextEntry(entry, false));
        entry.Install();
        archive.Close();
        // First round: the older copy in the Windows directory goes, the new
        // one is put into System. Second: the same version is kept, and the
        // count still rises.
        EXPECT_EQ(entry.placed, round == 1 ? 1u : 0u);
        EXPECT_EQ(entry.replaced, round == 1 ? 1u : 0u);
        EXPECT_FALSE(Exists(oldCopy));
        EXPECT_TRUE(ReadFile(final) == ProductDll());

        DWORD count = 0;
        DWORD size = sizeof count;
        ASSERT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, key, final.c_str(), RRF_RT_REG_DWORD, nullptr, &count, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(count, static_cast<DWORD>(round));
    }
    char line[64] = {};
    GetPrivateProfileStringA("System95", "TYSHARED.DLL", "", line, sizeof line, log.c_str());
    EXPECT_STREQ(line, "-3|0|0");

    HKEY shared;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE, &shared) == ERROR_SUCCESS) {
        RegDeleteValueA(shared, final.c_str());
        RegCloseKey(shared);
    }
}

// A shared file with a copy in the Windows directory (found first) and one
// in System: both are judged, the newest file ends up in System, no
// temporary file is left behind, and placed says whether the new one went in.
TEST(InstallEntryWine, SystemFileWithCopiesInBothDirectories) {
    struct Case {
        std::uint16_t systemMajor;  // version of the copy already in System
        bool placed;
    } cases[] = {{1, true}, {3, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.systemMajor);
        Tree t;
        const std::string windowsCopy = t.win + "\\TYSHARED.DLL";
        const std::string systemCopy = t.sys + "\\TYSHARED.DLL";
        WriteFile(windowsCopy, WithFileVersion(ProductDll(), 1, 0, 0, 0));
        const Bytes inSystem = WithFileVersion(ProductDll(), c.systemMajor, 5, 0, 0);
        WriteFile(systemCopy, inSystem);
        const Bytes incoming = WithFileVersion(ProductDll(), 2, 0, 0, 0);

        const std::vector<Outcome> o = t.InstallArchive({Member("TYSHARED.DLL", incoming, 4, -3)});
        ASSERT_EQ(o.size(), 1u);
        EXPECT_EQ(o[0].fileCause, -1);
        EXPECT_EQ(o[0].otherError, "");
        EXPECT_EQ(o[0].placed, c.placed ? 1u : 0u);
        EXPECT_EQ(o[0].replaced, 1u);  // the Windows copy was older
        EXPECT_FALSE(Exists(windowsCopy));
        EXPECT_TRUE(ReadFile(systemCopy) == (c.placed ? incoming : inSystem));
        EXPECT_EQ(Listing(t.sys), std::vector<std::string>{"TYSHARED.DLL"});  // no temporary left
        EXPECT_FALSE(t.restartNeeded);
        ASSERT_EQ(t.recorder.lines.size(), 1u);
        EXPECT_EQ(t.recorder.lines[0].placed, c.placed ? 1 : 0);
    }
}

TEST(InstallEntryWine, NoFreeTemporaryNameDestroysNothing) {
    Tree t;
    CreateDirectoryA((t.scratch.path.string() + "\\APP").c_str(), nullptr);
    CreateDirectoryA(t.app.c_str(), nullptr);
    // The names the process's sequence will offer next, all taken.
    UniqueNameSequence peek = ProcessUniqueNames();
    std::vector<std::string> taken;
    for (int i = 0; i < CInstallEntry::kUniqueNameAttempts; ++i) {
        taken.push_back(t.app + "\\" + peek.Next() + ".DAT");
        WriteFile(taken.back(), Text("keep " + std::to_string(i)));
    }
    Outcome o = t.InstallOne(Plain("MOLECULE.DAT", std::string(5000, 'x'), kTime1997));
    EXPECT_EQ(o.fileCause, CFileException::directoryFull);
    EXPECT_EQ(o.placed, 0u);
    EXPECT_FALSE(Exists(t.app + "\\MOLECULE.DAT"));
    EXPECT_TRUE(t.recorder.lines.empty());
    for (std::size_t i = 0; i < taken.size(); ++i) {
        if (ReadFile(taken[i]) != Text("keep " + std::to_string(i))) {
            // A name may come round twice; then it holds the later text.
            bool later = false;
            for (std::size_t j = i + 1; j < taken.size(); ++j)
                later = later || taken[j] == taken[i];
            EXPECT_TRUE(later) << taken[i];
        }
    }
}

// Only a member name's file-name part is used. A directory, a drive or a
// root in front of it is dropped, so the file lands in its destination's
// directory; a file-name part that is a device, "..", a stream or has a
// trailing dot is refused with the file error.
TEST(InstallEntryWine, HostileMemberNamesAreRefusedOrKeptInTheirDirectory) {
    Tree t;
    const std::vector<std::string> refused = {
        "CON", "nul.txt", "AUX.DAT", "COM1", "LPT1.TXT", "..", "EVIL.DLL:ADS", "SUB\\..", "..\\CON",
        "C:\\NUL.TXT", "SUB\\", "EVIL.DLL.",
    };
    const std::vector<std::pair<std::string, std::string>> kept = {
        {"..\\EVIL1.DLL", "EVIL1.DLL"}, {"..\\..\\EVIL2.DLL", "EVIL2.DLL"}, {"SUB\\EVIL3.DLL", "EVIL3.DLL"},
        {"\\EVIL4.DLL", "EVIL4.DLL"},   {"C:EVIL5.DLL", "EVIL5.DLL"},        {"C:\\EVIL6.DLL", "EVIL6.DLL"},
    };
    std::vector<MemberSource> members;
    for (const std::string& name : refused)
        members.push_back(Plain(name, "payload of " + name, kTime1997));
    for (const auto& [name, file] : kept)
        members.push_back(Plain(name, "payload of " + name, kTime1997));
    members.push_back(Plain("GOOD.TXT", "fine", kTime1997));
    std::vector<Outcome> outcomes = t.InstallArchive(members);

    ASSERT_EQ(outcomes.size(), refused.size() + kept.size() + 1);
    for (std::size_t i = 0; i < refused.size(); ++i) {
        SCOPED_TRACE(refused[i]);
        EXPECT_EQ(outcomes[i].name, refused[i]);
        EXPECT_EQ(outcomes[i].fileCause, CFileException::badPath);
        EXPECT_EQ(outcomes[i].placed, 0u);
    }
    std::vector<std::string> wanted = {"GOOD.TXT"};
    for (std::size_t i = 0; i < kept.size(); ++i) {
        SCOPED_TRACE(kept[i].first);
        const Outcome& o = outcomes[refused.size() + i];
        EXPECT_EQ(o.fileCause, -1);
        EXPECT_EQ(o.placed, 1u);
        EXPECT_TRUE(ReadFile(t.app + "\\" + kept[i].second) == Text("payload of " + kept[i].first));
        wanted.push_back(kept[i].second);
    }
    EXPECT_EQ(outcomes.back().fileCause, -1);
    EXPECT_EQ(outcomes.back().placed, 1u);
    EXPECT_EQ(t.recorder.lines.size(), kept.size() + 1);
    std::vector<std::string> listed = Listing(t.app);
    std::sort(listed.begin(), listed.end());
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(listed, wanted);
    for (int n = 1; n <= 6; ++n) {
        const std::string name = "EVIL" + std::to_string(n) + ".DLL";
        EXPECT_FALSE(Exists(t.scratch.path.string() + "\\APP\\" + name));
        EXPECT_FALSE(Exists(t.scratch.path.string() + "\\" + name));
        EXPECT_FALSE(Exists("C:\\" + name));
    }
    EXPECT_FALSE(Exists(t.app + "\\SUB"));
}

TEST(InstallEntryWine, DamagedMemberLeavesNoTemporaryFile) {
    Tree t;
    MemberSource good = Plain("FIRST.TXT", "first", kTime1997, 0, 2);
    MemberSource bad = Plain("SECOND.TXT", std::string(3000, 'y'), kTime1997, 0, 2);
    std::vector<Outcome> outcomes = t.InstallArchive({good, bad}, [](Bytes& volume) { volume.back() ^= 0x5A; });
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].placed, 1u);
    EXPECT_EQ(outcomes[1].otherError, "CMultiFileException");
    EXPECT_EQ(Listing(t.app), std::vector<std::string>{"FIRST.TXT"});
    EXPECT_EQ(t.recorder.lines.size(), 1u);
}

TEST(InstallEntryWine, MemberNotInstalledIsPassedOver) {
    Tree t;
    std::vector<Outcome> outcomes = t.InstallArchive({Plain("SKIPPED.TXT", std::string(9000, 'z'), kTime1997, -1),
                                                      Plain("NEXT.TXT", "next", kTime1997)});
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].placed, 0u);
    EXPECT_EQ(outcomes[1].placed, 1u);
    EXPECT_TRUE(ReadFile(t.app + "\\NEXT.TXT") == Text("next"));
    EXPECT_EQ(Listing(t.app), std::vector<std::string>{"NEXT.TXT"});
    EXPECT_EQ(t.recorder.lines.size(), 1u);
}

TEST(InstallEntryWine, SingleFileCopiesTheProfilesSize) {
    Tree t;
    const std::string source = t.scratch.Dir("MEDIA") + "\\TYVIEWER.EXE";
    const Bytes data = Payload(5000, 7, false);
    WriteFile(source, data);
    SetModTime(source, kTime1997);

    CMultiFile file;
    file.OpenRead(source, true);
    CInstallEntry entry(file, "Viewer", t.recorder, t.site, &Win32FileStatus());
    entry.PrepareSingleFile(source, 0, 3000);
    EXPECT_EQ(entry.header.DecodedSize(), 5000u);  // the progress counts the real size
    entry.Install();
    file.Close();

    EXPECT_EQ(entry.placed, 1u);
    const std::string final = t.app + "\\TYVIEWER.EXE";
    EXPECT_TRUE(ReadFile(final) == Bytes(data.begin(), data.begin() + 3000));
    EXPECT_EQ(t.targets.Find("TYVIEWER.EXE")->path.GetPath(), final);
    ASSERT_EQ(t.recorder.lines.size(), 1u);
    EXPECT_EQ(t.recorder.lines[0].path, final);
}

}  // namespace
