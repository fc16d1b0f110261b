#pragma once
// Install directories by destination id. Portable: no <windows.h>.
//
// Iteration order is the order in which ids were first stored: the three
// predefined directories (-2, -3, -4), then the ids in the order the profile
// (or the install log) lists them. Storing an id again updates its record in
// place, so its position and every reference to it stay.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Object.h"
#include "support/FilePath.h"
#include "profile/OwnedIterator.h"

using DestinationId = int16_t;

constexpr DestinationId DestNone = -1;  // no parent; in a source file: not installed
constexpr DestinationId DestMain = 0;
constexpr DestinationId DestWindows = -2;
constexpr DestinationId DestSystem = -3;  // shared, reference-counted files
constexpr DestinationId DestTemp = -4;

// Longest directory path a destination may resolve to (the system limit of
// 260 characters less the terminator).
constexpr size_t kMaxDestinationPath = kMaxPathLength;

class DestinationMap;

class Destination : public CObject {
    TVS_DECLARE_DYNAMIC(Destination)
public:
    Destination(DestinationId id, DestinationMap* container) : id(id), container(container) {}

    DestinationId id;
    std::string name;            // subdirectory appended to the parent's path
    DestinationId parent = DestNone;
    DestinationMap* container;   // the map that holds this record, to find the parent
    FilePath path;               // the directory, ending in a backslash; empty until set
};

class DestinationMap {
public:
    // Creates the map with the predefined -2, -3 and -4 (empty names, no parent).
    DestinationMap(const std::string& windowsDir, const std::string& systemDir, const std::string& tempDir);
    DestinationMap(const DestinationMap&) = delete;
    DestinationMap& operator=(const DestinationMap&) = delete;

    // Finds or creates the record for `id`, then sets its name and parent.
    Destination& SetNameAndParent(DestinationId id, const std::string& name, DestinationId parent);
    // Finds or creates the record for `id`, then sets its path. A non-empty
    // path is a directory: a trailing backslash is added when missing.
    Destination& SetPath(DestinationId id, const std::string& path);

    // The record, or null when the map holds no such id.
    Destination* Find(DestinationId id);
    const Destination* Find(DestinationId id) const;
    // Name and directory of `id`; empty for an id the map does not hold.
    std::string GetName(DestinationId id) const;
    std::string GetPath(DestinationId id) const;

    // Computes the path of every record that has a parent and no path yet
    // from its parent's path and its own name. Records that can be resolved
    // are, even when others fail. Throws CInstallProfileException cause 1
    // when a parent is missing, a chain is circular, a parent has no path,
    // or a path would exceed kMaxDestinationPath.
    void ResolveDestinations();

    size_t size() const { return records.size(); }
    // Iteration in insertion order.
    using Records = std::vector<std::unique_ptr<Destination>>;
    using iterator = OwnedIterator<Destination, Records::const_iterator>;
    using const_iterator = OwnedIterator<const Destination, Records::const_iterator>;
    iterator begin() { return iterator(records.begin()); }
    iterator end() { return iterator(records.end()); }
    const_iterator begin() const { return const_iterator(records.begin()); }
    const_iterator end() const { return const_iterator(records.end()); }

private:
    Destination& FindOrCreate(DestinationId id);
    bool ResolveOne(Destination& record);

    Records records;
    std::map<DestinationId, size_t> index;
};
