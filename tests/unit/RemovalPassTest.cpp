// The removal pass over a log held in memory and a small file system of its
// own: what it deletes, counts down, skips and keeps, and in which order.
#include "uninstall/RemovalPass.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "profile/MemoryProfile.h"
#include "profile/ProfileFields.h"

namespace {

std::string Upper(const std::string& text) { return ProfileUpperCase(text); }

// Files, directories and shared counts, with the system's rules where the
// pass relies on them: only an empty directory can be removed, a count of 0
// is no value at all, names match without case.
class FakeSystem : public RemovalActions {
public:
    bool ShowProgress(const std::string& path) override {
        calls.push_back("show " + path);
        const bool goOn = !stopAt || shown != *stopAt;
        ++shown;
        return goOn;
    }
    void LowerSharedCount(const std::string& path) override {
        calls.push_back("count " + path);
        auto it = counts.find(Upper(path));
        if (it == counts.end()) return;
        if (it->second > 1)
            --it->second;
        else
            counts.erase(it);
    }
    void DeleteInstalledFile(const std::string& path) override {
        calls.push_back("delete " + path);
        files.erase(Upper(path));
    }
    void DeleteProgramItem(const std::string& group, const std::string& itemName) override {
        calls.push_back("item " + group + "/" + itemName);
    }
    void DeleteProgramGroup(const std::string& group) override { calls.push_back("group " + group); }
    void RemoveInstallDirectory(const std::string& path) override {
        calls.push_back("rmdir " + path);
        const std::string prefix = Upper(path) + "\\";
        const auto inside = [&](const std::string& p) { return p.compare(0, prefix.size(), prefix) == 0; };
        if (std::any_of(files.begin(), files.end(), inside) ||
            std::any_of(directories.begin(), directories.end(), inside))
            return;
        directories.erase(Upper(path));
    }
    void Pump() override { calls.push_back("pump"); }

    void AddFile(const std::string& path) { files.insert(Upper(path)); }
    bool HasFile(const std::string& path) const { return files.count(Upper(path)) != 0; }
    void AddDirectory(const std::string& path) { directories.insert(Upper(path)); }
    bool HasDirectory(const std::string& path) const { return directories.count(Upper(path)) != 0; }

    std::vector<std::string> Calls(const std::string& kind) const {
        std::vector<std::string> picked;
        for (const std::string& call : calls)
            if (call.compare(0, kind.size() + 1, kind + " ") == 0) picked.push_back(call.substr(kind.size() + 1));
        return picked;
    }

    std::vector<std::string> calls;
    std::set<std::string> files;
    std::set<std::string> directories;
    std::map<std::string, unsigned> counts;
    const int* stopAt = nullptr;  // index of the ShowProgress call that answers "stop"
    int shown = 0;
};

// An installed product as the log describes it: main directory C:\TV with
// SAMPLES and SAMPLES\SMALL below it, listed parent first.
struct Installed {
    Installed() {
        destinations.SetPath(0, "C:\\TV");
        destinations.SetPath(1, "C:\\TV\\SAMPLES\\");
        destinations.SetPath(2, "C:\\TV\\SAMPLES\\SMALL\\");
        for (const char* dir : {"C:\\TV", "C:\\TV\\SAMPLES", "C:\\TV\\SAMPLES\\SMALL"}) system.AddDirectory(dir);
        AddComponent("core");
    }

    void AddComponent(const std::string& key, int removeRequested = 0) {
        auto component = std::make_unique<Component>();
        component->key = key;
        component->removeRequested = removeRequested;
        components.Add(std::move(component));
    }
    // A file line, and the file it names when the destination has a path.
    void Line(const std::string& section, const std::string& key, const std::string& value) {
        log.Add(section, key, value);
    }
    void Installs(const std::string& section, const std::string& key, DestinationId id) {
        Line(section, key, std::to_string(id) + "|1|0");
        system.AddFile(destinations.GetPath(id) + key);
    }
    void AddTarget(const std::string& key, const std::string& itemName, const std::string& path) {
        auto target = std::make_unique<Target>();
        target->key = key;
        target->itemName = itemName;
        target->path = path;
        targets.Add(std::move(target));
    }

