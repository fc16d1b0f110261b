#include "tools/kitbuilder/KitBuilder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <atomic>
#include <thread>

#include "archive/ArchiveFormat.h"
#include "archive/MultiFileWriter.h"
#include "framework/Exception.h"
#include "tools/kitbuilder/DeflateOnce.h"
#include "tools/kitbuilder/KitDeflate.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

// "line N: " for a message about what line N of the description says.
std::string At(int line) {
    return line > 0 ? "line " + std::to_string(line) + ": " : std::string();
}

Bytes ReadSource(const std::string& path, int line) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw KitError(At(line) + "cannot read " + path);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Upper(std::string s) {
    for (char& ch : s)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return s;
}

std::string DiskDirName(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "DISK%02d", number);
    return name;
}

// One diskette while it is being filled.
struct Disk {
    std::uint64_t used = 0;  // bytes, or the bytes of the clusters taken on a FAT diskette
    std::uint32_t entries = 0;  // root entries taken (FAT diskettes only)
    std::vector<std::pair<std::string, Bytes>> files;
};

// What a diskette holds: bytes, or on a FAT diskette whole clusters and at
// most so many root entries.
class DiskSpace {
public:
    explicit DiskSpace(std::uint64_t diskSize) : diskSize(diskSize), fat(FatDisketteOf(diskSize)) {}

    std::uint64_t Capacity() const { return fat ? std::uint64_t(fat->clusters) * fat->clusterSize : diskSize; }
    // The room a file of n bytes takes.
    std::uint64_t Charge(std::uint64_t n) const {
        return fat ? (n + fat->clusterSize - 1) / fat->clusterSize * fat->clusterSize : n;
    }
    bool HasEntry(const Disk& d) const { return !fat || d.entries < fat->rootEntries - kLabelRootEntries; }
    // True when a file of n bytes still goes onto the diskette.
    bool Fits(const Disk& d, std::uint64_t n) const { return HasEntry(d) && d.used + Charge(n) <= Capacity(); }
    void Take(Disk& d, std::uint64_t n) const {
        d.used += Charge(n);
        ++d.entries;
    }
    // Bytes a file may still have on the diskette.
    std::uint64_t Free(const Disk& d) const { return HasEntry(d) && d.used < Capacity() ? Capacity() - d.used : 0; }

private:
    std::uint64_t diskSize;
    const FatDiskette* fat;
};

// Volumes go to consecutive diskettes from `first`, the first one sharing
// its diskette with what is already there.
class DiskVolumeOutput : public VolumeOutput {
public:
    DiskVolumeOutput(std::vector<Disk>& disks, const DiskSpace& space, std::string firstName)
        : disks(disks), space(space), name(std::move(firstName)) {}

    void SetFirst(std::size_t disk) { first = disk; }

    // The writer asks for every volume's capacity before it writes the
    // first, so what is already on each diskette is all that counts.
    std::uint64_t VolumeCapacity(int index) override {
        std::size_t d = first + static_cast<std::size_t>(index);
        return d < disks.size() ? space.Free(disks[d]) : space.Capacity();
    }
    void BeginVolume(int index) override {
        std::size_t d = first + static_cast<std::size_t>(index);
        if (index > 0) {
            name = ArchiveFormat::NextVolumeName(name);
            // Setup names the next volume by adding one to the last
            // character without carry: only letters and digits stay valid
            // file names.
            if (!std::isalnum(static_cast<unsigned char>(name.back())))
                throw KitError("archive " + firstName + " needs more volumes than its name allows (next would be " +
                               name + "); start it with a letter, e.g. .AA");
        } else {
            firstName = name;
        }
        while (disks.size() <= d)
            disks.emplace_back();
        disks[d].files.emplace_back(name, Bytes());
        current = &disks[d];
    }
    void Write(const void* data, std::size_t n) override {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        Bytes& volume = current->files.back().second;
        volume.insert(volume.end(), p, p + n);
        // The lead header's last four bytes mean nothing to the reader; a
        // kit carries zeros there so that nothing but the files shapes it.
        if (volume.size() >= ArchiveFormat::kLeadHeaderSize && volume.size() - n < ArchiveFormat::kLeadHeaderSize)
            std::fill(volume.begin() + 4, volume.begin() + ArchiveFormat::kLeadHeaderSize, 0);
    }
    void EndVolume() override { space.Take(*current, current->files.back().second.size()); }

private:
    std::vector<Disk>& disks;
    const DiskSpace& space;
    std::size_t first = 0;
    std::string name;
    std::string firstName;
    Disk* current = nullptr;
};

