#include "profile/ComponentMap.h"

TVS_IMPLEMENT_DYNAMIC(Component, CObject)

Component& ComponentMap::Add(std::unique_ptr<Component> component) {
    auto found = index.find(component->key);
    if (found != index.end()) {
        Component& existing = *records[found->second];
        existing = *component;
        return existing;
    }
    records.push_back(std::move(component));
    index.emplace(records.back()->key, records.size() - 1);
    return *records.back();
}

Component* ComponentMap::Find(const std::string& key) {
    auto found = index.find(key);
    return found == index.end() ? nullptr : records[found->second].get();
}

const Component* ComponentMap::Find(const std::string& key) const {
    auto found = index.find(key);
    return found == index.end() ? nullptr : records[found->second].get();
}

void ComponentMap::SelectBySetupType(SetupType type) {
    for (auto& component : records) {
        switch (type) {
        case SetupType::None: component->selected = 0; break;
        case SetupType::Minimum: component->selected = component->minimum; break;
        case SetupType::Typical: component->selected = component->typical; break;
        case SetupType::Custom: component->selected = component->custom; break;
        case SetupType::All: component->selected = 1; break;
        }
    }
}

void ComponentMap::SetComponentSelected(const std::string& key, int value) {
    if (Component* component = Find(key)) component->selected = value;
}
