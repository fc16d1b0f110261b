#include "tools/kitbuilder/KitDescription.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "archive/ArchiveFormat.h"
#include "support/FilePath.h"
#include "tools/kitbuilder/KitDeflate.h"

namespace {

std::string Trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    std::size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

std::string Upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> SplitFields(const std::string& value) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t bar = value.find('|', start);
        fields.push_back(Trim(value.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
        if (bar == std::string::npos)
            return fields;
        start = bar + 1;
    }
}

[[noreturn]] void Fail(int line, const std::string& message) {
    throw KitError("line " + std::to_string(line) + ": " + message);
}

long long Number(const std::string& text, long long low, long long high, int line, const std::string& what) {
    std::string t = Trim(text);
    std::size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    if (i == t.size() || !std::all_of(t.begin() + static_cast<long>(i), t.end(),
                                      [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }) ||
        t.size() > 19)
        Fail(line, what + " must be a number, not '" + text + "'");
    long long v = std::stoll(t);
    if (v < low || v > high)
        Fail(line, what + " must be between " + std::to_string(low) + " and " + std::to_string(high));
    return v;
}

std::string Field(const std::vector<std::string>& f, std::size_t i) {
    return i < f.size() ? f[i] : std::string();
}

void CheckText(const std::string& text, int line, const std::string& what) {
    // The profile separates fields with bars and Setup has no escape for them.
    if (text.find('|') != std::string::npos)
        Fail(line, what + " must not contain '|'");
}

void CheckMediaName(const std::string& name, int line) {
    if (name.empty() || name.size() > 12 || name.find_first_of("\\/:*?\"<>| ") != std::string::npos)
        Fail(line, "'" + name + "' is not a file name for a diskette (8.3, no path)");
    // What Setup refuses to create: a device name, with or without an
    // extension (AUX.DAT), ".", "..", or a trailing dot.
    if (!IsPlainFileName(name))
        Fail(line, "'" + name + "' is a name Setup refuses (a device, \".\", \"..\" or a trailing dot)");
}

}  // namespace

const std::vector<KitKey>& KitDescriptionKeys() {
    static const std::vector<KitKey> keys = {
        {"kit", "disk_size", "1457664",
         "bytes per diskette (default 1457664, 3.5\" 1.44 MB; 737280 is 720 KB); these two are filled in whole "
         "FAT12 clusters and root entries, as their images hold files, other sizes to the byte"},
        {"kit", "setup_exe", "../build/ship/app/SETUP.EXE", "the Setup program, copied to DISK01 as SETUP.EXE (optional)"},
        {"kit", "profile_reserve", "16384", "bytes kept free on DISK01 for the install profile (default 16384)"},
        {"kit", "profile_name", "SETUP.ini", "name of the install profile on DISK01 (default SETUP.ini)"},
        {"kit", "label", "Tessaly Viewer Disk %d", "label of a diskette without a [diskettes] line; %d is its number"},
        {"diskettes", "NUMBER", "LABEL | TEXT", "a diskette's own label (NUMBER 1-99)"},
        {"destinations", "ID", "NAME | PARENT | PATH",
         "an install directory; 0 (required) is the main one, PARENT -1 for none, -2 Windows, -3 System, -4 temporary"},
        {"groups", "KEY", "NAME | DESCRIPTION | MINIMUM | TYPICAL | CUSTOM",
         "a component; the last three (0 or 1) say which kinds of install take it"},
        {"targets", "FILE", "ICON | NUMBER | MINIMIZED | ITEM NAME | ARGUMENTS | ICON FILE | PATH",
         "a program item for an installed file"},
        {"archive", "component", "Viewer", "component ([groups] key) of every member (required)"},
        {"archive", "method", "deflate", "deflate (default) or stored"},
        {"archive", "level", "9", "deflate level 0-12 (default 9; 10-12 need the host build, with libdeflate)"},
        {"archive", "text", "", "field 5 of the archive's profile line (optional)"},
        {"file", "source", "files/tyview.exe", "the file on the build host, relative to the description"},
        {"file", "archive", "DATA.A1", "the archive that carries it; omitted: a single file on the diskette"},
        {"file", "destination", "0", "destination id; -1 carried but not installed, -2 Windows, -3 System, -4 temporary"},
        {"file", "component", "Viewer", "component; required for single files, members take their archive's"},
        {"file", "text", "", "single files: field 5 of the profile line (optional)"},
        {"tree", "source", "samples", "the directory on the build host whose files are taken"},
        {"tree", "files", "*.mol *.pdb", "wildcards (* and ?, any case), blank- or comma-separated; omitted: every file"},
        {"tree", "recurse", "1", "1 (default): subdirectories too; 0: only the files of source itself"},
        {"tree", "archive", "SAMPLES.A1", "as for [file]: omitted, single files on the diskette"},
        {"tree", "destination", "1", "destination of the files directly in source (default 0)"},
        {"tree", "subdir PATH", "2", "destination of the subdirectory PATH (/ separated) and of what lies below it"},
        {"tree", "subdirs", "create",
         "table (default): subdirectories without a subdir line go with their parent; create: each becomes a new "
         "destination named after it"},
        {"tree", "component", "Samples", "as for [file] (default: the archive's)"},
        {"tree", "text", "", "as for [file]"},
    };
    return keys;
}

