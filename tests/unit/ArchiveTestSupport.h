#pragma once
// Fixtures for the archive tests, built by code: a scratch directory per
// test, volumes written by the writer, a fake volume locator, a fake file
// status platform and seeded payloads. Used by the unit and wine tiers.

#include <cctype>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "archive/ArchiveFormat.h"
#include "archive/FileStatus.h"
#include "archive/MediaMultiFile.h"
#include "archive/MultiFile.h"
#include "archive/MultiFileWriter.h"

namespace archive_test {

using Bytes = std::vector<unsigned char>;

// A fresh directory named after the running test; removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        static int serial = 0;
        std::string name = std::string("tvs_") + info->test_suite_name() + "_" + info->name() + "_" +
                           std::to_string(++serial);
        for (char& c : name)
            if (c == '/')
                c = '_';
        path = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string Dir(const std::string& sub = {}) const {
        auto p = sub.empty() ? path : path / sub;
        std::filesystem::create_directories(p);
        return p.string();
    }
    std::string File(const std::string& name) const { return (path / name).string(); }

    std::filesystem::path path;
};

// Deterministic bytes: a mix of text-like runs (compressible) and noise.
inline Bytes Payload(std::size_t n, std::uint32_t seed, bool compressible = true) {
    Bytes out(n);
    std::uint32_t x = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < n; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out[i] = compressible ? static_cast<unsigned char>("ATOM  HETATM CONECT 0123456789 .\n"[x % 33])
                              : static_cast<unsigned char>(x);
    }
    return out;
}

inline void WriteFile(const std::string& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline MemberSource Member(const std::string& name, Bytes data, std::int32_t method = 4,
                           std::int16_t destination = 0) {
    MemberSource m;
    m.name = name;
    m.data = std::move(data);
    m.method = method;
    m.destination = destination;
    m.modTime = 820454400;  // 1996-01-01 00:00 UTC
    return m;
}

// Writes each volume into its diskette directory dirs[i], named firstName,
// then the following names (last character one higher).
inline std::vector<std::string> StoreVolumes(const std::vector<Bytes>& volumes, const std::vector<std::string>& dirs,
                                             const std::string& firstName) {
    std::vector<std::string> paths;
    std::string name = firstName;
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(name.back()))) << "volume name " << name;
        paths.push_back(ArchiveFormat::JoinPath(dirs.at(i), name));
        WriteFile(paths.back(), volumes[i]);
        name = ArchiveFormat::NextVolumeName(name);
    }
    return paths;
}

// Answers LocateSourceFile from a table of diskette directories.
class FakeLocator : public SourceLocator {
public:
    bool LocateSourceFile(const std::string& fileName, int diskette) override {
        calls.push_back(fileName + "@" + std::to_string(diskette));
        auto it = diskDirs.find(diskette);
        if (it == diskDirs.end() || !std::filesystem::exists(ArchiveFormat::JoinPath(it->second, fileName)))
            return false;
        current = it->second;
        return true;
    }
    std::string SourceDirectory() const override { return current; }

    std::map<int, std::string> diskDirs;
    std::string current;
    std::vector<std::string> calls;
};

class CountingSink : public ProgressSink {
public:
    void OnProgress() override { ++ticks; }
    int ticks = 0;
};

// Reads sizes from the real file and records what would be set.
class FakeFileStatus : public FileStatusPlatform {
public:
    FileStatus GetStatus(const std::string& path) override {
        FileStatus s;
        s.size = std::filesystem::file_size(path);
        s.modTime = 1000;
        s.accessTime = 2000;
        s.attributes = FileAttribute::archive;
        return s;
    }
    void SetStatus(const std::string& path, const FileStatus& status, const FileStatus& current) override {
        applied[path] = status;
        before[path] = current;
    }
    std::map<std::string, FileStatus> applied;
    std::map<std::string, FileStatus> before;
};

struct Extracted {
    std::string name;
    std::int16_t destination;
    Bytes data;
};

// A kit of diskette directories DISK01.. holding one archive's volumes.
struct Kit {
    explicit Kit(const ScratchDir& scratch) : scratch(scratch) {}

    std::string Build(const std::vector<MemberSource>& members, std::uint64_t capacity) {
        MemoryVolumeOutput out(capacity);
        CMultiFileWriter writer(out);
        for (const MemberSource& m : members)
            writer.AddMember(m);
        writer.Finish();
        placements = writer.Placements();
        return Store(out.volumes);
    }

    std::string Store(const std::vector<Bytes>& volumes) {
        std::vector<std::string> dirs;
        for (std::size_t i = 0; i < volumes.size(); ++i) {
            char disk[16];
            std::snprintf(disk, sizeof disk, "DISK%02d", static_cast<int>(i + 1));
            dirs.push_back(scratch.Dir(disk));
            locator.diskDirs[static_cast<int>(i + 1)] = dirs.back();
        }
        locator.current = dirs.at(0);
        volumeCount = volumes.size();
        // Digits give nine volumes before the name runs out; letters 26.
        return StoreVolumes(volumes, dirs, volumes.size() <= 9 ? "DATA.A1" : "DATA.AA").at(0);
    }

    std::vector<Extracted> ExtractAll(const std::string& first, ProgressSink* sink = nullptr) {
        CMediaMultiFile archive(&locator, sink, 1);
        archive.OpenArchive(first);
        CMultiFileEntry entry(&status);
        std::vector<Extracted> out;
        int index = 0;
        while (archive.NextEntry(entry, false)) {
            Extracted e{entry.memberName, entry.header.Destination(), {}};
            // Members that are not installed are left unread: the next
            // NextEntry must pass over their bytes by itself.
            if (e.destination != ArchiveFormat::kDestNotInstalled) {
                entry.SetOutputPath(scratch.File("out" + std::to_string(index++)));
                archive.Extract(entry);
                e.data = ReadFile(entry.GetOutputPath());
            }
            out.push_back(std::move(e));
        }
        lastDiskette = archive.diskette;
        return out;
    }

    const ScratchDir& scratch;
    FakeLocator locator;
    FakeFileStatus status;
    std::vector<MemberPlacement> placements;
    std::size_t volumeCount = 0;
    int lastDiskette = 0;
};

inline void ExpectSame(const std::vector<MemberSource>& members, const std::vector<Extracted>& got) {
    ASSERT_EQ(got.size(), members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
        SCOPED_TRACE("member " + std::to_string(i) + " " + members[i].name);
        EXPECT_EQ(got[i].name, members[i].name);
        EXPECT_EQ(got[i].destination, members[i].destination);
        if (members[i].destination != ArchiveFormat::kDestNotInstalled) {
            EXPECT_TRUE(got[i].data == members[i].data) << "sizes " << got[i].data.size() << " vs "
                                                        << members[i].data.size();
        }
    }
}

}  // namespace archive_test
