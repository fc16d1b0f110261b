#pragma once
// The registry key wrapper and the two value bindings built on it. Windows
// only. No operation throws: results are booleans, the status of the last
// registry call is kept in lastError (0 for success).

#include <windows.h>

#include <string>

#include "framework/Object.h"

class RegistryKey : public CObject {
    TVS_DECLARE_DYNAMIC(RegistryKey)
public:
    // Full access, used for every key Setup opens or creates.
    static constexpr REGSAM kFullAccess = KEY_ALL_ACCESS;

    RegistryKey() = default;
    ~RegistryKey() override;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // RegOpenKeyExA; an open key is closed first.
    bool Open(HKEY root, const std::string& subKey, REGSAM access = kFullAccess);
    // RegCreateKeyExA, non-volatile, no security attributes; an open key is closed first.
    bool Create(HKEY root, const std::string& subKey, const std::string& className = {},
                REGSAM access = kFullAccess);
    // RegDeleteKeyA; uses no open key.
    bool DeleteKey(HKEY root, const std::string& subKey);
    // Closes the open key; with none open it succeeds.
    bool Close();
    bool DeleteValue(const std::string& name);
    // A REG_SZ value; another type fails with ERROR_INVALID_DATATYPE.
    bool QueryString(const std::string& name, std::string& text);
    bool SetString(const std::string& name, const std::string& text);
    // A REG_DWORD value; another type fails with ERROR_INVALID_DATATYPE.
    bool QueryDword(const std::string& name, DWORD& value);
    bool SetDword(const std::string& name, DWORD value);

    bool IsOpen() const { return key != nullptr; }
    LONG LastError() const { return lastError; }

protected:
    bool Record(LONG status) {
        lastError = status;
        return status == ERROR_SUCCESS;
    }

    HKEY key = nullptr;
    LONG lastError = ERROR_SUCCESS;
};

// One string value bound to (root, key path, value name). An empty value
// name is the key's default value.
class RegistryString : public RegistryKey {
    TVS_DECLARE_DYNAMIC(RegistryString)
public:
    RegistryString(HKEY root, std::string keyPath, std::string valueName,
                   std::string defaultValue = {}, bool loadOnCreate = true,
                   bool saveOnDestroy = false);
    // Saves a changed value when saveOnDestroy is set; closes the key.
    ~RegistryString() override;

    // The default, then the stored value when the key and a REG_SZ value
    // exist. The key stays open.
    bool Load(const std::string& defaultValue);
    const std::string& Get() const { return value; }
    void Set(const std::string& text);
    // Creates the key when none is open, writes the value, clears modified.
    bool Save();
    bool IsModified() const { return modified; }

protected:
    HKEY root;
    std::string keyPath;
    std::string valueName;
    std::string value;
    bool modified = false;
    bool saveOnDestroy;
};

// One REG_DWORD value, with the same life as RegistryString.
class RegistryDword : public RegistryKey {
    TVS_DECLARE_DYNAMIC(RegistryDword)
public:
    RegistryDword(HKEY root, std::string keyPath, std::string valueName, DWORD defaultValue = 0,
                  bool loadOnCreate = true, bool saveOnDestroy = false);
    ~RegistryDword() override;

    bool Load(DWORD defaultValue);
    DWORD Get() const { return value; }
    void Set(DWORD number);
    bool Save();
    bool IsModified() const { return modified; }

protected:
    HKEY root;
    std::string keyPath;
    std::string valueName;
    DWORD value = 0;
    bool modified = false;
    bool saveOnDestroy;
};