std::string Label(const KitDescription& kit, int number) {
    for (const ProfileDiskette& d : kit.diskettes)
        if (d.number == number)
            return d.label;
    // The format comes from the description: only "%d" is replaced, it is
    // never handed to printf.
    std::string label = kit.settings.labelFormat;
    std::size_t at = label.find("%d");
    if (at != std::string::npos)
        label.replace(at, 2, std::to_string(number));
    return label;
}

// Deflates the members the jobs name on `threads` threads. A failure is
// reported as the first failing job in job order would be, whatever thread
// met it first.
void DeflateAll(const std::vector<std::pair<std::size_t, std::size_t>>& jobs,
                const std::vector<std::vector<MemberSource>>& membersOf, std::vector<std::vector<Bytes>>& deflatedOf,
                const KitDescription& kit, int threads) {
    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(threads), std::max<std::size_t>(1, jobs.size())));
    std::vector<std::string> errors(jobs.size());
    std::atomic<std::size_t> next{0};
    auto work = [&]() {
        for (std::size_t j; (j = next++) < jobs.size();) {
            const MemberSource& m = membersOf[jobs[j].first][jobs[j].second];
            try {
                deflatedOf[jobs[j].first][jobs[j].second] = KitDeflate(m.data, m.level);
            } catch (const std::exception& e) {
                errors[j] = std::string(e.what()).empty() ? "deflate failed" : e.what();
            }
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();
    for (std::size_t j = 0; j < jobs.size(); ++j)
        if (!errors[j].empty()) {
            const KitArchive& a = kit.archives[jobs[j].first];
            throw KitError(At(a.line) + "archive " + a.name + ": " +
                           membersOf[jobs[j].first][jobs[j].second].name + ": " + errors[j]);
        }
}

}  // namespace

const FatDiskette* FatDisketteOf(std::uint64_t diskSize) {
    // 720 KB: 1440 sectors less the boot sector, two FATs of 3 and a root
    // of 112 entries (7 sectors) leave 713 clusters of 2 sectors; 1.44 MB:
    // 2880 less 1, 2 x 9 and 14 leave 2847 clusters of one sector.
    static const FatDiskette kinds[] = {{737280, 720, 1024, 713, 112}, {1457664, 1440, 512, 2847, 224}};
    for (const FatDiskette& k : kinds)
        if (k.diskSize == diskSize)
            return &k;
    return nullptr;
}

std::string VolumeLabel(const std::string& label) {
    std::string cut = label.substr(0, 11);
    while (!cut.empty() && cut.back() == ' ')
        cut.pop_back();
    return cut;
}

std::uint32_t VolumeLabelEntries(const std::string& label) {
    const std::string cut = VolumeLabel(label);
    if (cut.empty())
        return 0;
    return std::any_of(cut.begin(), cut.end(), [](char c) { return std::islower(static_cast<unsigned char>(c)); }) ? 2
                                                                                                                 : 1;
}

