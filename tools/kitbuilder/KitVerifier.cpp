#include "tools/kitbuilder/KitVerifier.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include <zlib.h>

#include "archive/ArchiveFormat.h"
#include "archive/MemberChecksum.h"
#include "support/FilePath.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;
using namespace ArchiveFormat;

std::string Upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

std::string DiskName(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "DISK%02d", number);
    return name;
}

bool ReadAll(const fs::path& path, Bytes& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// Finds a file in a diskette directory regardless of case, as a FAT
// diskette would.
bool FindOnDisk(const fs::path& dir, const std::string& name, fs::path& found) {
    std::error_code error;
    if (!fs::is_directory(dir, error))
        return false;
    for (const auto& entry : fs::directory_iterator(dir, error))
        if (Upper(entry.path().filename().string()) == Upper(name)) {
            found = entry.path();
            return true;
        }
    return false;
}

bool ParseInt(const std::string& text, long long& value) {
    std::string t = Trim(text);
    std::size_t i = (!t.empty() && t[0] == '-') ? 1 : 0;
    if (i == t.size() || t.size() > 12)
        return false;
    for (std::size_t k = i; k < t.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(t[k])))
            return false;
    value = std::stoll(t);
    return true;
}

struct ProfileLine {
    int line;
    std::string key;
    std::vector<std::string> fields;
};

// Section name (upper case) -> its lines in file order.
std::map<std::string, std::vector<ProfileLine>> ParseProfile(const std::string& text) {
    std::map<std::string, std::vector<ProfileLine>> sections;
    std::string section;
    std::size_t pos = 0;
    int lineNo = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::string line = Trim(text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos));
        pos = nl == std::string::npos ? text.size() : nl + 1;
        ++lineNo;
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[' && line.back() == ']') {
            section = Upper(Trim(line.substr(1, line.size() - 2)));
            sections[section];
            continue;
        }
        std::size_t eq = line.find('=');
        ProfileLine p{lineNo, Trim(line.substr(0, eq)), {}};
        std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
        std::size_t start = 0;
        for (;;) {
            std::size_t bar = value.find('|', start);
            p.fields.push_back(Trim(value.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
            if (bar == std::string::npos)
                break;
            start = bar + 1;
        }
        sections[section].push_back(p);
    }
    return sections;
}

struct ArchiveSummary {
    bool readable = false;
    std::uint64_t decodedTotal = 0;
    int members = 0;
    std::vector<std::pair<std::string, std::int16_t>> memberDestinations;  // name, destination
};

class Checker {
public:
    Checker(const std::string& kitDir, const std::function<void(const std::string&)>& progress)
        : root(kitDir), progress(progress) {}

    void Problem(const std::string& text) { result.problems.push_back(text); }
    void Progress(const std::string& text) {
        if (progress)
            progress(text);
    }

