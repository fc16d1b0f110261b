// Fuzz target: arbitrary bytes as the text of an install log, which anybody
// can edit. The log is loaded as the uninstall loads it and handed to the
// removal pass with actions that only record what they are asked to do.
// The pass runs three times: removing everything, cancelled at a file the
// input picks, and removing only some components. Checked on every run:
//   - a file is deleted or counted down only directly inside one of the
//     log's directories, under a name its component's section lists that
//     holds no separator, drive or device; counts only in the System
//     directory, deletions never of a spared name;
//   - every file action follows the progress call for the same path;
//   - the program items are the targets that were created, in order, then
//     the group once;
//   - directories removed are the install directories (id 0 and up), each
//     once and all of them, none before a directory inside it;
//   - a cancel stops everything at once, after what the full run did first.
// Exceptions of the program's family from the loader are expected; anything
// else escapes and ends the process, as a violation does.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "errors/SetupException.h"
#include "profile/MemoryProfile.h"
#include "profile/ProfileFields.h"
#include "profile/ProfileLoader.h"
#include "support/FilePath.h"
#include "uninstall/InstallLog.h"
#include "uninstall/RemovalPass.h"

#include "FuzzTarget.h"
#include "ProfileText.h"

namespace {

const char kWindowsDir[] = "C:\\WINDOWS\\";
const char kSystemDir[] = "C:\\WINDOWS\\SYSTEM\\";
const char kTempDir[] = "C:\\WINDOWS\\TEMP\\";
const char kGroup[] = "Tessaly Viewer";
const char kRunningSetup[] = "SETUP.EXE";

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz_removal_pass: %s: \"%s\"\n", what, detail.c_str());
    std::abort();
}

struct Call {
    enum Kind { Show, Count, Delete, Item, Group, Directory, Pump } kind;
    std::string first;
    std::string second;
    bool operator==(const Call& other) const {
        return kind == other.kind && first == other.first && second == other.second;
    }
};

class RecordingActions : public RemovalActions {
public:
    // stopAt: the index of the progress call that answers "stop"; -1: none.
    explicit RecordingActions(long stopAt) : stopAt(stopAt) {}

    bool ShowProgress(const std::string& path) override {
        calls.push_back({Call::Show, path, {}});
        return shown++ != stopAt;
    }
    void LowerSharedCount(const std::string& path) override { calls.push_back({Call::Count, path, {}}); }
    void DeleteInstalledFile(const std::string& path) override { calls.push_back({Call::Delete, path, {}}); }
    void DeleteProgramItem(const std::string& group, const std::string& itemName) override {
        calls.push_back({Call::Item, group, itemName});
    }
    void DeleteProgramGroup(const std::string& group) override { calls.push_back({Call::Group, group, {}}); }
    void RemoveInstallDirectory(const std::string& path) override {
        calls.push_back({Call::Directory, path, {}});
    }
    void Pump() override { calls.push_back({Call::Pump, {}, {}}); }

    std::vector<Call> calls;
    long shown = 0;

private:
    long stopAt;
};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// `directory` is `path` with nothing or only separators after it.
bool NamesDirectory(const std::string& path, const std::string& directory) {
    if (!StartsWith(path, directory)) return false;
    for (std::size_t i = directory.size(); i < path.size(); ++i)
        if (!IsSeparator(path[i])) return false;
    return true;
}

struct LoadedLog {
    MemoryProfile log;
    DestinationMap destinations{kWindowsDir, kSystemDir, kTempDir};
    ComponentMap components;
    TargetMap targets;
    SourceFileList sourceFiles;
    DisketteArray diskettes;
};

class Checker {
public:
    Checker(LoadedLog& loaded, const RemovalRequest& request) : loaded(loaded), request(request) {
        for (const Component& component : loaded.components)
            if (request.removeAllComponents || component.removeRequested)
                for (const std::string& key : loaded.log.Keys(component.key)) listedNames.insert(key);
        for (const Target& target : loaded.targets)
            if (!target.path.IsEmpty()) items.push_back(target.itemName);
    }

