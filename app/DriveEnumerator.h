#pragma once
// Walks the drive letters A..Z to find a drive of a given type, for the
// directory the Setup proposes. The drive type comes from a query so that the
// walk itself is portable; the Windows half binds GetDriveTypeA.

#include <functional>
#include <string>

class DriveEnumerator {
public:
    // The platform's drive types (GetDriveTypeA's codes).
    static constexpr unsigned kUnknown = 0;
    static constexpr unsigned kFixed = 3;

    // Type of the drive with letter 'A' + index (0..25).
    using TypeQuery = std::function<unsigned(int index)>;

    explicit DriveEnumerator(TypeQuery query) : query_(std::move(query)) {}

    // Advances to the next letter whose type is not unknown. Past Z the
    // index goes back to where this call started and the result is false.
    bool Next();
    // Advances with Next until a drive of `type` is current (true), or the
    // letters run out (false; the index is then where the last Next left it).
    bool FindFirstOfType(unsigned type);

    int Index() const { return index_; }
    // The upper-case letter of the current drive; '\0' before the first.
    char Letter() const { return index_ < 0 ? '\0' : static_cast<char>('A' + index_); }

private:
    TypeQuery query_;
    int index_ = -1;
};

// The directory Setup proposes: the first fixed disk's letter (drive C: when
// the machine has none) and destination 0's name, without a trailing
// backslash unless it is the bare root ("C:\TYVIEWER", "C:\").
std::string ProposedDirectory(DriveEnumerator& drives, const std::string& mainName);

// Drive types as the system reports them for each letter's root.
DriveEnumerator::TypeQuery SystemDriveTypes();