    // Walks an archive from its first volume like the reader: a volume is a
    // lead header and members; a continued member's stored bytes go on in
    // the next volume (last character one higher) on the next diskette.
    ArchiveSummary WalkArchive(const std::string& firstName, int diskette) {
        ArchiveSummary summary;
        std::string name = firstName;
        int disk = diskette;
        Bytes volume;
        std::string where;
        std::size_t pos = 0;
        auto openVolume = [&]() -> bool {
            where = DiskName(disk) + "/" + name;
            fs::path path;
            if (!FindOnDisk(root / DiskName(disk), name, path) || !ReadAll(path, volume)) {
                Problem(where + ": volume is missing");
                return false;
            }
            Progress("verifying " + where);
            if (volume.size() < kLeadHeaderSize || !HasLeadMagic(volume.data())) {
                Problem(where + ": no lead header (not an archive volume)");
                return false;
            }
            pos = kLeadHeaderSize;
            return true;
        };
        if (!openVolume())
            return summary;
        summary.readable = true;
        for (int index = 1;; ++index) {
            std::size_t left = volume.size() - pos;
            if (left == 0)
                break;
            if (left < kEntryHeaderSize) {
                Problem(where + " at offset " + std::to_string(pos) + ": " + std::to_string(left) +
                        " bytes after member " + std::to_string(index - 1) +
                        " are not a whole header (volume cut short?)");
                summary.readable = false;
                break;
            }
            EntryHeader h;
            std::copy(volume.begin() + static_cast<long>(pos), volume.begin() + static_cast<long>(pos + kEntryHeaderSize),
                      h.Bytes());
            std::string member = "member " + std::to_string(index);
            if (!h.HasMagic()) {
                Problem(where + " at offset " + std::to_string(pos) + ", " + member + ": no entry header there");
                summary.readable = false;
                break;
            }
            member += " '" + h.Name() + "'";
            const std::string headerAt = where + " at offset " + std::to_string(pos);
            pos += kEntryHeaderSize;
            bool headerSound = true;
            if (h.Name().empty() || h.Version() != 1 || h.HeaderSize() != kEntryHeaderSize) {
                Problem(headerAt + ", " + member + ": damaged header (name, version or header size)");
                headerSound = false;
            }
            // Setup installs a member under the file-name part of its name
            // and refuses one it cannot create in the destination directory.
            if (!h.Name().empty() && !IsPlainFileName(FileNameAsWritten(h.Name())))
                Problem(headerAt + ", " + member + ": Setup refuses this name (a device, \".\", \"..\", a "
                                                   "wildcard, or a trailing dot or blank)");
            if (h.Method() != kMethodStored && h.Method() != kMethodDeflated) {
                Problem(headerAt + ", " + member + ": unknown method " + std::to_string(h.Method()));
                headerSound = false;
            }
            // Gather the stored bytes, moving on like the reader when a
            // continued member runs past its volume's end.
            Bytes stored;
            std::string spans = where;
            bool complete = true;
            std::uint32_t want = h.StoredSize();
            for (;;) {
                std::size_t take = std::min<std::size_t>(want - stored.size(), volume.size() - pos);
                stored.insert(stored.end(), volume.begin() + static_cast<long>(pos),
                              volume.begin() + static_cast<long>(pos + take));
                pos += take;
                if (stored.size() == want)
                    break;
                if (!h.Continued()) {
                    Problem(where + ", " + member + ": stored bytes end after " + std::to_string(stored.size()) +
                            " of " + std::to_string(want) + " (volume cut short or size damaged)");
                    complete = false;
                    break;
                }
                name = NextVolumeName(name);
                ++disk;
                if (!openVolume()) {
                    complete = false;
                    break;
                }
                spans += ", " + where;
            }
            ++summary.members;
            summary.decodedTotal += h.DecodedSize();
            summary.memberDestinations.emplace_back(h.Name(), h.Destination());
            if (!complete) {
                summary.readable = false;
                break;
            }
            if (headerSound)
                CheckMember(h, stored, member + " in " + spans);
        }
        // A volume the reader never reaches is a sign of damage too.
        std::string next = NextVolumeName(name);
        fs::path stray;
        if (summary.readable && FindOnDisk(root / DiskName(disk + 1), next, stray))
            Problem(DiskName(disk + 1) + "/" + next + ": volume follows " + where + " but is never reached");
        return summary;
    }

    void CheckMember(const EntryHeader& h, const Bytes& stored, const std::string& what) {
        Bytes decoded;
        if (h.Method() == kMethodStored) {
            decoded = stored;
        } else {
            decoded.resize(h.DecodedSize());
            uLongf size = static_cast<uLongf>(decoded.size());
            // A zero-length member still carries a zlib stream.
            Bytes scratch(1);
            unsigned char* out = decoded.empty() ? scratch.data() : decoded.data();
            uLongf room = decoded.empty() ? 1 : size;
            uLong sourceLen = static_cast<uLong>(stored.size());
            int r = uncompress2(out, &room, stored.data(), &sourceLen);
            if (r != Z_OK || room != size || (decoded.empty() && room != 0)) {
                Problem(what + ": deflated data is damaged (zlib result " + std::to_string(r) + ")");
                return;
            }
        }
        if (decoded.size() != h.DecodedSize()) {
            Problem(what + ": decodes to " + std::to_string(decoded.size()) + " bytes, header says " +
                    std::to_string(h.DecodedSize()));
            return;
        }
        std::uint32_t sum = UpdateMemberChecksum(0, decoded.data(), decoded.size());
        if (h.Checksum() != 0 && sum != h.Checksum()) {
            char text[64];
            std::snprintf(text, sizeof text, "checksum %08X, header says %08X", static_cast<unsigned>(sum),
                          static_cast<unsigned>(h.Checksum()));
            Problem(what + ": " + text);
        }
    }

    fs::path root;
    const std::function<void(const std::string&)>& progress;
    KitVerifyResult result;
};

}  // namespace

