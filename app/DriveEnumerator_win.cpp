#include <windows.h>

#include "app/DriveEnumerator.h"

DriveEnumerator::TypeQuery SystemDriveTypes() {
    return [](int index) {
        const char root[] = {static_cast<char>('A' + index), ':', '\\', '\0'};
        return static_cast<unsigned>(::GetDriveTypeA(root));
    };
}
