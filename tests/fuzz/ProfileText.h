#pragma once
// Arbitrary bytes read as the text of a profile-format file (the install
// profile or the install log), for the fuzz targets that feed the loader.
// Portable: no <windows.h>.

#include <string>

#include "profile/MemoryProfile.h"

namespace fuzz {

// "[name]" starts a section, "key=value" adds a line to it; other lines are
// skipped, as the platform skips them. Lines end at LF (a CR before it is
// dropped) or at a NUL: the platform's functions hand back C strings, so no
// name or value ever holds one.
MemoryProfile ProfileFromText(const std::string& text);

}  // namespace fuzz
