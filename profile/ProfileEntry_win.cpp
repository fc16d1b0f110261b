#include "profile/ProfileEntry.h"

#include <windows.h>

#include <algorithm>

#include "profile/ProfileSource.h"

std::string DefaultProfileFileName() {
    char module[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string name(module, std::min<DWORD>(length, MAX_PATH));
    size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name + ".INI";
}

const FilePath& ProfileEntry::EffectiveFile() {
    if (file.IsEmpty()) file = DefaultProfileFileName();
    return file;
}

ProfileString::ProfileString(const std::string& defaultValue, const std::string& section, const std::string& key,
                             const FilePath& file, bool saveOnDestroy, bool loadOnCreate)
    : ProfileEntry(section, key, file, saveOnDestroy, loadOnCreate), value(defaultValue) {
    if (loadOnCreate && !section.empty() && !key.empty()) Read();
}

ProfileString::~ProfileString() {
    if (saveOnDestroy && IsModified()) Write();
}

bool ProfileString::Read() {
    // 256 bytes passed as 255: the platform returns at most 254 characters
    // and the terminator, whatever the length in the file.
    char buffer[kMaxProfileValue + 2] = {};
    const std::string defaultValue = value;
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                            kMaxProfileValue + 1, EffectiveFile().c_str());
    value.assign(buffer, std::min<size_t>(length, kMaxProfileValue));
    valueAsRead = value;
    return !value.empty();
}

void ProfileString::Write() {
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), EffectiveFile().c_str());
}
