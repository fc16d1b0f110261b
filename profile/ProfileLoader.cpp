#include "profile/ProfileLoader.h"

#include "errors/SetupException.h"
#include "profile/ProfileFields.h"

const char kDestinationsSection[] = "destinations";
const char kGroupsSection[] = "groups";
const char kTargetsSection[] = "targets";
const char kDiskettesSection[] = "diskettes";

void LoadDestinationLine(DestinationMap& destinations, const std::string& key, const std::string& value) {
    const DestinationId id = ParseProfileInt16(key);
    std::string name;
    ExtractTextField(value, 0, name);
    int16_t parent = DestNone;
    ExtractInt16Field(value, 1, parent);
    std::string path;
    ExtractTextField(value, 2, path);
    destinations.SetNameAndParent(id, name, parent);
    // The Windows, System and temporary directories come from the system.
    // A line that renames one of them without giving a directory must not
    // leave it empty: its files would land in the current directory.
    const bool predefined = id == DestWindows || id == DestSystem || id == DestTemp;
    if (!path.empty() || !predefined) destinations.SetPath(id, path);
}

std::unique_ptr<Component> MakeComponent(const std::string& key, const std::string& value) {
    auto component = std::make_unique<Component>();
    component->key = key;
    ExtractTextField(value, 0, component->name);
    ExtractTextField(value, 1, component->description);
    ExtractFlagField(value, 2, component->minimum);
    ExtractFlagField(value, 3, component->typical);
    ExtractFlagField(value, 4, component->custom);
    return component;
}

std::unique_ptr<Target> MakeTarget(const std::string& key, const std::string& value) {
    auto target = std::make_unique<Target>();
    target->key = key;
    int16_t icon = 0;
    ExtractInt16Field(value, 0, icon);
    target->icon = icon;
    int16_t number = 0;
    ExtractInt16Field(value, 1, number);
    target->number = number;
    ExtractFlagField(value, 2, target->minimized);
    ExtractTextField(value, 3, target->itemName);
    ExtractTextField(value, 4, target->arguments);
    ExtractTextField(value, 5, target->iconFile);
    std::string path;
    ExtractTextField(value, 6, path);
    target->path = path;
    return target;
}

void FillSourceFile(SourceFile& item, const std::string& key, const std::string& value, Component* component) {
    item.name = key;
    int32_t size = 0;
    ExtractInt32Field(value, 0, size);
    item.size = size;
    int16_t kind = SourceSingleFile;
    ExtractInt16Field(value, 1, kind);
    item.kind = kind;
    int16_t count = 0;
    ExtractInt16Field(value, 2, count);
    item.count = count;
    int16_t diskette = 0;
    ExtractInt16Field(value, 3, diskette);
    // A negative number names the same diskette and puts the item after
    // that diskette's other items.
    item.late = diskette < 0 ? 1 : 0;
    item.diskette = diskette < 0 ? -static_cast<int>(diskette) : diskette;
    int16_t destination = DestNone;
    ExtractInt16Field(value, 4, destination);
    item.destination = destination;
    ExtractTextField(value, 5, item.text);
    item.component = component;
}

void LoadDisketteLine(DisketteArray& diskettes, const std::string& key, const std::string& value) {
    const int32_t number = ParseProfileNumber(key);
    if (number < 0) return;
    auto diskette = std::make_unique<Diskette>();
    ExtractTextField(value, 0, diskette->label);
    ExtractTextField(value, 1, diskette->text);
    diskettes.Set(number, std::move(diskette));
}

namespace {

void Pump(const MessagePump& pump) {
    if (pump) pump();
}

}  // namespace

void LoadProfile(ProfileSource& profile, const ProfileContainers& containers, const MessagePump& pump,
                 const SourceFileFactory& makeSourceFile) {
    const std::vector<std::string> destinationKeys = profile.Keys(kDestinationsSection);
    if (destinationKeys.empty()) throw CInstallProfileException(0);
    for (const std::string& key : destinationKeys)
        LoadDestinationLine(containers.destinations, key, profile.Value(kDestinationsSection, key));
    Pump(pump);

    for (const std::string& key : profile.Keys(kGroupsSection))
        containers.components.Add(MakeComponent(key, profile.Value(kGroupsSection, key)));
    Pump(pump);

    for (const std::string& key : profile.Keys(kTargetsSection))
        containers.targets.Add(MakeTarget(key, profile.Value(kTargetsSection, key)));
    Pump(pump);

    for (Component& component : containers.components) {
        for (const std::string& key : profile.Keys(component.key)) {
            std::unique_ptr<SourceFile> item = makeSourceFile ? makeSourceFile() : std::make_unique<SourceFile>();
            FillSourceFile(*item, key, profile.Value(component.key, key), &component);
            containers.sourceFiles.Insert(std::move(item));
        }
    }
    Pump(pump);

    for (const std::string& key : profile.Keys(kDiskettesSection))
        LoadDisketteLine(containers.diskettes, key, profile.Value(kDiskettesSection, key));
    Pump(pump);
}