KitVerifyResult VerifyKit(const std::string& kitDir, const std::string& profileName,
                          const std::function<void(const std::string&)>& progress) {
    Checker c(kitDir, progress);
    fs::path profilePath;
    Bytes profileBytes;
    if (!FindOnDisk(c.root / DiskName(1), profileName, profilePath) || !ReadAll(profilePath, profileBytes)) {
        c.Problem(DiskName(1) + "/" + profileName + ": the install profile is missing");
        return c.result;
    }
    const std::string where = DiskName(1) + "/" + profileName;
    auto sections = ParseProfile(std::string(profileBytes.begin(), profileBytes.end()));

    // Destinations: every chain of parents must end at -1 or a predefined
    // directory without meeting itself.
    std::map<long long, long long> parentOf;
    for (const ProfileLine& p : sections["DESTINATIONS"]) {
        long long id = 0, parent = -1;
        if (!ParseInt(p.key, id) || (p.fields.size() > 1 && !p.fields[1].empty() && !ParseInt(p.fields[1], parent)))
            c.Problem(where + " line " + std::to_string(p.line) + ": destination '" + p.key + "' is not numeric");
        parentOf[id] = parent;
    }
    if (!parentOf.count(0))
        c.Problem(where + ": [destinations] has no main directory 0");
    auto resolves = [&](long long id) {
        std::set<long long> seen;
        while (id >= 0) {
            auto it = parentOf.find(id);
            if (it == parentOf.end() || !seen.insert(id).second)
                return false;
            id = it->second;
        }
        return id >= -4;
    };
    for (const auto& [id, parent] : parentOf)
        if (!resolves(id))
            c.Problem(where + ": destination " + std::to_string(id) + " does not resolve (unknown parent or a cycle)");
    auto destinationKnown = [&](long long id) { return id == -1 || (id < -1 && id >= -4) || parentOf.count(id); };

    std::set<int> disketteLabels;
    for (const ProfileLine& p : sections["DISKETTES"]) {
        long long n = 0;
        if (ParseInt(p.key, n))
            disketteLabels.insert(static_cast<int>(n));
    }

    for (const ProfileLine& group : sections["GROUPS"]) {
        std::string section = Upper(group.key);
        if (!sections.count(section)) {
            c.Problem(where + ": component " + group.key + " has no section");
            continue;
        }
        for (const ProfileLine& p : sections[section]) {
            std::string at = where + " line " + std::to_string(p.line) + " (" + p.key + ")";
            long long size = 0, kind = 0, count = 0, diskette = 0, destination = 0;
            if (p.fields.size() < 5 || !ParseInt(p.fields[0], size) || !ParseInt(p.fields[1], kind) ||
                !ParseInt(p.fields[2], count) || !ParseInt(p.fields[3], diskette) || !ParseInt(p.fields[4], destination)) {
                c.Problem(at + ": fields are not size|kind|count|diskette|destination|text");
                continue;
            }
            int disk = static_cast<int>(diskette < 0 ? -diskette : diskette);
            // A source named like a device is refused before it is opened.
            if (IsDeviceName(FileNameAsWritten(p.key))) {
                c.Problem(at + ": Setup refuses a source file named like a device");
                continue;
            }
            if (!disketteLabels.count(disk))
                c.Problem(at + ": diskette " + std::to_string(disk) + " has no line in [diskettes]");
            if (kind == 1) {
                ++c.result.archives;
                ArchiveSummary s = c.WalkArchive(p.key, disk);
                c.result.members += s.members;
                if (!s.readable)
                    continue;
                if (static_cast<long long>(s.decodedTotal) != size)
                    c.Problem(at + ": size " + std::to_string(size) + " but the archive's members hold " +
                              std::to_string(s.decodedTotal) + " bytes");
                if (s.members != count)
                    c.Problem(at + ": count " + std::to_string(count) + " but the archive holds " +
                              std::to_string(s.members) + " members");
                for (const auto& [member, dest] : s.memberDestinations)
                    if (!destinationKnown(dest))
                        c.Problem(DiskName(disk) + "/" + p.key + ", member '" + member + "': destination " +
                                  std::to_string(dest) + " is not in [destinations]");
            } else if (kind == 0) {
                ++c.result.singleFiles;
                fs::path path;
                if (!FindOnDisk(c.root / DiskName(disk), p.key, path)) {
                    c.Problem(at + ": not on " + DiskName(disk));
                    continue;
                }
                c.Progress("verifying " + DiskName(disk) + "/" + p.key);
                std::error_code error;
                std::uintmax_t actual = fs::file_size(path, error);
                if (error || static_cast<long long>(actual) != size)
                    c.Problem(at + ": size " + std::to_string(size) + " but " + DiskName(disk) + "/" + p.key +
                              " has " + std::to_string(actual) + " bytes");
                if (count != 1)
                    c.Problem(at + ": a single file installs 1 file, not " + std::to_string(count));
                if (!destinationKnown(destination))
                    c.Problem(at + ": destination " + std::to_string(destination) + " is not in [destinations]");
            } else {
                c.Problem(at + ": kind must be 0 (file) or 1 (archive)");
            }
        }
    }
    return c.result;
}
