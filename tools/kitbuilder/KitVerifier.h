#pragma once
// Checks a finished kit the way Setup will meet it: every archive is walked
// volume by volume and diskette by diskette as the reader walks it, every
// member decoded and its checksum compared; the install profile must agree
// with what the diskettes hold (sizes, counts, diskettes, destinations that
// resolve). Each problem names the diskette, the volume and the member where
// it was found. Portable.

#include <functional>
#include <string>
#include <vector>

struct KitVerifyResult {
    std::vector<std::string> problems;  // empty: the kit is sound
    int archives = 0;
    int members = 0;
    int singleFiles = 0;
};

// kitDir holds DISK01, DISK02, ...; the profile is DISK01/profileName.
// progress (optional) hears one line per volume and per single file.
KitVerifyResult VerifyKit(const std::string& kitDir, const std::string& profileName = "SETUP.ini",
                          const std::function<void(const std::string&)>& progress = {});
