#include "archive/MultiFile.h"

#include <cstring>

#include "errors/SetupException.h"
#include "framework/Exception.h"

using namespace ArchiveFormat;

CMultiFileEntry::CMultiFileEntry(FileStatusPlatform* platform) : platform(platform) {}

std::uint32_t CMultiFileEntry::ReadHeader(CMultiFile& archive) {
    EntryHeader read;
    // Headers bypass counting and continuation: a volume that ends inside a
    // header ends the archive.
    if (archive.RawRead(read.Bytes(), kEntryHeaderSize) < kEntryHeaderSize)
        return 0;
    if (!read.HasMagic())
        throw CMultiFileException(CMultiFileException::missingEntry);
    header = read;
    // Bounded copies: a name or extra without its NUL stops at the field's end.
    memberName = header.Name();
    memberExtra = header.Extra();
    return kEntryHeaderSize;
}

void CMultiFileEntry::SetOutputPath(const std::string& path) {
    outputPath = path.substr(0, kOutputPathSize - 1);
}

void CMultiFileEntry::CreateOutput() {
    OpenWrite(outputPath, true);
    writeCount = 0;
    checksum = 0;
}

FileStatusPlatform& CMultiFileEntry::Platform() const {
    FileStatusPlatform* p = platform ? platform : GetDefaultFileStatusPlatform();
    if (!p)
        throw CNotSupportedException();
    return *p;
}

void CMultiFileEntry::ApplyHeaderStatus() {
    Platform().ApplyTimeAndAttributes(outputPath, header.ModTime(), static_cast<std::uint8_t>(header.Attributes() & 0xFF));
}

void CMultiFileEntry::FillFromFile() {
    FileStatus status = Platform().GetStatus(memberName);
    header.SetModTime(static_cast<std::int32_t>(status.modTime));
    header.SetAttributes(status.attributes);
    header.SetDecodedSize(static_cast<std::uint32_t>(status.size));
}

CMultiFile::CMultiFile() {
    blockSize = kBlockSize;
    // What a member is checked against is the checksum of its decoded bytes,
    // kept by the output; a sum over the stored bytes read here would never
    // be looked at.
    checksumReads = false;
}

CMultiFile::~CMultiFile() = default;

std::uint32_t CMultiFile::OpenArchive(const std::string& path) {
    OpenRead(path, true);
    unreadStored = 0;
    ReadLeadHeader();
    dataStart = GetPosition();
    return dataStart;
}

std::uint32_t CMultiFile::ReadLeadHeader() {
    unsigned char lead[kLeadHeaderSize];
    if (RawRead(lead, kLeadHeaderSize) < kLeadHeaderSize)
        throw CFileException(CFileException::endOfFile, -1);
    if (!HasLeadMagic(lead))
        throw CMultiFileException(CMultiFileException::notArchive);
    return kLeadHeaderSize;
}

bool CMultiFile::NextEntry(CMultiFileEntry& entry, bool seekFirst) {
    if (entry.offset == 0)
        entry.offset = dataStart;
    if (seekFirst) {
        Seek(static_cast<long>(entry.offset - partReadStart), begin);
        unreadStored = 0;
    }
    if (unreadStored != 0) {
        readingContinued = unreadContinued;
        Discard(unreadStored);
        unreadStored = 0;
    }
    std::uint32_t r = entry.ReadHeader(*this);
    if (r == 0)
        return false;
    unreadStored = entry.header.StoredSize();
    unreadContinued = entry.header.Continued() != 0;
    entry.offset += r + entry.header.StoredSize();
    return true;
}

void CMultiFile::Discard(std::uint32_t n) {
    unsigned char buffer[kBlockSize];
    while (n != 0) {
        std::uint32_t r = Read(buffer, n < kBlockSize ? n : kBlockSize);
        if (r == 0)
            return;  // the volume ends early: the next header read ends the archive
        n -= r;
    }
}

void CMultiFile::SkipMember(CMultiFileEntry& entry) {
    readingContinued = entry.header.Continued() != 0;
    currentEntry = &entry;
    struct Reset {
        CMultiFile* file;
        ~Reset() { file->currentEntry = nullptr; }
    } reset{this};
    Discard(entry.header.StoredSize());
    unreadStored = 0;
}

void CMultiFile::Extract(CMultiFileEntry& entry) {
    entry.CreateOutput();
    std::unique_ptr<CCoder> owned = CreateCoder(entry.header.Method(), entry.header.MethodParam());
    if (!owned)
        throw CMultiFileException(CMultiFileException::unknownMethod);

    struct Reset {
        CMultiFile* file;
        ~Reset() {
            file->currentEntry = nullptr;
            file->coder = nullptr;
        }
    } reset{this};
    coder = owned.get();
    currentEntry = &entry;
    readingContinued = entry.header.Continued() != 0;

    const std::uint32_t storedSize = entry.header.StoredSize();
    const std::uint32_t readBefore = readCount;
    // From here the read position is inside the member's data.
    unreadStored = 0;
    coder->DecodeStream(*this, entry, storedSize, entry.header.DecodedSize());
    // The deflate coder stops once the decoded size is out, which can leave
    // zlib's trailer (or more) unread; the next header must be read from the
    // end of this member's stored bytes, so the rest is read and dropped
    // here, through the tracked read so that it may continue on the next
    // volume.
    std::uint32_t consumed = readCount - readBefore;
    if (consumed < storedSize)
        Discard(storedSize - consumed);

    bool wasCancelled = coder->cancelled != 0;
    currentEntry = nullptr;
    coder = nullptr;
    owned.reset();

    entry.Close();
    entry.ApplyHeaderStatus();
    if (wasCancelled)
        throw CUserException();
    if (entry.header.Checksum() != 0 && entry.header.Checksum() != entry.checksum)
        throw CMultiFileException(CMultiFileException::crcMismatch);
}

void CMultiFile::Abort() {
    if (coder) {
        coder->Cancel();
        return;
    }
    CTrackedFile::Abort();
}

std::unique_ptr<CMultiFileEntry> CMultiFile::CreateEntry() {
    auto entry = std::make_unique<CMultiFileEntry>();
    entry->offset = dataStart;
    return entry;
}

std::unique_ptr<CCoder> CMultiFile::CreateCoder(std::int32_t method, std::int32_t) {
    switch (method) {
    case kMethodStored: return std::make_unique<CStoredCoder>();
    case kMethodDeflated: return std::make_unique<CZLibCoder>();
    default: return nullptr;
    }
}
