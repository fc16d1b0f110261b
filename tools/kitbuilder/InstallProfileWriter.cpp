#include "tools/kitbuilder/InstallProfileWriter.h"

namespace {

void Section(std::string& out, const std::string& name) {
    if (!out.empty())
        out += "\r\n";
    out += "[" + name + "]\r\n";
}

void Line(std::string& out, const std::string& key, const std::vector<std::string>& fields) {
    out += key + "=";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            out += "|";
        out += fields[i];
    }
    out += "\r\n";
}

std::string N(long long v) {
    return std::to_string(v);
}

}  // namespace

std::string WriteInstallProfile(const InstallProfile& profile) {
    std::string out;
    Section(out, "destinations");
    for (const ProfileDestination& d : profile.destinations)
        Line(out, N(d.id), {d.name, N(d.parent), d.path});
    Section(out, "groups");
    for (const ProfileComponent& c : profile.components)
        Line(out, c.key, {c.name, c.description, N(c.minimum), N(c.typical), N(c.custom)});
    Section(out, "targets");
    for (const ProfileTarget& t : profile.targets)
        Line(out, t.key, {N(t.icon), N(t.number), N(t.minimized), t.itemName, t.arguments, t.iconFile, t.path});
    for (const auto& [component, files] : profile.componentFiles) {
        Section(out, component);
        for (const ProfileSourceFile& f : files)
            Line(out, f.name, {N(f.size), N(f.kind), N(f.count), N(f.diskette), N(f.destination), f.text});
    }
    Section(out, "diskettes");
    for (const ProfileDiskette& d : profile.diskettes)
        Line(out, N(d.number), {d.label, d.text});
    return out;
}
