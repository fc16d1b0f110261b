// Expansion of [tree] sections: the directory walk, the wildcards and the
// mapping of subdirectories to destinations.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "support/FilePath.h"
#include "tools/kitbuilder/KitDescription.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(int line, const std::string& message) {
    throw KitError("line " + std::to_string(line) + ": " + message);
}

char Fold(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// The directory part of a relative path ("" for the tree's top).
std::string ParentOf(const std::string& relative) {
    std::size_t slash = relative.rfind('/');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

}  // namespace

bool MatchesWildcard(const std::string& name, const std::string& pattern) {
    // Iterative match with one backtrack point: the last `*` seen.
    std::size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<KitFile> ExpandKitTree(const KitTree& tree, std::vector<ProfileDestination>& destinations,
                                   std::int16_t& nextId) {
    std::error_code error;
    if (!fs::is_directory(tree.source, error))
        Fail(tree.line, "tree source " + tree.source + " is not a directory");

    // Relative paths ('/' separated) of the files taken, in byte order, so
    // that the kit does not depend on the order the file system lists them.
    std::vector<std::string> relatives;
    std::set<std::string> directories;  // every subdirectory seen, for the subdir table's check
    auto take = [&](const fs::directory_entry& entry) {
        std::string relative = entry.path().lexically_relative(tree.source).generic_string();
        if (entry.is_directory(error)) {
            if (tree.recurse)
                directories.insert(relative);
            return;
        }
        if (!entry.is_regular_file(error))
            return;
        std::string name = entry.path().filename().string();
        bool wanted = tree.patterns.empty() ||
                      std::any_of(tree.patterns.begin(), tree.patterns.end(),
                                  [&](const std::string& p) { return MatchesWildcard(name, p); });
        if (wanted)
            relatives.push_back(relative);
    };
    // Links to directories are not followed: a link back up would never end.
    if (tree.recurse) {
        for (fs::recursive_directory_iterator it(tree.source, error), end; !error && it != end; it.increment(error))
            take(*it);
    } else {
        for (fs::directory_iterator it(tree.source, error), end; !error && it != end; it.increment(error))
            take(*it);
    }
    if (error)
        Fail(tree.line, "cannot read the tree " + tree.source + ": " + error.message());
    std::sort(relatives.begin(), relatives.end());
    if (relatives.empty())
        Fail(tree.line, "tree " + tree.source + " has no file that matches");

    std::map<std::string, std::int16_t> table;  // explicit subdir -> destination
    for (const KitTree::Subdir& s : tree.subdirs) {
        if (!directories.count(s.path))
            Fail(s.line, "subdir " + s.path + " is not a directory of " + tree.source +
                             (tree.recurse ? "" : " (recurse = 0 takes no subdirectory)"));
        table[s.path] = s.destination;
    }
    // The destination of a directory: its own table line, else (creating)
    // a new child of its parent's destination, else its parent's.
    std::map<std::string, std::int16_t> resolved = {{"", tree.destination}};
    std::function<std::int16_t(const std::string&)> destinationOf = [&](const std::string& dir) -> std::int16_t {
        auto known = resolved.find(dir);
        if (known != resolved.end())
            return known->second;
        std::int16_t id;
        auto listed = table.find(dir);
        if (listed != table.end()) {
            id = listed->second;
        } else {
            std::int16_t parent = destinationOf(ParentOf(dir));
            if (!tree.createSubdirs) {
                id = parent;
            } else {
                std::string name = dir.substr(dir.rfind('/') == std::string::npos ? 0 : dir.rfind('/') + 1);
                if (name.find('|') != std::string::npos || !IsPlainFileName(name))
                    Fail(tree.line, "subdirectory " + dir + " cannot name a destination directory");
                if (nextId < 0)
                    Fail(tree.line, "no destination id is left for subdirectory " + dir);
                id = nextId;
                nextId = nextId == 32767 ? static_cast<std::int16_t>(-1) : static_cast<std::int16_t>(nextId + 1);
                destinations.push_back(ProfileDestination{id, name, parent, ""});
            }
        }
        resolved[dir] = id;
        return id;
    };

    std::vector<KitFile> files;
    for (const std::string& relative : relatives) {
        KitFile f;
        f.name = relative.substr(relative.rfind('/') == std::string::npos ? 0 : relative.rfind('/') + 1);
        f.source = (fs::path(tree.source) / fs::path(relative)).string();
        f.component = tree.component;
        f.archive = tree.archive;
        f.destination = destinationOf(ParentOf(relative));
        f.text = tree.text;
        f.line = tree.line;
        files.push_back(f);
    }
    return files;
}
