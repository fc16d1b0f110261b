#pragma once
// The system-wide reference count of one shared file (HKLM ...\SharedDLLs,
// value named by the file's full path, case kept). Loaded at construction;
// written back only by the destructor: a count above 0 is saved (the key is
// created when missing), a count of 0 deletes the value. Windows only.

#include <string>

#include "system/RegistryKey.h"

class SharedDllCount : public RegistryDword {
    TVS_DECLARE_DYNAMIC(SharedDllCount)
public:
    explicit SharedDllCount(const std::string& filePath);
    ~SharedDllCount() override;

    // +1; the count stops at 0xFFFFFFFF rather than wrap round to 0, which
    // would delete the value and orphan every other user of the file.
    void Increment();
    // -1 above 0; 0 stays 0.
    void Decrement();
    bool InUse() const { return Get() >= 1; }
};
