#include "profile/DestinationMap.h"

#include "errors/SetupException.h"

TVS_IMPLEMENT_DYNAMIC(Destination, CObject)

namespace {

bool EndsWithSeparator(const std::string& s) {
    return !s.empty() && (s.back() == '\\' || s.back() == '/');
}

}  // namespace

DestinationMap::DestinationMap(const std::string& windowsDir, const std::string& systemDir,
                               const std::string& tempDir) {
    SetPath(DestWindows, windowsDir);
    SetPath(DestSystem, systemDir);
    SetPath(DestTemp, tempDir);
}

Destination& DestinationMap::FindOrCreate(DestinationId id) {
    auto found = index.find(id);
    if (found != index.end()) return *records[found->second];
    records.push_back(std::make_unique<Destination>(id, this));
    index.emplace(id, records.size() - 1);
    return *records.back();
}

Destination& DestinationMap::SetNameAndParent(DestinationId id, const std::string& name, DestinationId parent) {
    Destination& record = FindOrCreate(id);
    record.name = name;
    record.parent = parent;
    return record;
}

Destination& DestinationMap::SetPath(DestinationId id, const std::string& path) {
    Destination& record = FindOrCreate(id);
    // A destination is a directory. Without the backslash, putting a file
    // name into the path later would replace its last directory instead.
    std::string directory = path;
    if (!directory.empty() && !EndsWithSeparator(directory)) AddTrailingBackslash(directory);
    record.path = directory;
    return record;
}

Destination* DestinationMap::Find(DestinationId id) {
    auto found = index.find(id);
    return found == index.end() ? nullptr : records[found->second].get();
}

const Destination* DestinationMap::Find(DestinationId id) const {
    auto found = index.find(id);
    return found == index.end() ? nullptr : records[found->second].get();
}

std::string DestinationMap::GetName(DestinationId id) const {
    const Destination* record = Find(id);
    return record ? record->name : std::string();
}

std::string DestinationMap::GetPath(DestinationId id) const {
    const Destination* record = Find(id);
    return record ? record->path.GetPath() : std::string();
}

bool DestinationMap::ResolveOne(Destination& record) {
    if (record.parent == DestNone) return true;
    if (!record.path.IsEmpty()) return true;
    const Destination* parent = Find(record.parent);
    if (parent == nullptr || parent->path.IsEmpty()) return false;
    FilePath path = parent->path;
    path.AppendDirectory(record.name);
    // A path the system would refuse is no directory to install into, and a
    // deeper chain would only grow longer. A parent too long to be split
    // comes back unchanged, which would put the child into the parent.
    if (path.IsTooLong() || (!record.name.empty() && path.GetPath() == parent->path.GetPath())) return false;
    record.path = path;
    return true;
}

void DestinationMap::ResolveDestinations() {
    const size_t passes = records.size();
    for (size_t pass = 0; pass < passes; ++pass) {
        bool allResolved = true;
        bool progress = false;
        for (auto& record : records) {
            const bool hadPath = !record->path.IsEmpty();
            if (!ResolveOne(*record)) allResolved = false;
            if (!hadPath && !record->path.IsEmpty()) progress = true;
        }
        if (allResolved) return;
        // A pass that resolves nothing new leaves the next pass the same
        // work: what is left is a missing parent or a cycle.
        if (!progress) break;
    }
    throw CInstallProfileException(1);
}
