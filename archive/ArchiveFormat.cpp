#include "archive/ArchiveFormat.h"

#include <algorithm>
#include <cstring>

namespace ArchiveFormat {

std::uint16_t GetU16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t GetU32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void PutU16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

void PutU32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

std::string GetText(const unsigned char* p, std::size_t width) {
    // A field without a NUL ends at its width: never read into the next field.
    const void* nul = std::memchr(p, 0, width);
    std::size_t length = nul ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - p) : width;
    return std::string(reinterpret_cast<const char*>(p), length);
}

void PutText(unsigned char* p, std::size_t width, const std::string& text) {
    std::memset(p, 0, width);
    std::memcpy(p, text.data(), std::min(text.size(), width - 1));
}

void MakeLeadHeader(unsigned char* out, std::uint32_t volumeNumber) {
    std::memcpy(out, kLeadMagic, 4);
    PutU32(out + 4, volumeNumber);
}

bool HasLeadMagic(const unsigned char* header) {
    return std::memcmp(header, kLeadMagic, 4) == 0;
}

std::string FileNamePart(const std::string& path) {
    std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string JoinPath(const std::string& directory, const std::string& fileName) {
    if (directory.empty())
        return fileName;
    char last = directory.back();
    if (last == '\\' || last == '/' || last == ':')
        return directory + fileName;
#ifdef _WIN32
    return directory + '\\' + fileName;
#else
    return directory + '/' + fileName;
#endif
}

std::string NextVolumeName(const std::string& fileName) {
    std::string next = FileNamePart(fileName);
    if (!next.empty())
        next.back() = static_cast<char>(static_cast<unsigned char>(next.back()) + 1);
    return next;
}

}  // namespace ArchiveFormat

using namespace ArchiveFormat;

EntryHeader::EntryHeader() {
    std::memcpy(bytes.data(), kEntryMagic, 4);
    PutU16(&bytes[kVersionOffset], 1);
    PutU16(&bytes[kHeaderSizeOffset], static_cast<std::uint16_t>(kEntryHeaderSize));
}

bool EntryHeader::HasMagic() const { return std::memcmp(bytes.data(), kEntryMagic, 4) == 0; }
std::uint16_t EntryHeader::Version() const { return GetU16(&bytes[kVersionOffset]); }
std::uint16_t EntryHeader::HeaderSize() const { return GetU16(&bytes[kHeaderSizeOffset]); }
std::int32_t EntryHeader::ModTime() const { return static_cast<std::int32_t>(GetU32(&bytes[kModTimeOffset])); }
std::string EntryHeader::Name() const { return GetText(&bytes[kNameOffset], kNameWidth); }
std::uint32_t EntryHeader::DecodedSize() const { return GetU32(&bytes[kDecodedSizeOffset]); }
std::uint32_t EntryHeader::StoredSize() const { return GetU32(&bytes[kStoredSizeOffset]); }
std::uint32_t EntryHeader::Checksum() const { return GetU32(&bytes[kChecksumOffset]); }
std::int32_t EntryHeader::Method() const { return static_cast<std::int32_t>(GetU32(&bytes[kMethodOffset])); }
std::int32_t EntryHeader::MethodParam() const { return static_cast<std::int32_t>(GetU32(&bytes[kMethodParamOffset])); }
std::int16_t EntryHeader::Destination() const { return static_cast<std::int16_t>(GetU16(&bytes[kDestinationOffset])); }
std::uint16_t EntryHeader::Attributes() const { return GetU16(&bytes[kAttributesOffset]); }
std::uint16_t EntryHeader::Continued() const { return GetU16(&bytes[kContinuedOffset]); }
std::string EntryHeader::Extra() const { return GetText(&bytes[kExtraOffset], kExtraWidth); }

void EntryHeader::SetModTime(std::int32_t v) { PutU32(&bytes[kModTimeOffset], static_cast<std::uint32_t>(v)); }
void EntryHeader::SetName(const std::string& v) { PutText(&bytes[kNameOffset], kNameWidth, v); }
void EntryHeader::SetDecodedSize(std::uint32_t v) { PutU32(&bytes[kDecodedSizeOffset], v); }
void EntryHeader::SetStoredSize(std::uint32_t v) { PutU32(&bytes[kStoredSizeOffset], v); }
void EntryHeader::SetChecksum(std::uint32_t v) { PutU32(&bytes[kChecksumOffset], v); }
void EntryHeader::SetMethod(std::int32_t v) { PutU32(&bytes[kMethodOffset], static_cast<std::uint32_t>(v)); }
void EntryHeader::SetMethodParam(std::int32_t v) { PutU32(&bytes[kMethodParamOffset], static_cast<std::uint32_t>(v)); }
void EntryHeader::SetDestination(std::int16_t v) { PutU16(&bytes[kDestinationOffset], static_cast<std::uint16_t>(v)); }
void EntryHeader::SetAttributes(std::uint16_t v) { PutU16(&bytes[kAttributesOffset], v); }
void EntryHeader::SetContinued(std::uint16_t v) { PutU16(&bytes[kContinuedOffset], v); }
void EntryHeader::SetExtra(const std::string& v) { PutText(&bytes[kExtraOffset], kExtraWidth, v); }