    // Checks one run's calls; `cancelled` when the progress answered stop.
    void Check(const std::vector<Call>& calls, RemovalOutcome outcome, bool cancelled) {
        enum Phase { Files, Items, Groups, Directories } phase = Files;
        std::string shown;
        bool shownUsed = true;
        std::size_t item = 0;
        bool groupDeleted = false;
        std::vector<std::string> removed;
        for (std::size_t i = 0; i < calls.size(); ++i) {
            const Call& call = calls[i];
            switch (call.kind) {
            case Call::Show:
                if (phase != Files) Fail("progress after the files", call.first);
                shown = call.first;
                shownUsed = false;
                break;
            case Call::Count:
            case Call::Delete:
                if (phase != Files) Fail("file action after the files", call.first);
                if (shownUsed || call.first != shown) Fail("file action without its progress", call.first);
                shownUsed = true;
                CheckFile(call);
                break;
            case Call::Item:
                if (phase > Items) Fail("program item after the group", call.second);
                phase = Items;
                if (item >= items.size() || call.second != items[item]) Fail("unexpected program item", call.second);
                if (call.first != request.groupName) Fail("program item of another group", call.first);
                ++item;
                if (i + 1 >= calls.size() || calls[i + 1].kind != Call::Pump) Fail("no pump after an item", call.second);
                break;
            case Call::Pump:
                if (i == 0 || calls[i - 1].kind != Call::Item) Fail("pump outside the items", "");
                break;
            case Call::Group:
                if (phase > Items || groupDeleted) Fail("group deleted twice or late", call.first);
                if (call.first != request.groupName) Fail("another group deleted", call.first);
                if (item != items.size()) Fail("group deleted before its items", call.first);
                groupDeleted = true;
                phase = Groups;
                break;
            case Call::Directory:
                if (!groupDeleted) Fail("directory removed before the group", call.first);
                phase = Directories;
                CheckDirectory(call.first, removed);
                removed.push_back(call.first);
                break;
            }
        }
        if (cancelled) {
            if (outcome != RemovalOutcome::Cancelled) Fail("stop answered, pass completed", "");
            if (calls.empty() || calls.back().kind != Call::Show) Fail("work after the stop", "");
            return;
        }
        if (outcome != RemovalOutcome::Completed) Fail("pass cancelled without a stop", "");
        if (!groupDeleted) Fail("group not deleted", request.groupName);
        for (const Destination& d : loaded.destinations) {
            if (d.id < 0 || d.path.IsEmpty()) continue;
            const std::string path = ProfileUpperCase(d.path.GetPath());
            bool found = false;
            for (const std::string& directory : removed)
                found = found || NamesDirectory(path, ProfileUpperCase(directory));
            if (!found) Fail("install directory left out", d.path.GetPath());
        }
    }

private:
    void CheckFile(const Call& call) {
        const std::string& path = call.first;
        bool inside = false;
        for (const Destination& d : loaded.destinations) {
            const std::string& directory = d.path.GetPath();
            if (directory.empty() || !StartsWith(path, directory)) continue;
            const std::string name = path.substr(directory.size());
            if (!IsPlainFileName(name) || listedNames.count(name) == 0) continue;
            if (call.kind == Call::Count) {
                inside = inside || d.id == DestSystem;
            } else if (d.id != DestSystem) {
                for (const std::string& spared : request.sparedNames)
                    if (ProfileUpperCase(spared) == ProfileUpperCase(name)) Fail("spared file deleted", path);
                inside = true;
            }
        }
        if (!inside)
            Fail(call.kind == Call::Count ? "count lowered outside the System directory" : "file deleted elsewhere",
                 path);
    }

    void CheckDirectory(const std::string& directory, const std::vector<std::string>& removed) {
        if (directory.empty()) Fail("empty directory removed", "");
        bool install = false;
        for (const Destination& d : loaded.destinations)
            install = install || (d.id >= 0 && !d.path.IsEmpty() && NamesDirectory(d.path.GetPath(), directory));
        if (!install) Fail("removed a directory that is no install directory", directory);
        const std::string upper = ProfileUpperCase(directory);
        for (const std::string& earlier : removed) {
            std::string parent = ProfileUpperCase(earlier);
            if (parent == upper) Fail("directory removed twice", directory);
            if (!IsSeparator(parent.back())) parent += '\\';
            if (upper.size() > parent.size() && StartsWith(upper, parent))
                Fail("directory removed before one inside it", earlier + "\" then \"" + directory);
        }
    }

    LoadedLog& loaded;
    const RemovalRequest& request;
    std::multiset<std::string> listedNames;
    std::vector<std::string> items;
};

RemovalRequest MakeRequest(bool removeAll) {
    RemovalRequest request;
    request.removeAllComponents = removeAll;
    request.groupName = kGroup;
    request.sparedNames = {kRunningSetup, kCleanupProgramName};
    return request;
}

std::vector<Call> RunPass(LoadedLog& loaded, const RemovalRequest& request, long stopAt, long* shown) {
    RecordingActions actions(stopAt);
    RemovalPass pass(loaded.log, loaded.destinations, loaded.components, loaded.targets, actions);
    const RemovalOutcome outcome = pass.Run(request);
    Checker(loaded, request).Check(actions.calls, outcome, stopAt >= 0 && actions.shown > stopAt);
    if (shown) *shown = actions.shown;
    return actions.calls;
}

