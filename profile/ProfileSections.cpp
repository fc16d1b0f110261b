#include "profile/ProfileSections.h"

#include "profile/ProfileFields.h"
#include "profile/ProfileLoader.h"

namespace {

std::string Join(std::initializer_list<std::string> fields) {
    std::string value;
    bool first = true;
    for (const std::string& field : fields) {
        if (!first) value += kProfileFieldSeparator;
        value += field;
        first = false;
    }
    return value;
}

}  // namespace

std::vector<ProfileLine> ProfileSectionLines(const DestinationMap& destinations, const ComponentMap& components,
                                             const TargetMap& targets) {
    std::vector<ProfileLine> lines;
    // The predefined directories come from the system on every run.
    for (const Destination& d : destinations)
        if (d.id >= 0)
            lines.push_back({kDestinationsSection, std::to_string(d.id),
                             Join({d.name, std::to_string(d.parent), d.path.GetPath()})});
    for (const Component& c : components)
        lines.push_back({kGroupsSection, c.key,
                         Join({c.name, c.description, std::to_string(c.minimum), std::to_string(c.typical),
                               std::to_string(c.custom)})});
    for (const Target& t : targets)
        if (!t.path.IsEmpty())
            lines.push_back({kTargetsSection, ProfileUpperCase(t.key),
                             Join({std::to_string(t.icon), std::to_string(t.number), std::to_string(t.minimized),
                                   t.itemName, t.arguments, t.iconFile, t.path.GetPath()})});
    return lines;
}

void SaveProfileSections(ProfileSink& sink, const DestinationMap& destinations, const ComponentMap& components,
                         const TargetMap& targets) {
    for (const ProfileLine& line : ProfileSectionLines(destinations, components, targets))
        sink.Write(line.section, line.key, line.value);
}
