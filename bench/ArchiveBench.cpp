// Benchmark of the archive reader and its coders against the limit, zlib's
// own inflate of the same streams. Three modes, each run as its own process
// so that each reports its own peak memory:
//   archive_bench gen DIR [MB]   writes a mixed payload as diskette volumes
//   archive_bench extract DIR    extracts every member through CMediaMultiFile
//   archive_bench inflate DIR    inflates the same stored streams with zlib
//                                directly (64 KiB buffers, minigzip style)
//   archive_bench files DIR [MB]  writes the same payload as separate source
//                                files and a kit description for tvkit
// Prints figures only; nothing is asserted.

#ifdef _WIN32
#define NOMINMAX
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <zlib.h>

#include "archive/ArchiveFormat.h"
#include "archive/MediaMultiFile.h"
#include "archive/MultiFileWriter.h"
#include "framework/Exception.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kDiskSize = 1457664;

long PeakKiB() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

#ifdef _WIN32
const char kNullDevice[] = "NUL";
#else
const char kNullDevice[] = "/dev/null";
#endif

Bytes Mixed(std::size_t n, std::uint32_t seed, int kind) {
    Bytes out(n);
    std::uint32_t x = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < n; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        switch (kind) {
        case 0: out[i] = static_cast<unsigned char>(x); break;  // incompressible (images, packed code)
        case 1: out[i] = static_cast<unsigned char>("ATOM  HETATM 0123456789 .-\n"[x % 27]); break;  // molecule text
        default: out[i] = static_cast<unsigned char>(i % 251 < 40 ? x : i % 7); break;  // code-like
        }
    }
    return out;
}

std::string DiskDir(const std::string& root, int d) {
    char name[16];
    std::snprintf(name, sizeof name, "DISK%02d", d);
    return root + "/" + name;
}

class Disks : public VolumeOutput {
public:
    explicit Disks(std::string root) : root(std::move(root)) {}
    std::uint64_t VolumeCapacity(int) override { return kDiskSize; }
    void BeginVolume(int index) override {
        std::filesystem::create_directories(DiskDir(root, index + 1));
        name = index == 0 ? "DATA.AA" : ArchiveFormat::NextVolumeName(name);
        out.open(DiskDir(root, index + 1) + "/" + name, std::ios::binary | std::ios::trunc);
    }
    void Write(const void* data, std::size_t n) override { out.write(static_cast<const char*>(data), static_cast<std::streamsize>(n)); }
    void EndVolume() override { out.close(); }

private:
    std::string root;
    std::string name;
    std::ofstream out;
};

class Locator : public SourceLocator {
public:
    explicit Locator(std::string root) : root(std::move(root)) {}
    bool LocateSourceFile(const std::string&, int diskette) override {
        current = DiskDir(root, diskette);
        return std::filesystem::exists(current);
    }
    std::string SourceDirectory() const override { return current; }
    std::string root;
    std::string current;
};

class NoStatus : public FileStatusPlatform {
public:
    FileStatus GetStatus(const std::string&) override { return {}; }
    void SetStatus(const std::string&, const FileStatus&, const FileStatus&) override {}
};

int Generate(const std::string& root, int megabytes) {
    std::filesystem::remove_all(root);
    Disks disks(root);
    CMultiFileWriter writer(disks);
    std::uint64_t total = 0;
    std::uint64_t target = static_cast<std::uint64_t>(megabytes) << 20;
    for (int i = 0; total < target; ++i) {
        MemberSource m;
        m.name = "MEMBER" + std::to_string(i) + ".DAT";
        std::size_t size = 100000 + static_cast<std::size_t>((i * 7919) % 900000);
        m.data = Mixed(std::min<std::uint64_t>(size, target - total), static_cast<std::uint32_t>(i), i % 3);
        m.method = i % 10 == 9 ? 2 : 4;
        m.level = 9;
        total += m.data.size();
        writer.AddMember(m);
    }
    int volumes = writer.Finish();
    std::uint64_t stored = 0;
    for (const MemberPlacement& p : writer.Placements())
        stored += p.storedSize;
    std::printf("payload: %.1f MB in %zu members, %.1f MB stored, %d diskette volumes\n", total / 1048576.0,
                writer.Placements().size(), stored / 1048576.0, volumes);
    return 0;
}

// The payload of Generate as separate files with a kit description, so that
// tvkit and gzip can be timed on exactly the same bytes.
int Files(const std::string& root, int megabytes) {
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root + "/src");
    std::ofstream kit(root + "/kit.ini", std::ios::binary);
    kit << "[kit]\n[destinations]\n0 = BENCH|-1|\n[groups]\nBench = Bench|Bench|1|1|1\n"
           "[archive DATA.AA]\ncomponent = Bench\nlevel = 9\n";
    std::uint64_t total = 0;
    std::uint64_t target = static_cast<std::uint64_t>(megabytes) << 20;
    for (int i = 0; total < target; ++i) {
        std::string name = "M" + std::to_string(i) + ".DAT";
        std::size_t size = 100000 + static_cast<std::size_t>((i * 7919) % 900000);
        Bytes data = Mixed(std::min<std::uint64_t>(size, target - total), static_cast<std::uint32_t>(i), i % 3);
        std::ofstream(root + "/src/" + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        kit << "[file " << name << "]\nsource = src/" << name << "\narchive = DATA.AA\n";
        total += data.size();
    }
    std::printf("payload: %.1f MB of source files in %s/src\n", total / 1048576.0, root.c_str());
    return 0;
}

