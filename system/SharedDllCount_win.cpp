#include "system/SharedDllCount.h"

#include "system/RegistrationText.h"

TVS_IMPLEMENT_DYNAMIC(SharedDllCount, RegistryDword)

SharedDllCount::SharedDllCount(const std::string& filePath)
    : RegistryDword(HKEY_LOCAL_MACHINE, regtext::kSharedDllsKey, filePath, 0, true, true) {}

SharedDllCount::~SharedDllCount() {
    // The binding's own save-on-destroy would write a 0 back; the count
    // decides here instead.
    saveOnDestroy = false;
    if (Get() != 0) {
        Save();
    } else if (IsOpen()) {
        DeleteValue(valueName);
    }
    Close();
}

void SharedDllCount::Increment() {
    if (Get() != 0xFFFFFFFFu) {
        Set(Get() + 1);
    }
}

void SharedDllCount::Decrement() {
    if (Get() > 0) {
        Set(Get() - 1);
    }
}
