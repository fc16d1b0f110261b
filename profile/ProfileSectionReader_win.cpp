#include "profile/ProfileSectionReader.h"

#include <windows.h>

#include <cstring>

#include "errors/SetupException.h"

ProfileSectionReader::ProfileSectionReader(const std::string& section, const FilePath& file)
    : file(file.IsEmpty() ? FilePath(DefaultProfileFileName()) : file), section(section) {}

bool ProfileSectionReader::First(ProfileEntry& entry) {
    if (file.IsEmpty()) file = DefaultProfileFileName();
    keyBuffer.clear();
    position = 0;
    for (size_t size = kInitialKeyBuffer;; size *= 2) {
        if (size > kMaxKeyList) throw CInstallProfileException(0);
        // One byte more than the platform is told of: it stays zero, so
        // every name in the buffer is terminated whatever the platform wrote.
        std::vector<char> buffer(size + 1, '\0');
        // With no key the platform lists the section's key names, each ended
        // by a zero byte and the list by one more. A list that does not fit
        // is cut, and the result is then the size less two.
        DWORD length = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(),
                                                static_cast<DWORD>(size), file.c_str());
        if (length < size - 2) {
            keyBuffer = std::move(buffer);
            break;
        }
    }
    return TakeName(entry);
}

bool ProfileSectionReader::Next(ProfileEntry& entry) {
    if (keyBuffer.empty()) return false;
    return TakeName(entry);
}

bool ProfileSectionReader::TakeName(ProfileEntry& entry) {
    const char* name = keyBuffer.data() + position;
    const size_t length = strnlen(name, keyBuffer.size() - 1 - position);
    if (length == 0) {
        keyBuffer.clear();
        keyBuffer.shrink_to_fit();
        return false;
    }
    entry.section = section;
    entry.file = file;
    entry.key.assign(name, length);
    position += length + 1;
    return true;
}