int Extract(const std::string& root) {
    Locator locator(root);
    locator.current = DiskDir(root, 1);
    NoStatus status;
    auto start = Clock::now();
    CMediaMultiFile archive(&locator, nullptr, 1);
    archive.OpenArchive(locator.current + "/DATA.AA");
    CMultiFileEntry entry(&status);
    std::uint64_t decoded = 0;
    int members = 0;
    while (archive.NextEntry(entry, false)) {
        entry.SetOutputPath(kNullDevice);
        archive.Extract(entry);
        decoded += entry.header.DecodedSize();
        ++members;
    }
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("reader:  %d members, %.1f MB out in %.3f s = %.1f MB/s, stored read %.1f MB/s, peak %ld KiB\n",
                members, decoded / 1048576.0, seconds, decoded / 1048576.0 / seconds,
                archive.readCount / 1048576.0 / seconds, PeakKiB());
    return 0;
}

// The same stored streams through zlib directly: read with large buffers,
// inflate, no tracking, no checksum. The limit of what the reader could do.
int Inflate(const std::string& root) {
    auto start = Clock::now();
    // Join the volumes' bytes after their lead headers, as the reader sees them.
    std::vector<std::string> paths;
    std::string name = "DATA.AA";
    for (int d = 1; std::filesystem::exists(DiskDir(root, d) + "/" + name); ++d) {
        paths.push_back(DiskDir(root, d) + "/" + name);
        name = ArchiveFormat::NextVolumeName(name);
    }
    std::size_t volume = 0;
    std::FILE* in = nullptr;
    auto read = [&](unsigned char* buffer, std::size_t n) -> std::size_t {
        std::size_t got = 0;
        while (got < n) {
            if (!in) {
                if (volume >= paths.size())
                    break;
                in = std::fopen(paths[volume++].c_str(), "rb");
                std::fseek(in, 8, SEEK_SET);
            }
            std::size_t r = std::fread(buffer + got, 1, n - got, in);
            got += r;
            if (r == 0) {
                std::fclose(in);
                in = nullptr;
            }
        }
        return got;
    };
    std::FILE* out = std::fopen(kNullDevice, "wb");
    std::vector<unsigned char> inBuf(65536), outBuf(65536);
    std::uint64_t decoded = 0;
    int members = 0;
    EntryHeader header;
    while (read(header.Bytes(), ArchiveFormat::kEntryHeaderSize) == ArchiveFormat::kEntryHeaderSize) {
        std::uint32_t left = header.StoredSize();
        ++members;
        if (header.Method() == 2) {
            while (left) {
                std::size_t r = read(inBuf.data(), std::min<std::size_t>(left, inBuf.size()));
                std::fwrite(inBuf.data(), 1, r, out);
                left -= static_cast<std::uint32_t>(r);
                decoded += r;
            }
            continue;
        }
        z_stream z{};
        inflateInit(&z);
        int result = Z_OK;
        while (result != Z_STREAM_END && (left || z.avail_in)) {
            if (z.avail_in == 0) {
                std::size_t r = read(inBuf.data(), std::min<std::size_t>(left, inBuf.size()));
                left -= static_cast<std::uint32_t>(r);
                z.next_in = inBuf.data();
                z.avail_in = static_cast<uInt>(r);
            }
            z.next_out = outBuf.data();
            z.avail_out = static_cast<uInt>(outBuf.size());
            result = inflate(&z, Z_NO_FLUSH);
            if (result != Z_OK && result != Z_STREAM_END) {
                std::fprintf(stderr, "inflate failed: %d\n", result);
                return 1;
            }
            std::fwrite(outBuf.data(), 1, outBuf.size() - z.avail_out, out);
        }
        decoded += z.total_out;
        inflateEnd(&z);
        while (left) {  // anything after the stream's end
            std::size_t r = read(inBuf.data(), std::min<std::size_t>(left, inBuf.size()));
            left -= static_cast<std::uint32_t>(r);
        }
    }
    std::fclose(out);
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("zlib:    %d members, %.1f MB out in %.3f s = %.1f MB/s, peak %ld KiB\n", members,
                decoded / 1048576.0, seconds, decoded / 1048576.0 / seconds, PeakKiB());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: archive_bench gen|extract|inflate|files DIR [MB]\n");
        return 2;
    }
    std::string mode = argv[1];
    try {
        if (mode == "gen")
            return Generate(argv[2], argc > 3 ? std::atoi(argv[3]) : 20);
        if (mode == "extract")
            return Extract(argv[2]);
        if (mode == "inflate")
            return Inflate(argv[2]);
        if (mode == "files")
            return Files(argv[2], argc > 3 ? std::atoi(argv[3]) : 20);
    } catch (const CException& e) {
        std::fprintf(stderr, "failed: %s\n", e.GetRuntimeClass()->className);
        return 1;
    }
    return 2;
}
