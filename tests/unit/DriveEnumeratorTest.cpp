// The walk over drive letters that finds the drive for the proposed install
// directory, and the proposal built from it.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/DriveEnumerator.h"

namespace {

constexpr unsigned kNoRoot = 1;
constexpr unsigned kRemovable = 2;
constexpr unsigned kFixed = DriveEnumerator::kFixed;
constexpr unsigned kRemote = 4;
constexpr unsigned kCdRom = 5;

// A machine: drive letter -> type; letters not listed are unknown.
DriveEnumerator::TypeQuery Machine(std::map<char, unsigned> drives) {
    return [drives](int index) {
        EXPECT_GE(index, 0);
        EXPECT_LE(index, 25);
        const auto it = drives.find(static_cast<char>('A' + index));
        return it == drives.end() ? DriveEnumerator::kUnknown : it->second;
    };
}

TEST(DriveEnumeratorTest, NextVisitsOnlyLettersOfAKnownTypeAndRestoresItsStartPastZ) {
    DriveEnumerator drives(Machine({{'A', kRemovable}, {'C', kFixed}, {'M', kNoRoot}, {'Z', kRemote}}));
    EXPECT_EQ(drives.Index(), -1);
    EXPECT_EQ(drives.Letter(), '\0');
    std::string seen;
    while (drives.Next()) seen.push_back(drives.Letter());
    EXPECT_EQ(seen, "ACMZ");
    // The failed call leaves the index where it began: on Z.
    EXPECT_EQ(drives.Index(), 25);

    DriveEnumerator none(Machine({}));
    EXPECT_FALSE(none.Next());
    EXPECT_EQ(none.Index(), -1);

    DriveEnumerator onlyA(Machine({{'A', kRemovable}}));
    ASSERT_TRUE(onlyA.Next());
    EXPECT_FALSE(onlyA.Next());
    EXPECT_EQ(onlyA.Letter(), 'A');
}

struct FindCase {
    std::map<char, unsigned> drives;
    unsigned type;
    bool found;
    char letter;  // after the search
};

TEST(DriveEnumeratorTest, FindFirstOfTypeStopsOnTheFirstMatchingDrive) {
    const FindCase cases[] = {
        {{{'A', kRemovable}, {'C', kFixed}, {'D', kFixed}}, kFixed, true, 'C'},
        {{{'A', kRemovable}, {'C', kCdRom}, {'D', kFixed}}, kFixed, true, 'D'},
        {{{'Z', kFixed}}, kFixed, true, 'Z'},
        {{{'A', kRemovable}, {'C', kRemote}}, kFixed, false, 'C'},
        {{}, kFixed, false, '\0'},
        {{{'A', kRemovable}, {'C', kFixed}}, kRemovable, true, 'A'},
    };
    for (const FindCase& c : cases) {
        DriveEnumerator drives(Machine(c.drives));
        EXPECT_EQ(drives.FindFirstOfType(c.type), c.found) << c.letter;
        EXPECT_EQ(drives.Letter(), c.letter);
    }
    // A second search goes on after the first match.
    DriveEnumerator drives(Machine({{'C', kFixed}, {'E', kFixed}}));
    ASSERT_TRUE(drives.FindFirstOfType(kFixed));
    ASSERT_TRUE(drives.FindFirstOfType(kFixed));
    EXPECT_EQ(drives.Letter(), 'E');
}

struct ProposalCase {
    std::map<char, unsigned> drives;
    const char* name;
    const char* expected;
};

TEST(DriveEnumeratorTest, ProposedDirectoryIsOnTheFirstFixedDiskWithOneSeparator) {
    const ProposalCase cases[] = {
        {{{'A', kRemovable}, {'C', kFixed}}, "TYVIEWER", "C:\\TYVIEWER"},
        {{{'A', kRemovable}, {'C', kCdRom}, {'D', kFixed}}, "TYVIEWER", "D:\\TYVIEWER"},
        {{{'C', kFixed}}, "\\TYVIEWER\\", "C:\\TYVIEWER"},
        {{{'C', kFixed}}, "\\TYVIEWER", "C:\\TYVIEWER"},
        {{{'C', kFixed}}, "APPS\\TYVIEWER", "C:\\APPS\\TYVIEWER"},
        {{{'C', kFixed}}, "", "C:\\"},
        {{{'C', kFixed}}, "\\", "C:\\"},
        // No fixed disk at all: drive C: all the same.
        {{{'A', kRemovable}, {'E', kRemote}}, "TYVIEWER", "C:\\TYVIEWER"},
        {{}, "TYVIEWER", "C:\\TYVIEWER"},
    };
    for (const ProposalCase& c : cases) {
        DriveEnumerator drives(Machine(c.drives));
        EXPECT_EQ(ProposedDirectory(drives, c.name), c.expected) << c.name;
    }
}

}  // namespace
