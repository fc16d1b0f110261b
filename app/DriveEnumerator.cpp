#include "app/DriveEnumerator.h"

namespace {
constexpr int kLastDrive = 25;  // Z
}

bool DriveEnumerator::Next() {
    const int start = index_;
    while (index_ < kLastDrive) {
        ++index_;
        if (query_(index_) != kUnknown) return true;
    }
    index_ = start;
    return false;
}

bool DriveEnumerator::FindFirstOfType(unsigned type) {
    while (Next()) {
        if (query_(index_) == type) return true;
    }
    return false;
}

std::string ProposedDirectory(DriveEnumerator& drives, const std::string& mainName) {
    // A machine without any fixed disk still gets a proposal the user can
    // edit; C: is where such a machine would most likely get one.
    const char letter = drives.FindFirstOfType(DriveEnumerator::kFixed) ? drives.Letter() : 'C';
    std::string directory = mainName;
    if (directory.empty() || directory.front() != '\\') directory.insert(directory.begin(), '\\');
    if (directory.back() != '\\') directory.push_back('\\');
    if (directory.size() > 1) directory.pop_back();
    return std::string(1, letter) + ":" + directory;
}