    RemovalOutcome Run(RemovalRequest request = Request()) {
        RemovalPass pass(log, destinations, components, targets, system);
        return pass.Run(request);
    }
    static RemovalRequest Request() {
        RemovalRequest request;
        request.groupName = "Tessaly Viewer";
        request.sparedNames = {"SETUP.EXE", kCleanupProgramName};
        return request;
    }

    MemoryProfile log;
    DestinationMap destinations{"C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM\\", "C:\\TEMP\\"};
    ComponentMap components;
    TargetMap targets;
    FakeSystem system;
};

TEST(RemovalFileLine, ParsesThreeFieldsAndRejectsDamagedLines) {
    struct Case {
        const char* value;
        bool ok;
        int destination;
    } cases[] = {
        {"0|1|0", true, 0},        {"-3|1|1", true, -3},     {"12|0|0", true, 12},
        {"+7|1|0", true, 7},       {"32767|1|0", true, 32767}, {"-32768|1|0", true, -32768},
        {"0|1|0|extra", true, 0},  {"0||", true, 0},
        {"", false, 0},            {"0", false, 0},          {"0|1", false, 0},
        {"x|1|0", false, 0},       {"|1|0", false, 0},       {"3x|1|0", false, 0},
        {" 0|1|0", false, 0},      {"-|1|0", false, 0},      {"32768|1|0", false, 0},
        {"-32769|1|0", false, 0},  {"99999999999|1|0", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        RemovalFileLine line;
        line.destination = 99;
        EXPECT_EQ(ParseRemovalFileLine(c.value, line), c.ok);
        EXPECT_EQ(line.destination, c.ok ? c.destination : 99);
    }
}

TEST(RemovalPassFiles, DeletesLoggedFilesAndOnlyCountsDownSharedOnes) {
    Installed p;
    p.Installs("core", "TYVIEWER.EXE", 0);
    p.Installs("core", "water.xyz", 1);
    p.Installs("core", "TYSHARED.DLL", DestSystem);
    p.Installs("core", "TYMATH.DLL", DestSystem);
    p.Installs("core", "TYOLD.DLL", DestSystem);
    p.Installs("core", "TYVIEW.INI", DestWindows);
    // A line for a file the user already deleted by hand.
    p.Line("core", "GONE.TXT", "0|1|0");
    p.system.counts = {{Upper("C:\\WINDOWS\\SYSTEM\\TYSHARED.DLL"), 2}, {Upper("C:\\WINDOWS\\SYSTEM\\TYMATH.DLL"), 1}};

    EXPECT_EQ(p.Run(), RemovalOutcome::Completed);

    EXPECT_FALSE(p.system.HasFile("C:\\TV\\TYVIEWER.EXE"));
    EXPECT_FALSE(p.system.HasFile("C:\\TV\\SAMPLES\\water.xyz"));
    EXPECT_FALSE(p.system.HasFile("C:\\WINDOWS\\TYVIEW.INI"));
    // Shared files stay whatever their count: 2 -> 1, 1 -> no value, 0 stays none.
    for (const char* name : {"TYSHARED.DLL", "TYMATH.DLL", "TYOLD.DLL"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(p.system.HasFile(std::string("C:\\WINDOWS\\SYSTEM\\") + name));
    }
    const std::map<std::string, unsigned> counts = {{Upper("C:\\WINDOWS\\SYSTEM\\TYSHARED.DLL"), 1}};
    EXPECT_EQ(p.system.counts, counts);
    EXPECT_EQ(p.system.Calls("count"),
              (std::vector<std::string>{"C:\\WINDOWS\\SYSTEM\\TYSHARED.DLL", "C:\\WINDOWS\\SYSTEM\\TYMATH.DLL",
                                        "C:\\WINDOWS\\SYSTEM\\TYOLD.DLL"}));
    // Every file was shown, in log order, the missing one too.
    EXPECT_EQ(p.system.Calls("show"),
              (std::vector<std::string>{"C:\\TV\\TYVIEWER.EXE", "C:\\TV\\SAMPLES\\water.xyz",
                                        "C:\\WINDOWS\\SYSTEM\\TYSHARED.DLL", "C:\\WINDOWS\\SYSTEM\\TYMATH.DLL",
                                        "C:\\WINDOWS\\SYSTEM\\TYOLD.DLL", "C:\\WINDOWS\\TYVIEW.INI",
                                        "C:\\TV\\GONE.TXT"}));
}

TEST(RemovalPassFiles, SkipsLinesThatNameNoSafeFileAndSparesTheRunningPrograms) {
    struct Case {
        const char* key;
        const char* value;
        bool shown;
        bool deleted;
    } cases[] = {
        {"PLAIN.TXT", "0|1|0", true, true},
        {"NESTED.TXT", "2|0|1", true, true},
        {"NOWHERE.TXT", "7|1|0", false, false},      // destination without a record
        {"DAMAGED.TXT", "zero|1|0", false, false},   // destination not a number
        {"SHORT.TXT", "0|1", false, false},          // too few fields
        {"EMPTY.TXT", "", false, false},
        {"..\\BOOT.INI", "0|1|0", false, false},     // directory part
        {"SUB\\A.TXT", "0|1|0", false, false},
        {"C:\\AUTOEXEC.BAT", "0|1|0", false, false}, // drive
        {"C:AUTOEXEC.BAT", "0|1|0", false, false},
        {"..", "0|1|0", false, false},
        {"CON", "0|1|0", false, false},              // device names
        {"nul.txt", "0|1|0", false, false},
        {"*.*", "0|1|0", false, false},              // wildcards
        {"SETUP.EXE", "0|1|0", true, false},         // the running Setup copy
        {"setup.exe", "1|1|0", true, false},
        {"_qzdinst.exe", "0|1|0", true, false},      // the clean-up program
        {"_QZDINST.EXE", "-2|1|0", true, false},
        {"SETUP.INI", "0|1|0", true, true},          // only the program itself is spared
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        Installed p;
        p.destinations.SetPath(-2, "C:\\WINDOWS\\");
        p.Line("core", c.key, c.value);
        RemovalFileLine line;
        const bool parsed = ParseRemovalFileLine(c.value, line);
        const std::string path =
            (parsed ? p.destinations.GetPath(line.destination) : std::string("C:\\TV\\")) + c.key;
        p.system.AddFile(path);
        EXPECT_EQ(p.Run(), RemovalOutcome::Completed);
        EXPECT_EQ(p.system.Calls("show").size(), c.shown ? 1u : 0u);
        EXPECT_EQ(p.system.Calls("delete").size(), c.deleted ? 1u : 0u);
        EXPECT_EQ(p.system.HasFile(path), !c.deleted);
        EXPECT_TRUE(p.system.Calls("count").empty());
    }
}

TEST(RemovalPassFiles, SpareNamesDoNotProtectSharedCounts) {
    // The clean-up program in the System directory was counted at install.
    Installed p;
    p.Installs("core", "_QZDINST.EXE", DestSystem);
    p.system.counts = {{Upper("C:\\WINDOWS\\SYSTEM\\_QZDINST.EXE"), 2}};
    p.Run();
    EXPECT_EQ(p.system.counts.begin()->second, 1u);
    EXPECT_TRUE(p.system.Calls("delete").empty());
}

TEST(RemovalPassComponents, EveryComponentInMapOrderOrOnlyTheRequestedOnes) {
    Installed p;
    p.AddComponent("samples", 1);
    p.AddComponent("docs");
    p.Installs("docs", "MANUAL.TXT", 0);
    p.Installs("samples", "water.xyz", 1);
    p.Installs("core", "TYVIEWER.EXE", 0);
    // A section of a component the log no longer lists is not read.
    p.Installs("stale", "OLD.TXT", 0);

    RemovalRequest some = Installed::Request();
    some.removeAllComponents = false;
    p.Run(some);
    EXPECT_EQ(p.system.Calls("delete"), std::vector<std::string>{"C:\\TV\\SAMPLES\\water.xyz"});

    p.system.calls.clear();
    p.Run();
    EXPECT_EQ(p.system.Calls("show"), (std::vector<std::string>{"C:\\TV\\TYVIEWER.EXE",
                                                                "C:\\TV\\SAMPLES\\water.xyz", "C:\\TV\\MANUAL.TXT"}));
    EXPECT_TRUE(p.system.HasFile("C:\\TV\\OLD.TXT"));
}

TEST(RemovalPassItems, CreatedItemsThenTheGroupAfterTheFilesAndBeforeTheDirectories) {
    Installed p;
    p.Installs("core", "TYVIEWER.EXE", 0);
    p.AddTarget("TYVIEWER.EXE", "Tessaly Viewer", "C:\\TV\\TYVIEWER.EXE");
    p.AddTarget("README.TXT", "Read Me", "");  // never installed, so never created
    p.AddTarget("HELP.HLP", "Viewer Help", "C:\\TV\\HELP.HLP");
    p.Run();
    const std::vector<std::string> expected = {
        "show C:\\TV\\TYVIEWER.EXE",        "delete C:\\TV\\TYVIEWER.EXE",
        "item Tessaly Viewer/Tessaly Viewer", "pump",
        "item Tessaly Viewer/Viewer Help",  "pump",
        "group Tessaly Viewer",             "rmdir C:\\TV\\SAMPLES\\SMALL",
        "rmdir C:\\TV\\SAMPLES",            "rmdir C:\\TV",
    };
    EXPECT_EQ(p.system.calls, expected);
}

TEST(RemovalPassDirectories, DeepestFirstEachOnceOnlyInstallDirectories) {
    struct Case {
        const char* name;
        std::vector<std::pair<DestinationId, std::string>> paths;  // in map order
        std::vector<std::string> order;
    } cases[] = {
        {"parent listed first",
         {{0, "C:\\TV\\"}, {1, "C:\\TV\\SAMPLES\\"}, {2, "C:\\TV\\SAMPLES\\SMALL\\"}},
         {"C:\\TV\\SAMPLES\\SMALL", "C:\\TV\\SAMPLES", "C:\\TV"}},
        {"same depth keeps the map order",
         {{0, "C:\\TV\\"}, {3, "D:\\DATA\\"}, {1, "C:\\TV\\DOCS\\"}, {2, "C:\\TV\\SAMPLES\\"}},
         {"C:\\TV\\DOCS", "C:\\TV\\SAMPLES", "C:\\TV", "D:\\DATA"}},
        {"one directory under two ids is tried once",
         {{0, "C:\\TV\\"}, {1, "c:\\tv"}, {2, "C:\\TV\\X\\"}},
         {"C:\\TV\\X", "C:\\TV"}},
        {"ids without a path are left out",
         {{0, "C:\\TV\\"}, {1, ""}},
         {"C:\\TV"}},
        {"a drive's root goes after the directories below it",
         {{0, "D:\\"}, {1, "D:\\SAMPLES\\"}, {2, "D:\\SAMPLES\\SMALL"}},
         {"D:\\SAMPLES\\SMALL", "D:\\SAMPLES", "D:\\"}},
        {"so does a root without a drive, and one with a forward slash",
         {{0, "\\"}, {1, "\\TV\\"}, {2, "E:/"}, {3, "E:/A/"}},
         {"\\TV", "E:/A", "\\", "E:/"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DestinationMap map("C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM\\", "C:\\TEMP\\");
        for (const auto& [id, path] : c.paths) map.SetPath(id, path);
        // The predefined directories are never removed.
        EXPECT_EQ(RemovalDirectoryOrder(map), c.order);
    }
}

TEST(RemovalPassDirectories, AUserFileKeepsItsDirectoryAndEveryDirectoryAboveIt) {
    Installed p;
    p.destinations.SetPath(3, "C:\\TV\\DOCS\\");
    p.system.AddDirectory("C:\\TV\\DOCS");
    p.Installs("core", "TYVIEWER.EXE", 0);
    p.Installs("core", "water.xyz", 1);
    p.Installs("core", "MANUAL.TXT", 3);
    p.system.AddFile("C:\\TV\\SAMPLES\\mine.xyz");  // the user's own
    p.Run();
    EXPECT_FALSE(p.system.HasDirectory("C:\\TV\\SAMPLES\\SMALL"));
    EXPECT_FALSE(p.system.HasDirectory("C:\\TV\\DOCS"));
    EXPECT_TRUE(p.system.HasDirectory("C:\\TV\\SAMPLES"));
    EXPECT_TRUE(p.system.HasDirectory("C:\\TV"));
    EXPECT_TRUE(p.system.HasFile("C:\\TV\\SAMPLES\\mine.xyz"));
    // Tried once each, not again after their children went.
    EXPECT_EQ(p.system.Calls("rmdir").size(), 4u);

    Installed clean;
    clean.Installs("core", "water.xyz", 1);
    clean.Run();
    EXPECT_TRUE(clean.system.directories.empty());
}

TEST(RemovalPassCancel, NoGoesOnAndYesStopsBeforeTheNextFileWithNothingElseRemoved) {
    // The page's answer per file: a cancel clicked before file 2 answered
    // No, one clicked before file 3 answered Yes.
    Installed p;
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT", "D.TXT"}) p.Installs("core", name, 0);
    p.AddTarget("A.TXT", "A", "C:\\TV\\A.TXT");

    bool cancelRequested = false;
    int asked = 0;
    int fileIndex = 0;
    struct PageStandIn : FakeSystem {
        std::function<bool(const std::string&)> hook;
        bool ShowProgress(const std::string& path) override {
            calls.push_back("show " + path);
            return hook(path);
        }
    } page;
    page.files = p.system.files;
    page.directories = p.system.directories;
    page.hook = [&](const std::string&) {
        ++fileIndex;
        if (fileIndex == 2 || fileIndex == 3) cancelRequested = true;  // the Cancel button
        return GoOnAfterCancelRequest(cancelRequested, [&] {
            ++asked;
            return fileIndex == 3;
        });
    };
    RemovalPass pass(p.log, p.destinations, p.components, p.targets, page);
    EXPECT_EQ(pass.Run(Installed::Request()), RemovalOutcome::Cancelled);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(page.Calls("delete"), (std::vector<std::string>{"C:\\TV\\A.TXT", "C:\\TV\\B.TXT"}));
    EXPECT_TRUE(page.HasFile("C:\\TV\\C.TXT"));
    EXPECT_TRUE(page.HasFile("C:\\TV\\D.TXT"));
    EXPECT_TRUE(page.Calls("item").empty());
    EXPECT_TRUE(page.Calls("group").empty());
    EXPECT_TRUE(page.Calls("rmdir").empty());
    EXPECT_EQ(page.Calls("show").size(), 3u);
}

TEST(RemovalPassCancel, PendingRequestIsAskedOnceAndWithdrawnOnNo) {
    struct Case {
        bool requested;
        bool yes;
        bool goOn;
        bool stillRequested;
        int asked;
    } cases[] = {
        {false, true, true, false, 0},
        {true, false, true, false, 1},
        {true, true, false, true, 1},
    };
    for (const Case& c : cases) {
        bool requested = c.requested;
        int asked = 0;
        EXPECT_EQ(GoOnAfterCancelRequest(requested, [&] { ++asked; return c.yes; }), c.goOn);
        EXPECT_EQ(requested, c.stillRequested);
        EXPECT_EQ(asked, c.asked);
    }
}

TEST(RemovalPassCancel, StopOnTheFirstFileRemovesNothing) {
    Installed p;
    p.Installs("core", "A.TXT", 0);
    const int first = 0;
    p.system.stopAt = &first;
    EXPECT_EQ(p.Run(), RemovalOutcome::Cancelled);
    EXPECT_TRUE(p.system.HasFile("C:\\TV\\A.TXT"));
    EXPECT_EQ(p.system.calls, std::vector<std::string>{"show C:\\TV\\A.TXT"});
}

}  // namespace