namespace {

// The placeholder-free head of a table key: "subdir" for "subdir PATH".
bool KeyMatches(const std::string& tableKey, const std::string& key) {
    std::size_t space = tableKey.find(' ');
    if (space == std::string::npos)
        return key == tableKey;
    return key.size() > space && key.compare(0, space, tableKey, 0, space) == 0 &&
           (key[space] == ' ' || key[space] == '\t');
}

bool IsKnownKey(const std::string& section, const std::string& key) {
    for (const KitKey& k : KitDescriptionKeys())
        if (section == k.section && KeyMatches(k.key, key))
            return true;
    return false;
}

}  // namespace

std::string KitDescriptionHelp() {
    std::string help;
    std::string section;
    for (const KitKey& k : KitDescriptionKeys()) {
        if (section != k.section) {
            section = k.section;
            bool named = section == "archive" || section == "file" || section == "tree";
            help += "[" + section + (named ? " NAME]\n" : "]\n");
        }
        help += std::string("  ") + k.key + " = " + k.example + "\n      " + k.meaning + "\n";
    }
    return help;
}

bool IsSetupProgram(const std::string& mediaName) {
    return Upper(mediaName) == "SETUP.EXE";
}

KitDescription ParseKitDescription(const std::string& text, const std::string& baseDir) {
    KitDescription kit;
    std::string section;
    std::string sectionName;  // the NAME of [archive NAME] / [file NAME]
    int lineNo = 0;
    std::size_t pos = 0;
    std::set<std::string> seenSections;
    std::map<int, int> destinationLine;  // id -> line, for the cycle check
    std::set<std::string> componentNames, targetNames;
    // The sections that make kit units, in the order they come.
    struct Entry {
        enum Kind { kArchive, kFile, kTree } kind;
        std::size_t index;
    };
    std::vector<Entry> order;
    std::vector<KitTree> trees;
    while (pos <= text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::string line = Trim(text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos));
        pos = nl == std::string::npos ? text.size() + 1 : nl + 1;
        ++lineNo;
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            if (line.back() != ']')
                Fail(lineNo, "section header without ']'");
            std::string head = Trim(line.substr(1, line.size() - 2));
            std::size_t space = head.find_first_of(" \t");
            section = head.substr(0, space);
            sectionName = space == std::string::npos ? std::string() : Trim(head.substr(space));
            if (section == "tree") {
                KitTree t;
                t.line = lineNo;
                trees.push_back(t);
                order.push_back({Entry::kTree, trees.size() - 1});
            } else if (section == "archive" || section == "file") {
                CheckMediaName(sectionName, lineNo);
                if (!seenSections.insert(section + " " + Upper(sectionName)).second)
                    Fail(lineNo, "[" + head + "] is given twice");
                if (section == "archive") {
                    kit.archives.push_back(KitArchive{sectionName, {}, 4, kKitDefaultLevel, {}, lineNo});
                    order.push_back({Entry::kArchive, kit.archives.size() - 1});
                } else {
                    KitFile f;
                    f.name = sectionName;
                    f.line = lineNo;
                    kit.files.push_back(f);
                    order.push_back({Entry::kFile, kit.files.size() - 1});
                }
            } else if (section != "kit" && section != "destinations" && section != "groups" &&
                       section != "targets" && section != "diskettes") {
                Fail(lineNo, "unknown section [" + head + "]");
            } else if (!sectionName.empty()) {
                Fail(lineNo, "[" + section + "] takes no name");
            }
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            Fail(lineNo, "expected key = value");
        std::string key = Trim(line.substr(0, eq));
        std::string value = Trim(line.substr(eq + 1));
        if (section.empty())
            Fail(lineNo, "key outside a section");
        std::vector<std::string> f = SplitFields(value);
        static const std::map<std::string, std::size_t> maxFields = {
            {"destinations", 3}, {"groups", 5}, {"targets", 7}, {"diskettes", 2}};
        auto limit = maxFields.find(section);
        if (limit != maxFields.end() && f.size() > limit->second)
            Fail(lineNo, "[" + section + "] lines have at most " + std::to_string(limit->second) + " fields");
        if (section == "kit" || section == "archive" || section == "file" || section == "tree") {
            if (!IsKnownKey(section, key))
                Fail(lineNo, "unknown key '" + key + "' in [" + section + "]");
        }
        if (section == "archive" || section == "file" || section == "tree")
            CheckText(value, lineNo, key);

        if (section == "kit") {
            if (key == "disk_size") {
                kit.settings.diskSize = static_cast<std::uint64_t>(Number(value, 4096, 2147483647, lineNo, key));
                kit.settings.diskSizeLine = lineNo;
            } else if (key == "profile_reserve") {
                kit.settings.profileReserve = static_cast<std::uint64_t>(Number(value, 0, 1 << 20, lineNo, key));
                kit.settings.profileReserveLine = lineNo;
            } else if (key == "setup_exe") {
                kit.settings.setupExe = value.empty() ? value : ArchiveFormat::JoinPath(value[0] == '/' ? "" : baseDir, value);
                kit.settings.setupExeLine = lineNo;
            }
            else if (key == "profile_name")
                kit.settings.profileName = value;
            else if (key == "label")
                kit.settings.labelFormat = value;
            else
                Fail(lineNo, "unknown key '" + key + "' in [kit]");
        } else if (section == "destinations") {
            ProfileDestination d;
            d.id = static_cast<std::int16_t>(Number(key, 0, 32767, lineNo, "destination id"));
            d.name = Field(f, 0);
            d.parent = f.size() > 1 && !f[1].empty() ? static_cast<std::int16_t>(Number(f[1], -4, 32767, lineNo, "parent")) : -1;
            d.path = Field(f, 2);
            if (!destinationLine.emplace(d.id, lineNo).second)
                Fail(lineNo, "destination " + std::to_string(d.id) + " is given twice");
            kit.destinations.push_back(d);
        } else if (section == "groups") {
            ProfileComponent c;
            c.key = key;
            c.name = Field(f, 0);
            c.description = Field(f, 1);
            c.minimum = Field(f, 2).empty() ? 0 : static_cast<int>(Number(f[2], 0, 1, lineNo, "minimum"));
            c.typical = Field(f, 3).empty() ? 0 : static_cast<int>(Number(f[3], 0, 1, lineNo, "typical"));
            c.custom = Field(f, 4).empty() ? 0 : static_cast<int>(Number(f[4], 0, 1, lineNo, "custom"));
            static const char* reserved[] = {"destinations", "groups", "targets", "diskettes"};
            for (const char* r : reserved)
                if (Upper(key) == Upper(r))
                    Fail(lineNo, "component key '" + key + "' would clash with the section [" + r + "]");
            if (!componentNames.insert(Upper(key)).second)
                Fail(lineNo, "component '" + key + "' is given twice");
            kit.components.push_back(c);
        } else if (section == "targets") {
            ProfileTarget t;
            t.key = key;
            t.icon = Field(f, 0).empty() ? 0 : static_cast<std::int16_t>(Number(f[0], -32768, 32767, lineNo, "icon"));
            t.number = Field(f, 1).empty() ? 0 : static_cast<std::int16_t>(Number(f[1], -32768, 32767, lineNo, "number"));
            t.minimized = Field(f, 2).empty() ? 0 : static_cast<int>(Number(f[2], 0, 1, lineNo, "minimized"));
            t.itemName = Field(f, 3);
            t.arguments = Field(f, 4);
            t.iconFile = Field(f, 5);
            t.path = Field(f, 6);
            if (!targetNames.insert(Upper(key)).second)
                Fail(lineNo, "target '" + key + "' is given twice");
            kit.targets.push_back(t);
        } else if (section == "diskettes") {
            ProfileDiskette d;
            d.number = static_cast<std::int32_t>(Number(key, 1, 99, lineNo, "diskette number"));
            d.label = Field(f, 0);
            d.text = Field(f, 1);
            kit.diskettes.push_back(d);
        } else if (section == "archive") {
            KitArchive& a = kit.archives.back();
            if (key == "component")
                a.component = value;
            else if (key == "method") {
                if (value == "deflate" || value == "4")
                    a.method = 4;
                else if (value == "stored" || value == "2")
                    a.method = 2;
                else
                    Fail(lineNo, "method must be deflate or stored");
            } else if (key == "level")
                a.level = static_cast<int>(Number(value, 0, kKitMaxLevel, lineNo, "level"));
            else if (key == "text")
                a.text = value;
            else
                Fail(lineNo, "unknown key '" + key + "' in [archive]");
        } else if (section == "tree") {
            KitTree& tree = trees.back();
            if (key == "source")
                tree.source = value.empty() ? value : ArchiveFormat::JoinPath(value[0] == '/' ? "" : baseDir, value);
            else if (key == "files") {
                tree.patterns.clear();
                std::size_t at = 0;
                while ((at = value.find_first_not_of(" \t,", at)) != std::string::npos) {
                    std::size_t end = value.find_first_of(" \t,", at);
                    std::string pattern = value.substr(at, end == std::string::npos ? std::string::npos : end - at);
                    if (pattern.find_first_of("\\/:") != std::string::npos)
                        Fail(lineNo, "wildcard '" + pattern + "' must be a file name, without a directory");
                    tree.patterns.push_back(pattern);
                    at = end;
                }
            } else if (key == "recurse")
                tree.recurse = Number(value, 0, 1, lineNo, key) == 1;
            else if (key == "archive")
                tree.archive = value;
            else if (key == "component")
                tree.component = value;
            else if (key == "destination")
                tree.destination = static_cast<std::int16_t>(Number(value, -4, 32767, lineNo, "destination"));
            else if (key == "subdirs") {
                if (value == "create")
                    tree.createSubdirs = true;
                else if (value == "table")
                    tree.createSubdirs = false;
                else
                    Fail(lineNo, "subdirs must be create or table");
            } else if (key.compare(0, 7, "subdir ") == 0 || key.compare(0, 7, "subdir\t") == 0) {
                std::string path = Trim(key.substr(7));
                std::replace(path.begin(), path.end(), '\\', '/');
                while (!path.empty() && path.back() == '/')
                    path.pop_back();
                if (path.empty() || path[0] == '/' || path == "." || path.find("..") != std::string::npos)
                    Fail(lineNo, "subdir '" + path + "' must be a path below the tree's source");
                for (const KitTree::Subdir& s : tree.subdirs)
                    if (s.path == path)
                        Fail(lineNo, "subdir " + path + " is given twice");
                tree.subdirs.push_back(
                    {path, static_cast<std::int16_t>(Number(value, -4, 32767, lineNo, "destination")), lineNo});
            } else if (key == "text")
                tree.text = value;
            else
                Fail(lineNo, "unknown key '" + key + "' in [tree]");
        } else if (section == "file") {
            KitFile& file = kit.files.back();
            if (key == "source")
                file.source = value.empty() ? value : ArchiveFormat::JoinPath(value[0] == '/' ? "" : baseDir, value);
            else if (key == "component")
                file.component = value;
            else if (key == "archive")
                file.archive = value;
            else if (key == "destination")
                file.destination = static_cast<std::int16_t>(Number(value, -4, 32767, lineNo, "destination"));
            else if (key == "text")
                file.text = value;
            else
                Fail(lineNo, "unknown key '" + key + "' in [file]");
        }
    }

    // Cross-checks: every name used is defined, every archive has members.
    std::set<std::string> componentKeys;
    for (const ProfileComponent& c : kit.components)
        componentKeys.insert(c.key);
    std::set<int> destinationIds = {-1, -2, -3, -4};
    for (const ProfileDestination& d : kit.destinations)
        destinationIds.insert(d.id);
    if (!destinationIds.count(0))
        throw KitError("[destinations] must define 0, the main install directory");
    // Every destination's chain of parents must end at -1 or a predefined
    // directory; Setup cannot resolve an unknown parent or a cycle.
    std::map<int, int> parentOf;
    for (const ProfileDestination& d : kit.destinations)
        parentOf[d.id] = d.parent;
    for (const ProfileDestination& d : kit.destinations) {
        std::set<int> seen;
        int id = d.id;
        while (id >= 0) {
            if (!seen.insert(id).second)
                Fail(destinationLine[d.id], "destination " + std::to_string(d.id) + " lies in a cycle of parents");
            auto it = parentOf.find(id);
            if (it == parentOf.end())
                Fail(destinationLine[d.id], "destination " + std::to_string(d.id) + ": parent " + std::to_string(id) +
                                                " is not in [destinations]");
            id = it->second;
        }
    }
    // Trees become files at their own place in the description; the
    // destinations they create take ids above every one given.
    std::int16_t nextId = 0;
    for (const ProfileDestination& d : kit.destinations)
        nextId = std::max<std::int16_t>(nextId, static_cast<std::int16_t>(d.id + 1));
    std::vector<KitFile> files;
    for (const Entry& e : order) {
        if (e.kind == Entry::kArchive) {
            kit.units.push_back({true, e.index});
        } else if (e.kind == Entry::kFile) {
            files.push_back(kit.files[e.index]);
            kit.units.push_back({false, files.size() - 1});
        } else {
            const KitTree& tree = trees[e.index];
            if (tree.source.empty())
                Fail(tree.line, "[tree] has no source");
            for (const KitTree::Subdir& s : tree.subdirs)
                if (!destinationIds.count(s.destination))
                    Fail(s.line, "subdir " + s.path + ": destination " + std::to_string(s.destination) +
                                     " is not in [destinations]");
            for (KitFile& f : ExpandKitTree(tree, kit.destinations, nextId)) {
                if (f.archive.empty())
                    CheckMediaName(f.name, f.line);
                else if (f.name.size() >= ArchiveFormat::kNameWidth || !IsPlainFileName(f.name) ||
                         f.name.find_first_of("\\/:*?\"<>|") != std::string::npos)
                    Fail(f.line, "'" + f.source + "': '" + f.name + "' cannot be a member name");
                files.push_back(f);
                kit.units.push_back({false, files.size() - 1});
            }
        }
    }
    kit.files = files;
    for (const ProfileDestination& d : kit.destinations)
        destinationIds.insert(d.id);

    std::map<std::string, std::size_t> archiveByName;
    for (std::size_t i = 0; i < kit.archives.size(); ++i) {
        KitArchive& a = kit.archives[i];
        if (!componentKeys.count(a.component))
            Fail(a.line, "archive " + a.name + ": component '" + a.component + "' is not in [groups]");
        archiveByName[Upper(a.name)] = i;
    }
    std::vector<int> membersPerArchive(kit.archives.size(), 0);
    std::set<std::string> mediaNames;
    // Two files of one name for one directory: the second would overwrite
    // the first on the user's disk. -1 is carried but never installed.
    std::map<std::pair<int, std::string>, const KitFile*> installedAs;
    for (KitFile& file : kit.files) {
        if (file.destination != -1) {
            auto placed = installedAs.emplace(std::make_pair(int(file.destination), Upper(file.name)), &file);
            if (!placed.second) {
                const KitFile& other = *placed.first->second;
                Fail(file.line, "two files named " + file.name + " for destination " + std::to_string(file.destination) +
                                    ": " + other.source + " (line " + std::to_string(other.line) + ") and " +
                                    file.source);
            }
        }
        // Setup installing a copy of itself (for its uninstall entry) takes
        // the very file DISK01 starts it from.
        if (file.source.empty() && file.archive.empty() && IsSetupProgram(file.name) && !kit.settings.setupExe.empty())
            file.source = kit.settings.setupExe;
        if (file.source.empty())
            Fail(file.line, "file " + file.name + " has no source");
        if (!file.archive.empty()) {
            auto it = archiveByName.find(Upper(file.archive));
            if (it == archiveByName.end())
                Fail(file.line, "file " + file.name + ": no [archive " + file.archive + "]");
            const KitArchive& a = kit.archives[it->second];
            if (file.component.empty())
                file.component = a.component;
            else if (file.component != a.component)
                Fail(file.line, "file " + file.name + " is in component '" + file.component + "' but its archive in '" +
                                    a.component + "'");
            ++membersPerArchive[it->second];
        }
        if (!componentKeys.count(file.component))
            Fail(file.line, "file " + file.name + ": component '" + file.component + "' is not in [groups]");
        if (!destinationIds.count(file.destination))
            Fail(file.line, "file " + file.name + ": destination " + std::to_string(file.destination) +
                                " is not in [destinations]");
    }
    for (std::size_t i = 0; i < kit.archives.size(); ++i)
        if (membersPerArchive[i] == 0)
            Fail(kit.archives[i].line, "archive " + kit.archives[i].name + " has no files");
    // Kit units: single files only (archive members go with their archive).
    std::vector<KitUnit> units;
    for (const KitUnit& u : kit.units)
        if (u.isArchive || kit.files[u.index].archive.empty())
            units.push_back(u);
    kit.units = units;
    for (const KitUnit& u : kit.units) {
        const std::string& name = u.isArchive ? kit.archives[u.index].name : kit.files[u.index].name;
        int line = u.isArchive ? kit.archives[u.index].line : kit.files[u.index].line;
        if (!mediaNames.insert(Upper(name)).second)
            Fail(line, "two files on the media are named " + name);
        // DISK01 also carries the profile and Setup itself: nothing else may
        // take their names there.
        if (Upper(name) == Upper(kit.settings.profileName))
            Fail(line, name + " is the name of the install profile");
        if (IsSetupProgram(name) && !kit.settings.setupExe.empty() && u.isArchive)
            Fail(line, "archive " + name + " would take the place of setup_exe on DISK01");
    }
    return kit;
}
