#include "profile/DestinationMap.h"

#include "errors/SetupException.h"

TVS_IMPLEMENT_DYNAMIC(Destination, CObject)

namespace {

bool EndsWithSeparator(const std::string& s) {
    return !s.empty() && (s.back() == '\\' || s.back() == '/');
}

// The parent's directory with `name` appended as a subdirectory: one leading
// backslash of the name is dropped, and the result ends in a backslash.
std::string AppendSubdirectory(std::string dir, std::string name) {
    if (!EndsWithSeparator(dir)) dir += '\\';
    if (name.empty()) return dir;
    if (name.size() > 1 && name.front() == '\\') name.erase(0, 1);
    if (name.back() != '\\') name += '\\';
    return dir + name;
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
    record.path = path;
    // A destination is a directory. Without the backslash, putting a file
    // name into the path later would replace its last directory instead.
    if (!record.path.empty() && !EndsWithSeparator(record.path)) record.path += '\\';
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
    return record ? record->path : std::string();
}

bool DestinationMap::ResolveOne(Destination& record) {
    if (record.parent == DestNone) return true;
    if (!record.path.empty()) return true;
    const Destination* parent = Find(record.parent);
    if (parent == nullptr || parent->path.empty()) return false;
    std::string path = AppendSubdirectory(parent->path, record.name);
    // A deeper chain would only grow longer; refusing here also keeps a
    // long chain of nested names from building ever larger strings.
    if (path.size() > kMaxDestinationPath) return false;
    record.path = std::move(path);
    return true;
}

void DestinationMap::ResolveDestinations() {
    const size_t passes = records.size();
    for (size_t pass = 0; pass < passes; ++pass) {
        bool allResolved = true;
        bool progress = false;
        for (auto& record : records) {
            const bool hadPath = !record->path.empty();
            if (!ResolveOne(*record)) allResolved = false;
            if (!hadPath && !record->path.empty()) progress = true;
        }
        if (allResolved) return;
        // A pass that resolves nothing new leaves the next pass the same
        // work: what is left is a missing parent or a cycle.
        if (!progress) break;
    }
    throw CInstallProfileException(1);
}
