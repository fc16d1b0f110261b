#pragma once
// Diskette labels by diskette number. Portable: no <windows.h>.

#include <memory>
#include <string>
#include <vector>

#include "framework/Object.h"

// Diskette image directories carry the number in two digits ("DISK01"), so
// no kit has more diskettes than this.
constexpr int kMaxDisketteNumber = 99;

class Diskette : public CObject {
    TVS_DECLARE_DYNAMIC(Diskette)
public:
    std::string label;  // shown when this diskette must be inserted
    std::string text;   // kept, not read
};

class DisketteArray {
public:
    DisketteArray() = default;
    DisketteArray(const DisketteArray&) = delete;
    DisketteArray& operator=(const DisketteArray&) = delete;

    // Stores the diskette at `number`, growing the array to it and replacing
    // (destroying) a record already there. Throws CInstallProfileException
    // cause 1 for a number below 0 or above kMaxDisketteNumber.
    void Set(int number, std::unique_ptr<Diskette> diskette);
    // The record at `number`, or null when the number is beyond the array or
    // its slot is empty.
    const Diskette* Get(int number) const;
    // The label at `number`; false (and `label` untouched) when there is no record.
    bool GetLabel(int number, std::string& label) const;

    // One past the largest number stored.
    size_t size() const { return slots.size(); }

private:
    std::vector<std::unique_ptr<Diskette>> slots;
};
