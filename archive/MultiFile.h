#pragma once
// The multi-file archive reader. A volume is an 8-byte lead header followed
// by members, each a 346-byte entry header and its stored bytes. Members are
// found by reading front to back; a member's stored bytes may continue on
// the next volume (see CMediaMultiFile). Portable.

#include <cstdint>
#include <memory>
#include <string>

#include "archive/ArchiveFormat.h"
#include "archive/Coder.h"
#include "archive/FileStatus.h"
#include "archive/TrackedFile.h"

class CMultiFile;

// One member, and the file the member is extracted into.
class CMultiFileEntry : public CTrackedFile {
public:
    static constexpr std::size_t kOutputPathSize = 260;

    // platform: where times and attributes are read and set; null uses the
    // process default (GetDefaultFileStatusPlatform).
    explicit CMultiFileEntry(FileStatusPlatform* platform = nullptr);

    // Reads the next header with the archive's raw read. Returns 346, or 0
    // when fewer bytes remain (end of archive). A header without "mfen"
    // raises CMultiFileException 3.
    std::uint32_t ReadHeader(CMultiFile& archive);
    // Copies path, cut to at most 259 characters.
    void SetOutputPath(const std::string& path);
    const std::string& GetOutputPath() const { return outputPath; }
    // Creates (or truncates) the output file; write count and checksum to 0.
    void CreateOutput();
    // Gives the output file the header's modification time (when nonzero)
    // and the low byte of its attributes.
    void ApplyHeaderStatus();
    // Takes modTime, attributes and decodedSize from the file named by
    // memberName (used for single files on the media).
    void FillFromFile();

    EntryHeader header;
    std::string memberName;
    std::string memberExtra;
    std::uint32_t offset = 0;  // logical position of this member's header; 0 until used

private:
    FileStatusPlatform& Platform() const;

    std::string outputPath;
    FileStatusPlatform* platform;
};

class CMultiFile : public CTrackedFile {
public:
    static constexpr std::uint32_t kBlockSize = 4096;

    CMultiFile();
    ~CMultiFile() override;

    // Opens path, checks its lead header and returns the data start (8).
    std::uint32_t OpenArchive(const std::string& path);
    // Reads the 8-byte lead header: short raises CFileException end-of-file,
    // a wrong magic CMultiFileException 2. Returns 8.
    std::uint32_t ReadLeadHeader();
    // Reads the next member header into entry; false at the end of the
    // archive. Stored bytes of the previous member that were not decoded
    // (a member that is not installed) are passed over first, so the header
    // is always read from the right place.
    bool NextEntry(CMultiFileEntry& entry, bool seekFirst);
    // Decodes the member whose header entry holds, from the current read
    // position, into entry's output path; then closes the output and applies
    // the header's time and attributes. Leaves the read position at the end
    // of the member's stored bytes. Raises CMultiFileException 1 (unknown
    // method) or 5 (checksum), the coder's errors, or CUserException when
    // the extraction was cancelled through Abort.
    void Extract(CMultiFileEntry& entry);
    // Reads and discards the member's stored bytes (a member that is not
    // installed), continuing onto the next volume like a decode would.
    void SkipMember(CMultiFileEntry& entry);

    // With a coder running: asks it to cancel (the member is still decoded
    // to its end) and keeps the file open. Otherwise closes the file.
    void Abort() override;
    void OnBlockBoundary() override {}
    // A new entry whose offset starts at this archive's data start.
    virtual std::unique_ptr<CMultiFileEntry> CreateEntry();
    // 2 gives the stored coder, 4 the deflate coder, anything else none.
    virtual std::unique_ptr<CCoder> CreateCoder(std::int32_t method, std::int32_t methodParam);

    std::uint32_t dataStart = 0;

protected:
    // The continued flag of the member whose stored bytes are being read
    // (decoded or skipped); continuation acts on it.
    bool CurrentMemberContinued() const { return readingContinued; }

    CCoder* coder = nullptr;
    CMultiFileEntry* currentEntry = nullptr;

private:
    void Discard(std::uint32_t n);

    std::uint32_t unreadStored = 0;  // stored bytes of the last header not yet read
    bool unreadContinued = false;
    bool readingContinued = false;
};
