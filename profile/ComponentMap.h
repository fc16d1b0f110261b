#pragma once
// Installable components by key. Portable: no <windows.h>.
//
// Keys are compared case-sensitively. Iteration order is the order in which
// keys were first added, that is the order of the "groups" section; it is
// also the order in which the component sections are read, and with it the
// install order of source files on one diskette.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Object.h"
#include "profile/OwnedIterator.h"

enum class SetupType { None = 0, Minimum = 1, Typical = 2, Custom = 3, All = 4 };

class Component : public CObject {
    TVS_DECLARE_DYNAMIC(Component)
public:
    std::string key;          // also the name of the component's own section
    std::string name;         // display name
    std::string description;  // kept and written back to the log
    int selected = 0;
    int removeRequested = 0;
    int minimum = 0;          // selected by SetupType::Minimum
    int typical = 0;          // selected by SetupType::Typical
    int custom = 0;           // selected by SetupType::Custom
};

class ComponentMap {
public:
    ComponentMap() = default;
    ComponentMap(const ComponentMap&) = delete;
    ComponentMap& operator=(const ComponentMap&) = delete;

    // Takes the component, keyed by its key. A second component with a key
    // already present replaces the first one's fields in place, so that
    // source files referring to it stay valid. Returns the stored record.
    Component& Add(std::unique_ptr<Component> component);

    Component* Find(const std::string& key);
    const Component* Find(const std::string& key) const;

    // Sets every component's selected flag from the flag the type names
    // (None: 0, All: 1).
    void SelectBySetupType(SetupType type);
    // Sets the selected flag of the component `key`; nothing when there is none.
    void SetComponentSelected(const std::string& key, int value);

    size_t size() const { return records.size(); }
    using Records = std::vector<std::unique_ptr<Component>>;
    using iterator = OwnedIterator<Component, Records::const_iterator>;
    using const_iterator = OwnedIterator<const Component, Records::const_iterator>;
    iterator begin() { return iterator(records.begin()); }
    iterator end() { return iterator(records.end()); }
    const_iterator begin() const { return const_iterator(records.begin()); }
    const_iterator end() const { return const_iterator(records.end()); }

private:
    Records records;
    std::map<std::string, size_t> index;
};
