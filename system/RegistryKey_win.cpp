#include "system/RegistryKey.h"

#include <algorithm>
#include <utility>
#include <vector>

TVS_IMPLEMENT_DYNAMIC(RegistryKey, CObject)
TVS_IMPLEMENT_DYNAMIC(RegistryString, RegistryKey)
TVS_IMPLEMENT_DYNAMIC(RegistryDword, RegistryKey)

namespace {

// An empty name addresses the key's default value; the API wants NULL or "".
const char* ValueName(const std::string& name) {
    return name.c_str();
}

}  // namespace

RegistryKey::~RegistryKey() {
    Close();
}

bool RegistryKey::Open(HKEY root, const std::string& subKey, REGSAM access) {
    Close();
    HKEY opened = nullptr;
    if (!Record(RegOpenKeyExA(root, subKey.c_str(), 0, access, &opened))) {
        return false;
    }
    key = opened;
    return true;
}

bool RegistryKey::Create(HKEY root, const std::string& subKey, const std::string& className,
                         REGSAM access) {
    Close();
    HKEY created = nullptr;
    DWORD disposition = 0;
    LONG status = RegCreateKeyExA(root, subKey.c_str(), 0,
                                  const_cast<char*>(className.c_str()), REG_OPTION_NON_VOLATILE,
                                  access, nullptr, &created, &disposition);
    if (!Record(status)) {
        return false;
    }
    key = created;
    return true;
}

bool RegistryKey::DeleteKey(HKEY root, const std::string& subKey) {
    return Record(RegDeleteKeyA(root, subKey.c_str()));
}

bool RegistryKey::Close() {
    if (key == nullptr) {
        return Record(ERROR_SUCCESS);
    }
    LONG status = RegCloseKey(key);
    key = nullptr;
    return Record(status);
}

bool RegistryKey::DeleteValue(const std::string& name) {
    if (key == nullptr) {
        return Record(ERROR_INVALID_HANDLE);
    }
    return Record(RegDeleteValueA(key, ValueName(name)));
}

bool RegistryKey::QueryString(const std::string& name, std::string& text) {
    if (key == nullptr) {
        return Record(ERROR_INVALID_HANDLE);
    }
    DWORD type = 0;
    DWORD size = 0;
    if (!Record(RegQueryValueExA(key, ValueName(name), nullptr, &type, nullptr, &size))) {
        return false;
    }
    if (type != REG_SZ) {
        return Record(ERROR_INVALID_DATATYPE);
    }
    // The value may change between the two calls and need not carry its
    // terminator: read into a buffer one byte larger than reported, grow it
    // while the value keeps growing, and terminate it ourselves.
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<char> buffer(size + 1, '\0');
        DWORD got = size;
        LONG status = RegQueryValueExA(key, ValueName(name), nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (status == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (!Record(status)) {
            return false;
        }
        if (type != REG_SZ) {
            return Record(ERROR_INVALID_DATATYPE);
        }
        buffer[std::min<DWORD>(got, size)] = '\0';
        text = buffer.data();
        return true;
    }
    return Record(ERROR_MORE_DATA);
}

bool RegistryKey::SetString(const std::string& name, const std::string& text) {
    if (key == nullptr) {
        return Record(ERROR_INVALID_HANDLE);
    }
    return Record(RegSetValueExA(key, ValueName(name), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1)));
}

bool RegistryKey::QueryDword(const std::string& name, DWORD& value) {
    if (key == nullptr) {
        return Record(ERROR_INVALID_HANDLE);
    }
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    LONG status = RegQueryValueExA(key, ValueName(name), nullptr, &type,
                                   reinterpret_cast<BYTE*>(&data), &size);
    // A longer value of another type does not fit the four bytes; the type
    // is still reported, and it is the type that makes the value unusable.
    if (status == ERROR_MORE_DATA && type != REG_DWORD) {
        return Record(ERROR_INVALID_DATATYPE);
    }
    if (!Record(status)) {
        return false;
    }
    if (type != REG_DWORD || size != sizeof data) {
        return Record(ERROR_INVALID_DATATYPE);
    }
    value = data;
    return true;
}

bool RegistryKey::SetDword(const std::string& name, DWORD value) {
    if (key == nullptr) {
        return Record(ERROR_INVALID_HANDLE);
    }
    return Record(RegSetValueExA(key, ValueName(name), 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&value), sizeof value));
}

RegistryString::RegistryString(HKEY root, std::string keyPath, std::string valueName,
                               std::string defaultValue, bool loadOnCreate, bool saveOnDestroy)
    : root(root),
      keyPath(std::move(keyPath)),
      valueName(std::move(valueName)),
      value(defaultValue),
      saveOnDestroy(saveOnDestroy) {
    if (loadOnCreate) {
        Load(defaultValue);
    }
}

RegistryString::~RegistryString() {
    if (modified && saveOnDestroy) {
        Save();
    }
    Close();
}

bool RegistryString::Load(const std::string& defaultValue) {
    value = defaultValue;
    if (!Open(root, keyPath, kFullAccess)) {
        return false;
    }
    std::string stored;
    if (!QueryString(valueName, stored)) {
        return false;
    }
    value = stored;
    return true;
}

void RegistryString::Set(const std::string& text) {
    value = text;
    modified = true;
}

bool RegistryString::Save() {
    if (!IsOpen() && !Create(root, keyPath, {}, kFullAccess)) {
        return false;
    }
    if (!SetString(valueName, value)) {
        return false;
    }
    modified = false;
    return true;
}

RegistryDword::RegistryDword(HKEY root, std::string keyPath, std::string valueName,
                             DWORD defaultValue, bool loadOnCreate, bool saveOnDestroy)
    : root(root),
      keyPath(std::move(keyPath)),
      valueName(std::move(valueName)),
      value(defaultValue),
      saveOnDestroy(saveOnDestroy) {
    if (loadOnCreate) {
        Load(defaultValue);
    }
}

RegistryDword::~RegistryDword() {
    if (modified && saveOnDestroy) {
        Save();
    }
    Close();
}

bool RegistryDword::Load(DWORD defaultValue) {
    value = defaultValue;
    if (!Open(root, keyPath, kFullAccess)) {
        return false;
    }
    DWORD stored = 0;
    if (!QueryDword(valueName, stored)) {
        return false;
    }
    value = stored;
    return true;
}

void RegistryDword::Set(DWORD number) {
    value = number;
    modified = true;
}

bool RegistryDword::Save() {
    if (!IsOpen() && !Create(root, keyPath, {}, kFullAccess)) {
        return false;
    }
    if (!SetDword(valueName, value)) {
        return false;
    }
    modified = false;
    return true;
}
