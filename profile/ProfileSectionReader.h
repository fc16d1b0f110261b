#pragma once
// Enumerates the key names of one section of a profile-format file, in file
// order. Declarations are portable; the implementation is Windows only.

#include <string>
#include <vector>

#include "profile/ProfileEntry.h"

class ProfileSectionReader {
public:
    // An empty file means DefaultProfileFileName().
    explicit ProfileSectionReader(const std::string& section, const FilePath& file = {});
    ProfileSectionReader(const ProfileSectionReader&) = delete;
    ProfileSectionReader& operator=(const ProfileSectionReader&) = delete;

    // Reads the section's key list and stores the section, the file and the
    // first key name into `entry`; false when there is no key (no file, no
    // section, or an empty one). Neither First nor Next reads the value.
    // Throws CInstallProfileException cause 0 when the list exceeds
    // kMaxKeyList bytes.
    bool First(ProfileEntry& entry);
    // The next key name, as First; false when the keys are exhausted.
    bool Next(ProfileEntry& entry);

    // The key list buffer starts at 256 bytes and doubles while the list
    // does not fit; it never grows beyond this.
    static constexpr size_t kInitialKeyBuffer = 256;
    static constexpr size_t kMaxKeyList = 4u << 20;

    FilePath file;
    std::string section;

private:
    bool TakeName(ProfileEntry& entry);

    std::vector<char> keyBuffer;  // empty: none held
    size_t position = 0;
};