KitResult BuildKit(const KitDescription& kit, const std::string& outputDir, FileStatusPlatform& status,
                   const std::function<void(const std::string&)>& progress, int threads) {
    auto tell = [&](const std::string& line) {
        if (progress)
            progress(line);
    };
    const std::uint64_t diskSize = kit.settings.diskSize;
    const DiskSpace space(diskSize);
    std::vector<Disk> disks(1);
    KitResult result;
    auto heardOf = [&result](std::int64_t time) { result.newestSourceTime = std::max(result.newestSourceTime, time); };
    Bytes setupExe;
    if (!kit.settings.setupExe.empty()) {
        setupExe = ReadSource(kit.settings.setupExe, kit.settings.setupExeLine);
        heardOf(status.GetStatus(kit.settings.setupExe).modTime);
    }
    // DISK01 also carries Setup and its profile; the profile's size is only
    // known at the end, so room is kept for it.
    if (!setupExe.empty())
        space.Take(disks[0], setupExe.size());
    space.Take(disks[0], kit.settings.profileReserve);
    if (disks[0].used >= space.Capacity() || !space.HasEntry(disks[0]))
        throw KitError(At(kit.settings.profileReserveLine ? kit.settings.profileReserveLine : kit.settings.setupExeLine) +
                       "SETUP.EXE and the profile reserve do not fit on one diskette");

    // Every archive's members read in the description's order, then the
    // deflates spread over the threads; the layout below takes them in that
    // same order, so the thread count never shows in the kit.
    std::vector<std::vector<MemberSource>> membersOf(kit.archives.size());
    for (std::size_t a = 0; a < kit.archives.size(); ++a) {
        const KitArchive& archive = kit.archives[a];
        for (const KitFile& file : kit.files) {
            if (Upper(file.archive) != Upper(archive.name))
                continue;
            MemberSource m;
            m.name = file.name;
            m.data = ReadSource(file.source, file.line);
            m.method = archive.method;
            m.level = archive.level;
            tell("reading " + file.name + " (" + std::to_string(m.data.size()) + " bytes)");
            m.destination = file.destination;
            FileStatus s = status.GetStatus(file.source);
            m.modTime = static_cast<std::int32_t>(s.modTime);
            heardOf(s.modTime);
            // Files come out writable: a read-only bit on the build host is
            // an accident of the checkout, not a wish of the product.
            m.attributes = static_cast<std::uint16_t>(s.attributes & ~FileAttribute::readOnly & ~FileAttribute::directory);
            membersOf[a].push_back(std::move(m));
        }
    }
    std::vector<std::vector<Bytes>> deflatedOf(kit.archives.size());
    std::vector<std::pair<std::size_t, std::size_t>> jobs;
    for (std::size_t a = 0; a < membersOf.size(); ++a) {
        deflatedOf[a].resize(membersOf[a].size());
        for (std::size_t k = 0; k < membersOf[a].size(); ++k)
            if (membersOf[a][k].method == ArchiveFormat::kMethodDeflated)
                jobs.emplace_back(a, k);
    }
    DeflateAll(jobs, membersOf, deflatedOf, kit, threads);

    std::map<std::string, std::vector<ProfileSourceFile>> byComponent;
    std::size_t current = 0;

    for (const KitUnit& unit : kit.units) {
        ProfileSourceFile item;
        if (!unit.isArchive) {
            const KitFile& file = kit.files[unit.index];
            if (IsSetupProgram(file.name) && !setupExe.empty()) {
                // Already on DISK01 as the program the user starts; the
                // profile line points there and no room is taken twice.
                if (file.source != kit.settings.setupExe && ReadSource(file.source, file.line) != setupExe)
                    throw KitError(At(file.line) + "[file " + file.name + "] (" + file.source + ") differs from setup_exe (" +
                                   kit.settings.setupExe + "); DISK01 carries a single SETUP.EXE");
                item.name = file.name;
                item.size = static_cast<std::int32_t>(setupExe.size());
                item.kind = 0;
                item.count = 1;
                item.diskette = 1;
                item.destination = file.destination;
                item.text = file.text;
                byComponent[file.component].push_back(item);
                continue;
            }
            Bytes data = ReadSource(file.source, file.line);
            tell("reading " + file.name + " (" + std::to_string(data.size()) + " bytes)");
            heardOf(status.GetStatus(file.source).modTime);
            if (space.Charge(data.size()) > space.Capacity())
                throw KitError(At(file.line) + "file " + file.name + " (" + std::to_string(data.size()) +
                               " bytes) is larger than a diskette; put it into an archive");
            if (!space.Fits(disks[current], data.size()))
                ++current;
            if (disks.size() <= current)
                disks.emplace_back();
            space.Take(disks[current], data.size());
            disks[current].files.emplace_back(file.name, std::move(data));
            ++result.singleFiles;
            result.singleFileBytes += disks[current].files.back().second.size();
            item.name = file.name;
            item.size = static_cast<std::int32_t>(disks[current].files.back().second.size());
            item.kind = 0;
            item.count = 1;
            item.diskette = static_cast<std::int16_t>(current + 1);
            item.destination = file.destination;
            item.text = file.text;
            byComponent[file.component].push_back(item);
            continue;
        }

        const KitArchive& archive = kit.archives[unit.index];
        std::uint64_t decodedTotal = 0;
        int count = 0;
        std::vector<MemberSource>& members = membersOf[unit.index];
        for (const MemberSource& m : members) {
            decodedTotal += m.data.size();
            ++count;
        }
        if (decodedTotal > 2147483647u)
            throw KitError(At(archive.line) + "archive " + archive.name + " holds more than 2 GB");

        DiskVolumeOutput output(disks, space, archive.name);
        // Deflate that does not shrink a file (already compressed data, tiny
        // files) only costs the reader time: such a member is stored. The
        // output deflates each member once, both to decide and to write.
        DeflateOnceOutput once(output);
        CMultiFileWriter writer(once);
        std::size_t first = current;
        try {
            for (std::size_t k = 0; k < members.size(); ++k)
                writer.AddMember(once.Prepare(std::move(members[k]), std::move(deflatedOf[unit.index][k])));
            // Start on a fresh diskette when the current one cannot hold the
            // lead header and the headers that must share the first volume.
            if (!space.Fits(disks[current], writer.FirstVolumeNeed() + 1))
                ++first;
            output.SetFirst(first);
            int volumes = writer.Finish();
            current = first + static_cast<std::size_t>(volumes) - 1;
        } catch (const ArchiveWriteError& e) {
            throw KitError(At(archive.line) + "archive " + archive.name + ": " + e.what());
        } catch (const KitError& e) {
            throw KitError(At(archive.line) + e.what());
        }
        for (std::size_t k = 0; k < writer.Placements().size(); ++k) {
            (once.Method(k) == ArchiveFormat::kMethodDeflated ? result.membersDeflated : result.membersStored) += 1;
            result.memberBytesBefore += once.DecodedSize(k);
            result.memberBytesAfter += writer.Placements()[k].storedSize;
        }
        item.name = archive.name;
        item.size = static_cast<std::int32_t>(decodedTotal);
        item.kind = 1;
        item.count = static_cast<std::int16_t>(count);
        item.diskette = static_cast<std::int16_t>(first + 1);
        item.destination = 0;
        item.text = archive.text;
        byComponent[archive.component].push_back(item);
        for (std::size_t k = 0; k < writer.Placements().size(); ++k) {
            const MemberPlacement& p = writer.Placements()[k];
            result.listing.push_back("  " + archive.name + ": " + p.name + " " + std::to_string(once.DecodedSize(k)) + " -> " +
                                     std::to_string(p.storedSize) + " bytes, diskette " +
                                     std::to_string(first + 1 + static_cast<std::size_t>(p.firstVolume)) +
                                     (p.lastVolume != p.firstVolume
                                          ? "-" + std::to_string(first + 1 + static_cast<std::size_t>(p.lastVolume))
                                          : std::string()));
        }
    }
    if (disks.size() > 99)
        throw KitError("the kit needs " + std::to_string(disks.size()) + " diskettes; at most 99 are numbered");

    InstallProfile& profile = result.profile;
    profile.destinations = kit.destinations;
    profile.components = kit.components;
    profile.targets = kit.targets;
    for (const ProfileComponent& c : kit.components)
        profile.componentFiles.emplace_back(c.key, byComponent[c.key]);
    for (std::size_t d = 0; d < disks.size(); ++d) {
        ProfileDiskette diskette;
        diskette.number = static_cast<std::int32_t>(d + 1);
        diskette.label = Label(kit, diskette.number);
        for (const ProfileDiskette& given : kit.diskettes)
            if (given.number == diskette.number)
                diskette.text = given.text;
        profile.diskettes.push_back(diskette);
    }
    result.profileText = WriteInstallProfile(profile);
    if (result.profileText.size() > kit.settings.profileReserve)
        throw KitError(At(kit.settings.profileReserveLine) + "the profile needs " + std::to_string(result.profileText.size()) +
                       " bytes; raise profile_reserve (now " + std::to_string(kit.settings.profileReserve) + ")");

    // Never mix with an older kit: its extra diskettes or files would be
    // taken for this one's.
    if (fs::exists(fs::path(outputDir) / DiskDirName(1)))
        throw KitError(outputDir + " already holds a kit (DISK01); write into an empty directory");
    std::error_code error;
    for (std::size_t d = 0; d < disks.size(); ++d) {
        KitDiskette written;
        written.number = static_cast<int>(d + 1);
        written.label = profile.diskettes[d].label;
        written.capacity = diskSize;
        const FatDiskette* fat = FatDisketteOf(diskSize);
        fs::path dir = fs::path(outputDir) / DiskDirName(static_cast<int>(d + 1));
        fs::create_directories(dir, error);
        if (error)
            throw KitError("cannot create " + dir.string() + ": " + error.message());
        tell("writing " + DiskDirName(static_cast<int>(d + 1)) + " (" + std::to_string(d + 1) + " of " +
             std::to_string(disks.size()) + ")");
        auto put = [&](const std::string& name, const void* data, std::size_t n) {
            fs::path path = dir / name;
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(static_cast<const char*>(data), static_cast<std::streamsize>(n));
            out.close();
            if (!out)
                throw KitError("cannot write " + path.string());
            result.listing.push_back(DiskDirName(static_cast<int>(d + 1)) + "/" + name + " " + std::to_string(n));
            written.files.emplace_back(name, n);
            written.bytes += n;
            if (fat) {
                written.clusters += static_cast<std::uint32_t>((n + fat->clusterSize - 1) / fat->clusterSize);
                ++written.rootEntries;
            }
        };
        if (d == 0) {
            if (!setupExe.empty())
                put("SETUP.EXE", setupExe.data(), setupExe.size());
            put(kit.settings.profileName, result.profileText.data(), result.profileText.size());
        }
        for (const auto& [name, data] : disks[d].files)
            put(name, data.data(), data.size());
        if (fat)
            written.rootEntries += VolumeLabelEntries(written.label);
        result.disks.push_back(written);
    }
    result.diskettes = static_cast<int>(disks.size());
    return result;
}

