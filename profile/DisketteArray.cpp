#include "profile/DisketteArray.h"

#include "errors/SetupException.h"

TVS_IMPLEMENT_DYNAMIC(Diskette, CObject)

void DisketteArray::Set(int number, std::unique_ptr<Diskette> diskette) {
    if (number < 0 || number > kMaxDisketteNumber) throw CInstallProfileException(1);
    if (static_cast<size_t>(number) >= slots.size()) slots.resize(static_cast<size_t>(number) + 1);
    slots[static_cast<size_t>(number)] = std::move(diskette);
}

const Diskette* DisketteArray::Get(int number) const {
    if (number < 0 || static_cast<size_t>(number) >= slots.size()) return nullptr;
    return slots[static_cast<size_t>(number)].get();
}

bool DisketteArray::GetLabel(int number, std::string& label) const {
    const Diskette* diskette = Get(number);
    if (diskette == nullptr) return false;
    label = diskette->label;
    return true;
}
