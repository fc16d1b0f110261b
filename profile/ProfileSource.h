#pragma once
// What the loader and the log writer need of a profile-format file, so that
// the container building runs on any host. The Windows build reads and writes
// real files through the platform's private-profile functions
// (PrivateProfile.h); MemoryProfile.h serves tests and fuzzing.
// Portable: no <windows.h>.

#include <string>
#include <utility>
#include <vector>

// Longest value the profile functions return: a 256-byte buffer passed with
// size 255 holds 254 characters and the terminator.
constexpr size_t kMaxProfileValue = 254;

class ProfileSource {
public:
    virtual ~ProfileSource() = default;
    // The key names of `section` in file order; empty when the file, the
    // section or its keys are missing.
    virtual std::vector<std::string> Keys(const std::string& section) = 0;
    // The value of `key` in `section`, at most kMaxProfileValue characters;
    // empty when there is none.
    virtual std::string Value(const std::string& section, const std::string& key) = 0;
};

class ProfileSink {
public:
    virtual ~ProfileSink() = default;
    // Replaces the value of an existing key or adds the key, creating the
    // section when it is missing.
    virtual void Write(const std::string& section, const std::string& key, const std::string& value) = 0;
};
