#pragma once
// One key of one section of a profile-format file (the install profile or
// the install log), read and written only through the platform's
// GetPrivateProfileStringA and WritePrivateProfileStringA.
// Declarations are portable; the implementation is Windows only.

#include <string>

#include "support/FilePath.h"

// The file the platform uses when an entry names none: the program's base
// name with ".INI", which the platform looks for in the Windows directory.
std::string DefaultProfileFileName();

class ProfileEntry {
public:
    ProfileEntry(const std::string& section, const std::string& key, const FilePath& file, bool saveOnDestroy,
                 bool loadOnCreate)
        : saveOnDestroy(saveOnDestroy), loadOnCreate(loadOnCreate), section(section), key(key), file(file) {}
    virtual ~ProfileEntry() = default;
    ProfileEntry(const ProfileEntry&) = delete;
    ProfileEntry& operator=(const ProfileEntry&) = delete;

    // True when the value differs from the value last read.
    virtual bool IsModified() const = 0;
    // Reads the value; true when it is at least one character long.
    virtual bool Read() = 0;
    // Writes the value. Failures are not examined: a key that cannot be
    // written is simply missing.
    virtual void Write() = 0;

    bool saveOnDestroy;  // write back on destruction when modified
    bool loadOnCreate;   // read on creation
    std::string section;
    std::string key;
    FilePath file;       // empty: DefaultProfileFileName(), set at the first read or write

protected:
    // The file, after putting the default in when it is empty.
    const FilePath& EffectiveFile();
};

// A text value; the only kind of entry.
class ProfileString : public ProfileEntry {
public:
    ProfileString() : ProfileEntry({}, {}, {}, false, false) {}
    // With loadOnCreate and a non-empty section and key, reads at once;
    // `defaultValue` is then what a missing key reads as.
    ProfileString(const std::string& defaultValue, const std::string& section, const std::string& key,
                  const FilePath& file = {}, bool saveOnDestroy = false, bool loadOnCreate = false);
    // Writes the value when saveOnDestroy is set and it was modified.
    ~ProfileString() override;

    bool IsModified() const override { return value != valueAsRead; }
    // The current value is the default for a missing key. The platform cuts
    // a longer value to 254 characters.
    bool Read() override;
    void Write() override;

    std::string value;
    std::string valueAsRead;
};
