#include "uninstall/RemovalPass.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <set>
#include <string_view>

#include "support/FilePath.h"
#include "profile/ProfileFields.h"

const char kCleanupProgramName[] = "_qzdinst.exe";

namespace {

bool IsDecimalNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

bool SameNameNoCase(const std::string& a, const std::string& b) {
    return ProfileUpperCase(a) == ProfileUpperCase(b);
}

// "C:\A\B\" and "C:\A\B" name the same directory; the root keeps its "\".
std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

// The separators before the last name. A root ("C:\", "\") keeps its
// final one, which separates nothing: counted, it would give the root the
// depth of the directories just below it, and the root could come first.
std::size_t Depth(const std::string& directory) {
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    const auto end = !directory.empty() && separator(directory.back()) ? directory.end() - 1 : directory.end();
    return static_cast<std::size_t>(std::count_if(directory.begin(), end, separator));
}

}  // namespace

bool ParseRemovalFileLine(const std::string& value, RemovalFileLine& line) {
    std::string_view field;
    // Three fields: the value holds at least two separators.
    if (!FindProfileField(value, 2, field)) return false;
    if (!FindProfileField(value, 0, field) || !IsDecimalNumber(field) || field.size() > 6) return false;
    const int32_t number = ParseProfileNumber(field);
    if (number < INT16_MIN || number > INT16_MAX) return false;
    RemovalFileLine parsed;
    parsed.destination = static_cast<std::int16_t>(number);
    ExtractFlagField(value, 1, parsed.placed);
    ExtractFlagField(value, 2, parsed.replaced);
    line = parsed;
    return true;
}

bool GoOnAfterCancelRequest(bool& cancelRequested, const std::function<bool()>& confirm) {
    if (!cancelRequested) return true;
    if (confirm && confirm()) return false;
    cancelRequested = false;
    return true;
}

std::vector<std::string> RemovalDirectoryOrder(const DestinationMap& destinations) {
    std::vector<std::string> directories;
    std::set<std::string> seen;
    for (const Destination& destination : destinations) {
        if (destination.id < 0 || destination.path.IsEmpty()) continue;
        std::string directory = WithoutTrailingSeparator(destination.path.GetPath());
        if (seen.insert(ProfileUpperCase(directory)).second) directories.push_back(std::move(directory));
    }
    // Stable: directories of one depth keep the map's order.
    std::stable_sort(directories.begin(), directories.end(),
                     [](const std::string& a, const std::string& b) { return Depth(a) > Depth(b); });
    return directories;
}

RemovalPass::RemovalPass(ProfileSource& log, const DestinationMap& destinations, const ComponentMap& components,
                         const TargetMap& targets, RemovalActions& actions)
    : log(log), destinations(destinations), components(components), targets(targets), actions(actions) {}

RemovalOutcome RemovalPass::Run(const RemovalRequest& request) {
    for (const Component& component : components) {
        if (!request.removeAllComponents && !component.removeRequested) continue;
        if (!RemoveComponentFiles(component, request)) return RemovalOutcome::Cancelled;
    }
    RemoveProgramItems(request.groupName);
    RemoveDirectories();
    return RemovalOutcome::Completed;
}

bool RemovalPass::RemoveComponentFiles(const Component& component, const RemovalRequest& request) {
    for (const std::string& key : log.Keys(component.key)) {
        RemovalFileLine line;
        if (!ParseRemovalFileLine(log.Value(component.key, key), line)) continue;
        // A line from an install whose directories were never recorded has
        // no path to remove.
        const Destination* destination = destinations.Find(line.destination);
        if (!destination || destination->path.IsEmpty()) continue;
        // The log names files inside their directory; a key that could
        // reach elsewhere (a hand-edited line) is not followed.
        if (!IsPlainFileName(key)) continue;

        FilePath path(destination->path);
        path.SetFileName(key);
        if (!actions.ShowProgress(path.GetPath())) return false;

        if (line.destination == DestSystem) {
            // Other products may use the file: only the count goes down.
            actions.LowerSharedCount(path.GetPath());
            continue;
        }
        const bool spared = std::any_of(request.sparedNames.begin(), request.sparedNames.end(),
                                        [&](const std::string& name) { return SameNameNoCase(name, key); });
        if (!spared) actions.DeleteInstalledFile(path.GetPath());
    }
    return true;
}

void RemovalPass::RemoveProgramItems(const std::string& groupName) {
    for (const Target& target : targets) {
        if (target.path.IsEmpty()) continue;  // never created
        actions.DeleteProgramItem(groupName, target.itemName);
        actions.Pump();
    }
    actions.DeleteProgramGroup(groupName);
}

void RemovalPass::RemoveDirectories() {
    // Each is tried once: a directory that still holds a file the user made
    // stays, and so does every directory that holds it.
    for (const std::string& directory : RemovalDirectoryOrder(destinations))
        actions.RemoveInstallDirectory(directory);
}
