#pragma once
// Byte layout of the multi-file archive: the 8-byte lead header at the start
// of every volume and the 346-byte entry header in front of every member.
// Every integer is little-endian; text fields are NUL-terminated inside
// their fixed width. Portable: no <windows.h>.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace ArchiveFormat {

constexpr std::size_t kLeadHeaderSize = 8;
constexpr std::size_t kEntryHeaderSize = 346;
constexpr char kLeadMagic[4] = {'m', 'f', 'l', 'h'};
constexpr char kEntryMagic[4] = {'m', 'f', 'e', 'n'};

// Field offsets and widths inside the entry header.
constexpr std::size_t kMagicOffset = 0;
constexpr std::size_t kVersionOffset = 4;
constexpr std::size_t kHeaderSizeOffset = 6;
constexpr std::size_t kModTimeOffset = 8;
constexpr std::size_t kNameOffset = 16;
constexpr std::size_t kNameWidth = 260;
constexpr std::size_t kDecodedSizeOffset = 276;
constexpr std::size_t kStoredSizeOffset = 280;
constexpr std::size_t kChecksumOffset = 284;
constexpr std::size_t kMethodOffset = 292;
constexpr std::size_t kMethodParamOffset = 296;
constexpr std::size_t kDestinationOffset = 300;
constexpr std::size_t kAttributesOffset = 302;
constexpr std::size_t kContinuedOffset = 304;
constexpr std::size_t kExtraOffset = 306;
constexpr std::size_t kExtraWidth = 40;

constexpr std::int32_t kMethodStored = 2;
constexpr std::int32_t kMethodDeflated = 4;

// Destination id of a member that is carried on the media but not installed.
constexpr std::int16_t kDestNotInstalled = -1;

std::uint16_t GetU16(const unsigned char* p);
std::uint32_t GetU32(const unsigned char* p);
void PutU16(unsigned char* p, std::uint16_t v);
void PutU32(unsigned char* p, std::uint32_t v);

// The text of a fixed-width field: up to its first NUL, and never past the
// field's end when the NUL is missing.
std::string GetText(const unsigned char* p, std::size_t width);
// Stores text NUL-padded; text longer than width - 1 bytes is cut so that
// the field always keeps its terminator.
void PutText(unsigned char* p, std::size_t width, const std::string& text);

// Writes a lead header ("mflh" and the volume number in the free bytes).
void MakeLeadHeader(unsigned char* out, std::uint32_t volumeNumber);
bool HasLeadMagic(const unsigned char* header);

// The file-name part of a path (after the last '\\', '/' or ':').
std::string FileNamePart(const std::string& path);
// Directory joined with a file name, with one separator between them.
std::string JoinPath(const std::string& directory, const std::string& fileName);
// The name of the volume that follows `fileName`: its last character plus
// one, without carry (DATA.A1 -> DATA.A2, DATA.A9 -> DATA.A:).
std::string NextVolumeName(const std::string& fileName);

}  // namespace ArchiveFormat

// The 346-byte entry header held as bytes, with typed access to its fields.
// A new header holds magic "mfen", version 1, headerSize 346, continued 0.
class EntryHeader {
public:
    EntryHeader();

    unsigned char* Bytes() { return bytes.data(); }
    const unsigned char* Bytes() const { return bytes.data(); }

    bool HasMagic() const;
    std::uint16_t Version() const;
    std::uint16_t HeaderSize() const;
    std::int32_t ModTime() const;
    std::string Name() const;  // bounded copy of the name field
    std::uint32_t DecodedSize() const;
    std::uint32_t StoredSize() const;
    std::uint32_t Checksum() const;
    std::int32_t Method() const;
    std::int32_t MethodParam() const;
    std::int16_t Destination() const;
    std::uint16_t Attributes() const;
    std::uint16_t Continued() const;
    std::string Extra() const;  // bounded copy of the extra field

    void SetModTime(std::int32_t v);
    void SetName(const std::string& v);
    void SetDecodedSize(std::uint32_t v);
    void SetStoredSize(std::uint32_t v);
    void SetChecksum(std::uint32_t v);
    void SetMethod(std::int32_t v);
    void SetMethodParam(std::int32_t v);
    void SetDestination(std::int16_t v);
    void SetAttributes(std::uint16_t v);
    void SetContinued(std::uint16_t v);
    void SetExtra(const std::string& v);

private:
    std::array<unsigned char, ArchiveFormat::kEntryHeaderSize> bytes{};
};