std::uint32_t Hash(const std::uint8_t* data, std::size_t size) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
    return h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LoadedLog loaded;
    loaded.log = fuzz::ProfileFromText(std::string(reinterpret_cast<const char*>(data), size));
    try {
        LoadProfile(loaded.log,
                    ProfileContainers{loaded.destinations, loaded.components, loaded.targets, loaded.sourceFiles,
                                      loaded.diskettes},
                    nullptr);
    } catch (const CXException&) {
        // A missing or damaged log: the uninstall reports it and removes nothing.
        return 0;
    }

    long shown = 0;
    const std::vector<Call> full = RunPass(loaded, MakeRequest(true), -1, &shown);

    const std::uint32_t hash = Hash(data, size);
    if (shown > 0) {
        const long stopAt = static_cast<long>(hash % static_cast<std::uint32_t>(shown));
        const std::vector<Call> cancelled = RunPass(loaded, MakeRequest(true), stopAt, nullptr);
        if (cancelled.size() > full.size() || !std::equal(cancelled.begin(), cancelled.end(), full.begin()))
            Fail("a cancelled run did other work than the full run", "");
    }

    int index = 0;
    for (Component& component : loaded.components) component.removeRequested = (hash >> (index++ % 32)) & 1;
    RunPass(loaded, MakeRequest(false), -1, nullptr);
    return 0;
}

// Seeds: logs as an install writes them, through the install log itself.
void TvsFuzzSeeds(std::vector<std::vector<std::uint8_t>>& seeds) {
    struct FileLine {
        const char* component;
        const char* name;
        DestinationId destination;
        int placed;
        int replaced;
    };
    const auto add = [&](const char* mainDirectory, bool completed, std::initializer_list<FileLine> files) {
        DestinationMap destinations(kWindowsDir, kSystemDir, kTempDir);
        destinations.SetPath(DestMain, mainDirectory);
        destinations.SetNameAndParent(1, "SAMPLES", DestMain);
        destinations.SetNameAndParent(2, "SMALL", 1);
        destinations.SetNameAndParent(3, "HELP", DestMain);
        destinations.ResolveDestinations();
        ComponentMap components;
        for (const char* key : {"Program", "Samples", "Help"}) {
            auto component = std::make_unique<Component>();
            component->key = key;
            component->name = key;
            component->typical = 1;
            components.Add(std::move(component));
        }
        TargetMap targets;
        const struct {
            const char* key;
            const char* item;
            bool created;
        } links[] = {{"TYVIEW.EXE", "Tessaly Viewer", true},
                     {"TYVIEW.HLP", "Tessaly Viewer Help", true},
                     {"README.TXT", "Read Me", false}};
        for (const auto& link : links) {
            auto target = std::make_unique<Target>();
            target->key = link.key;
            target->itemName = link.item;
            if (link.created) target->path = std::string(mainDirectory) + link.key;
            targets.Add(std::move(target));
        }
        MemoryProfile text;
        InstallLog log(text, nullptr, [] { return EventTime{14, 3, 27, 1457}; });
        for (const FileLine& file : files)
            log.LogFileLine(file.component, destinations.GetPath(file.destination) + file.name, file.destination,
                            file.placed, file.replaced);
        if (completed) log.SaveProfileSections(destinations, components, targets);
        log.LogEvent("%s", "Could not write SMS status.");
        const std::string written = text.ToText();
        seeds.emplace_back(written.begin(), written.end());
    };
    add("C:\\TYVIEWER\\", true,
        {{"Program", "TYVIEW.EXE", DestMain, 1, 0},
         {"Program", "SETUP.EXE", DestMain, 1, 0},
         {"Program", "TYCTL32.DLL", DestSystem, 1, 1},
         {"Program", "_qzdinst.exe", DestSystem, 0, 1},
         {"Program", "TYVIEW.INI", DestWindows, 0, 0},
         {"Samples", "CAFFEINE.PDB", 1, 1, 0},
         {"Samples", "WATER.PDB", 2, 1, 0},
         {"Help", "TYVIEW.HLP", 3, 1, 0}});
    // Installed into the root of a drive, below which the others nest.
    add("D:\\", true, {{"Program", "TYVIEW.EXE", DestMain, 1, 0}, {"Samples", "WATER.PDB", 2, 1, 0}});
    // Cancelled after two files: no directories recorded.
    add("C:\\TYVIEWER\\", false,
        {{"Program", "TYVIEW.EXE", DestMain, 1, 0}, {"Program", "TYCTL32.DLL", DestSystem, 0, 0}});
}