namespace {

// "12.3%" of part in whole, rounded down to a tenth so that a diskette
// shown as 100.0% is full to the byte.
std::string Percent(std::uint64_t part, std::uint64_t whole) {
    if (whole == 0)
        return "0.0%";
    std::uint64_t tenths = part * 1000 / whole;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%";
}

}  // namespace

std::vector<std::string> KitSummary(const KitResult& result) {
    std::vector<std::string> lines;
    lines.push_back(std::to_string(result.disks.size()) + " diskette(s):");
    for (const KitDiskette& d : result.disks) {
        std::string line = "  " + DiskDirName(d.number) + "  " + std::to_string(d.files.size()) + " file(s), ";
        if (const FatDiskette* fat = FatDisketteOf(d.capacity))
            line += std::to_string(d.bytes) + " bytes, " + std::to_string(d.clusters) + " of " +
                    std::to_string(fat->clusters) + " clusters (" + Percent(d.clusters, fat->clusters) + "), " +
                    std::to_string(d.rootEntries) + " of " + std::to_string(fat->rootEntries) + " root entries";
        else
            line += std::to_string(d.bytes) + " of " + std::to_string(d.capacity) + " bytes used (" +
                    Percent(d.bytes, d.capacity) + ")";
        lines.push_back(line);
    }
    const int members = result.membersStored + result.membersDeflated;
    lines.push_back(std::to_string(members) + " member(s): " + std::to_string(result.membersDeflated) + " deflated, " +
                    std::to_string(result.membersStored) + " stored; " + std::to_string(result.memberBytesBefore) +
                    " bytes before, " + std::to_string(result.memberBytesAfter) + " after (" +
                    Percent(result.memberBytesAfter, result.memberBytesBefore) + ")");
    lines.push_back(std::to_string(result.singleFiles) + " single file(s): " + std::to_string(result.singleFileBytes) +
                    " bytes");
    return lines;
}
