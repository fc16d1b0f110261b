#pragma once
// The writer of multi-file archives, the reader's inverse; used by the kit
// builder and by tests to make fixtures. Members are stored (method 2) or
// deflated (method 4) with their checksum; volumes are split at a size the
// output gives per volume, each continued member carrying its flag so that
// the reader moves on to the next volume exactly where the bytes go on.
// Portable.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"

// Where the volumes go. Volume i (from 0) follows volume i - 1 on the next
// diskette, under the name with the last character one higher.
class VolumeOutput {
public:
    virtual ~VolumeOutput() = default;
    // Bytes volume `index` may hold, its lead header included.
    virtual std::uint64_t VolumeCapacity(int index) = 0;
    virtual void BeginVolume(int index) = 0;
    virtual void Write(const void* data, std::size_t n) = 0;
    virtual void EndVolume() = 0;
};

// Collects volumes in memory (tests, benchmarks, fuzz corpus).
class MemoryVolumeOutput : public VolumeOutput {
public:
    // capacity: the same for every volume.
    explicit MemoryVolumeOutput(std::uint64_t capacity = UINT64_MAX) : capacity(capacity) {}
    std::uint64_t VolumeCapacity(int) override { return capacity; }
    void BeginVolume(int) override { volumes.emplace_back(); }
    void Write(const void* data, std::size_t n) override;
    void EndVolume() override {}

    std::vector<std::vector<unsigned char>> volumes;

private:
    std::uint64_t capacity;
};

class ArchiveWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct MemberSource {
    std::string name;          // file name as it goes into the header (at most 259 bytes)
    std::vector<unsigned char> data;
    std::int32_t method = 4;   // 2 stored, 4 deflated
    int level = 9;             // zlib level for method 4
    std::int16_t destination = 0;
    std::uint16_t attributes = 0x20;
    std::int32_t modTime = 0;
    std::string extra;         // at most 39 bytes
    bool withChecksum = true;  // false writes checksum 0 (not checked)
};

// Where one member ended up, for the kit builder's listing and the tests.
struct MemberPlacement {
    std::string name;
    int firstVolume = 0;
    int lastVolume = 0;
    std::uint32_t storedSize = 0;
    std::uint32_t decodedSize = 0;
    std::uint32_t checksum = 0;
};

class CMultiFileWriter {
public:
    explicit CMultiFileWriter(VolumeOutput& output);

    // Encodes the member now and keeps its stored bytes until Finish.
    // Raises ArchiveWriteError for a bad name, method or size.
    void AddMember(const MemberSource& member);
    // Lays the members out over volumes and writes them. Returns the number
    // of volumes written (at least 1: an empty archive is a lead header).
    // Raises ArchiveWriteError when a volume is too small to go on.
    int Finish();

    const std::vector<MemberPlacement>& Placements() const { return placements; }
    // Bytes the first volume must hold so that the members added so far can
    // be laid out (the lead header and the headers that must share it).
    std::uint64_t FirstVolumeNeed() const;

private:
    struct Pending {
        EntryHeader header;
        std::vector<unsigned char> stored;
    };

    // Room that member k's header needs in its volume so that every member
    // after it stays reachable: a member with stored bytes can always carry
    // the reader on to the next volume, an empty one cannot.
    std::vector<std::uint64_t> Needs() const;

    VolumeOutput& output;
    std::vector<Pending> members;
    std::vector<MemberPlacement> placements;
};

// Deflates data with a zlib header at the given level (the stored form of
// method 4).
std::vector<unsigned char> DeflateMember(const std::vector<unsigned char>& data, int level);
