#include "profile/TargetMap.h"

#include "profile/ProfileFields.h"

TVS_IMPLEMENT_DYNAMIC(Target, CObject)

Target& TargetMap::Add(std::unique_ptr<Target> target) {
    std::string upper = ProfileUpperCase(target->key);
    auto found = index.find(upper);
    if (found != index.end()) {
        Target& existing = *records[found->second];
        existing = *target;
        return existing;
    }
    records.push_back(std::move(target));
    index.emplace(std::move(upper), records.size() - 1);
    return *records.back();
}

Target* TargetMap::Find(const std::string& name) {
    auto found = index.find(ProfileUpperCase(name));
    return found == index.end() ? nullptr : records[found->second].get();
}

const Target* TargetMap::Find(const std::string& name) const {
    auto found = index.find(ProfileUpperCase(name));
    return found == index.end() ? nullptr : records[found->second].get();
}

bool TargetMap::SetInstalledPath(const std::string& name, const std::string& path) {
    Target* target = Find(name);
    if (target == nullptr) return false;
    target->path = path;
    return true;
}
