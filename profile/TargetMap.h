#pragma once
// Program items to create, by installed file name. Portable: no <windows.h>.
//
// Keys are stored upper-cased and lookups upper-case the name they are
// given, so a target matches its file without regard to case. Iteration
// order is the order in which keys were first added (the "targets" section).

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Object.h"
#include "support/FilePath.h"
#include "profile/OwnedIterator.h"

class Target : public CObject {
    TVS_DECLARE_DYNAMIC(Target)
public:
    std::string key;        // the installed file's name, as the profile gives it
    int icon = 0;           // icon index within the icon file
    std::string itemName;   // title in the program group
    std::string arguments;
    int number = 0;         // carried to the log unchanged
    int minimized = 0;      // 1: start minimised
    std::string iconFile;   // file in the main install directory; empty for none
    FilePath path;          // full path of the installed file; empty until installed
};

class TargetMap {
public:
    TargetMap() = default;
    TargetMap(const TargetMap&) = delete;
    TargetMap& operator=(const TargetMap&) = delete;

    // Takes the target, keyed by its upper-cased key. A target whose key is
    // already present replaces the first one's fields in place.
    Target& Add(std::unique_ptr<Target> target);
    // The target for `name` in any case, or null.
    Target* Find(const std::string& name);
    const Target* Find(const std::string& name) const;
    // Records where the file `name` was installed, when a target matches it.
    // Returns whether one did.
    bool SetInstalledPath(const std::string& name, const std::string& path);

    size_t size() const { return records.size(); }
    using Records = std::vector<std::unique_ptr<Target>>;
    using iterator = OwnedIterator<Target, Records::const_iterator>;
    using const_iterator = OwnedIterator<const Target, Records::const_iterator>;
    iterator begin() { return iterator(records.begin()); }
    iterator end() { return iterator(records.end()); }
    const_iterator begin() const { return const_iterator(records.begin()); }
    const_iterator end() const { return const_iterator(records.end()); }

private:
    Records records;
    std::map<std::string, size_t> index;  // upper-cased key -> position
};
