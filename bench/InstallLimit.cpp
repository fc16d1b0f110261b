// The practical limit of an install from one kit archive: read the archive,
// inflate every member, write it under its name into one directory and give
// it its recorded time. No window, no log, no registry, no version checks.
//   install_limit reader ARCHIVE DIR   through the product's archive reader
//                                      (4 KiB blocks, checksums, the same
//                                      coders and output files as Setup)
//   install_limit zlib ARCHIVE DIR     zlib directly, 64 KiB buffers, one
//                                      CreateFileA/WriteFile per member
// Prints one line of figures (decoded bytes, members, seconds, peak working
// set). Windows program; built by bench/install-bench.sh.

#define NOMINMAX
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <zlib.h>

#include "archive/ArchiveFormat.h"
#include "archive/FileStatus.h"
#include "archive/MediaMultiFile.h"
#include "framework/Exception.h"

namespace {

struct Result {
    unsigned long long bytes = 0;
    int members = 0;
};

std::string Join(const std::string& dir, const std::string& name) {
    return dir + "\\" + name;
}

// One volume only: the kit is built on one large diskette.
class SingleVolume : public SourceLocator {
public:
    explicit SingleVolume(std::string dir) : dir(std::move(dir)) {}
    bool LocateSourceFile(const std::string&, int) override { return false; }
    std::string SourceDirectory() const override { return dir; }

private:
    std::string dir;
};

Result ThroughReader(const std::string& archivePath, const std::string& dir) {
    const std::size_t slash = archivePath.find_last_of("\\/");
    SingleVolume locator(slash == std::string::npos ? std::string(".") : archivePath.substr(0, slash));
    CMediaMultiFile archive(&locator, nullptr, 1);
    archive.OpenArchive(archivePath);
    CMultiFileEntry entry(&Win32FileStatus());
    Result result;
    while (archive.NextEntry(entry, false)) {
        entry.SetOutputPath(Join(dir, entry.memberName));
        archive.Extract(entry);
        result.bytes += entry.header.DecodedSize();
        ++result.members;
    }
    return result;
}

// Reads the archive after its lead header in large pieces.
class Input {
public:
    explicit Input(const std::string& path) : file(std::fopen(path.c_str(), "rb")) {
        if (!file || std::fseek(file, ArchiveFormat::kLeadHeaderSize, SEEK_SET) != 0)
            throw CFileException(CFileException::fileNotFound, -1, path);
    }
    ~Input() {
        if (file) std::fclose(file);
    }
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;
    std::size_t Read(unsigned char* buffer, std::size_t n) { return std::fread(buffer, 1, n, file); }

private:
    std::FILE* file;
};

void SetTime(HANDLE file, std::int32_t seconds) {
    if (seconds == 0) return;
    ULARGE_INTEGER v;
    v.QuadPart = (static_cast<ULONGLONG>(seconds) + 11644473600ULL) * 10000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = v.LowPart;
    ft.dwHighDateTime = v.HighPart;
    SetFileTime(file, nullptr, nullptr, &ft);
}

void WriteAll(HANDLE file, const unsigned char* data, std::size_t n, const std::string& path) {
    DWORD put = 0;
    if (n && (!WriteFile(file, data, static_cast<DWORD>(n), &put, nullptr) || put != n))
        CFileException::ThrowOsError(static_cast<long>(GetLastError()), path);
}

Result ThroughZlib(const std::string& archivePath, const std::string& dir) {
    Input in(archivePath);
    std::vector<unsigned char> inBuf(65536), outBuf(65536);
    Result result;
    EntryHeader header;
    while (in.Read(header.Bytes(), ArchiveFormat::kEntryHeaderSize) == ArchiveFormat::kEntryHeaderSize) {
        const std::string path = Join(dir, header.Name());
        HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out == INVALID_HANDLE_VALUE) CFileException::ThrowOsError(static_cast<long>(GetLastError()), path);
        std::uint32_t left = header.StoredSize();
        if (header.Method() == 2) {
            while (left) {
                const std::size_t r = in.Read(inBuf.data(), std::min<std::size_t>(left, inBuf.size()));
                if (r == 0) throw CFileException(CFileException::endOfFile, -1, archivePath);
                WriteAll(out, inBuf.data(), r, path);
                left -= static_cast<std::uint32_t>(r);
            }
        } else {
            z_stream z{};
            if (inflateInit(&z) != Z_OK) throw CMemoryException();
            int status = Z_OK;
            while (status != Z_STREAM_END) {
                if (z.avail_in == 0) {
                    const std::size_t r = in.Read(inBuf.data(), std::min<std::size_t>(left, inBuf.size()));
                    if (r == 0) break;
                    left -= static_cast<std::uint32_t>(r);
                    z.next_in = inBuf.data();
                    z.avail_in = static_cast<uInt>(r);
                }
                z.next_out = outBuf.data();
                z.avail_out = static_cast<uInt>(outBuf.size());
                status = inflate(&z, Z_NO_FLUSH);
                if (status != Z_OK && status != Z_STREAM_END) break;
                WriteAll(out, outBuf.data(), outBuf.size() - z.avail_out, path);
            }
            inflateEnd(&z);
            if (status != Z_STREAM_END) {
                CloseHandle(out);
                std::fprintf(stderr, "install_limit: %s does not inflate (%d)\n", header.Name().c_str(), status);
                throw CFileException(CFileException::generic, -1, path);
            }
            // Bytes after the stream's end belong to this member still.
            while (left) {
                const std::size_t r = in.Read(inBuf.data(), std::min<std::size_t>(left, inBuf.size()));
                if (r == 0) break;
                left -= static_cast<std::uint32_t>(r);
            }
        }
        SetTime(out, header.ModTime());
        CloseHandle(out);
        result.bytes += header.DecodedSize();
        ++result.members;
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || (std::strcmp(argv[1], "reader") != 0 && std::strcmp(argv[1], "zlib") != 0)) {
        std::fprintf(stderr, "usage: install_limit reader|zlib ARCHIVE DIR\n");
        return 2;
    }
    try {
        CreateDirectoryA(argv[3], nullptr);
        const DWORD start = GetTickCount();
        const Result r = std::strcmp(argv[1], "reader") == 0 ? ThroughReader(argv[2], argv[3]) : ThroughZlib(argv[2], argv[3]);
        const DWORD ms = GetTickCount() - start;
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
        std::printf("%s: %d members, %llu bytes, %lu ms inside, peak working set %lu KiB\n", argv[1], r.members,
                    r.bytes, static_cast<unsigned long>(ms), static_cast<unsigned long>(counters.PeakWorkingSetSize / 1024));
    } catch (const CException& e) {
        std::fprintf(stderr, "install_limit: failed: %s\n", e.GetRuntimeClass()->className);
        return 1;
    }
    return 0;
}
