#pragma once
// The copy engine: one file taken from the media to its place on the user's
// disk. It is decoded into a temporary file beside its destination, compared
// with any installed copy (by version resource, else by time), then placed,
// discarded, or left for replacement at the next system start; finally the
// handled file is recorded.
//
// The engine sits beside the profile and system layers, so what it needs
// from them comes through two small interfaces that the layers above
// implement (the install log, and the data model with the delayed move);
// tests fake both.
//
// The decision rules and the name checks are portable (InstallEntry.cpp);
// the file work is Windows only (InstallEntry_win.cpp).

#include <cstdint>
#include <string>

#include "archive/MultiFile.h"
#include "support/FilePath.h"

// The file version of a version resource, most significant part first.
struct FileVersion {
    bool present = false;  // the file has a readable version resource
    std::uint16_t parts[4] = {0, 0, 0, 0};
};

// Builds a present version from its four parts (for tests and callers that
// know one).
FileVersion MakeFileVersion(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d);

// The replace decision. A copy with a version resource beats one without;
// two versions compare part by part; without either, the later modification
// time (whole seconds) wins. Ties keep the installed copy: false.
bool NewFileReplaces(const FileVersion& newVersion, const FileVersion& oldVersion, std::int64_t newTime,
                     std::int64_t oldTime);

// Where the engine's results go. The install log implements it.
class InstallRecorder {
public:
    virtual ~InstallRecorder() = default;
    // One handled file: its component, destination path and id, and whether
    // it was placed and whether an older copy was found. For the System
    // directory this also counts one more user of the shared file.
    virtual void LogFileLine(const std::string& componentKey, const std::string& finalPath,
                             std::int16_t destination, int placed, int replaced) = 0;
};

// What the engine asks of the install's data model and of the system.
class InstallSite {
public:
    virtual ~InstallSite() = default;
    // The directory of a destination id; empty when there is none.
    virtual std::string DestinationPath(std::int16_t destination) = 0;
    // Arranges that newFile replaces existingFile at the next system start,
    // and notes that a restart is needed.
    virtual void ScheduleReplacement(const std::string& newFile, const std::string& existingFile) = 0;
    // Tells the program item for fileName (any case) where the file went.
    virtual void SetInstalledPath(const std::string& fileName, const std::string& path) = 0;
};

// One file being installed. One object serves every member of an archive:
// the header is read into it again for each member, and placed and replaced
// describe the file of the last Install.
class CInstallEntry : public CMultiFileEntry {
public:
    static constexpr int kUniqueNameAttempts = 1000;

    // owner: the archive or single file the member is read from. None is
    // owned. platform as for CMultiFileEntry.
    CInstallEntry(CMultiFile& owner, std::string componentKey, InstallRecorder& recorder, InstallSite& site,
                  FileStatusPlatform* platform = nullptr);
    // Removes a temporary file that an interrupted Install left behind.
    ~CInstallEntry() override;

    // Sets the header of a single file on the media: the full source path as
    // member name, stored method, checksum 0, both sizes the profile's size,
    // then takes time, attributes and decoded size from the file itself.
    // Its name is then the last component of the source path.
    void PrepareSingleFile(const std::string& sourcePath, std::int16_t destination, std::uint32_t profileSize);

    // The whole treatment of one file. Destination -1: nothing at all.
    // Raises what the steps raise; the temporary file is gone afterwards
    // unless it waits for the restart.
    void Install();
    // finalPath and tempPath; creates the destination directory. The member
    // name's file-name part is used (any directory in it is dropped). Raises
    // CFileException badPath when that part is not a plain file name, and
    // directoryFull when no free temporary name is found.
    void ResolvePaths();
    // The replace decision and the placing.
    void PlaceFile();
    // The installed copy, when there is one.
    bool FindExisting(FilePath& existing);
    // Outside the Windows and System directories: renames the new file into
    // place when no file is there, and says so. Raises as a failed placing
    // does for any other reason than an existing file.
    bool PlaceWhereNothingIs();
    [[noreturn]] void ThrowPlaceFailure(unsigned long error) const;
    // True when the new (temporary) file should replace existing.
    bool IsNewerThan(const FilePath& existing);
    // Records finalPath in the program item that matches the file's name.
    void UpdateTarget();

    // The version resource of a file, through the system's VERSION library.
    static FileVersion ReadFileVersion(const std::string& path);

    FilePath finalPath;
    FilePath tempPath;
    CMultiFile& owner;
    std::uint32_t placed = 0;
    std::uint32_t replaced = 0;
    std::string componentKey;

private:
    // The file name the entry is installed under.
    std::string InstallName() const;
    void DiscardTemporary();

    InstallRecorder& recorder;
    InstallSite& site;
    bool tempPending = false;  // tempPath names a file of ours not yet committed
    // The destination directory the last member was installed into, made or
    // found there; empty before the first.
    std::string madeDirectory;
};
