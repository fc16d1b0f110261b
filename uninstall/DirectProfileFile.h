#pragma once
// A profile-format file that this program writes itself, one line per key,
// through ProfileText: the platform's WritePrivateProfileStringA reads,
// parses and rewrites the whole file for every key, which makes a log of N
// lines cost N squared. The bytes are those the platform would write; text
// that ProfileText does not know for sure goes through the platform, and the
// file is loaded again afterwards. After every write the file is a whole
// profile: a new tail is written before the file is cut to its new end.
//
// All objects of one path in the process share one open file and one model,
// so the copy engine's log and an event logged meanwhile do not overwrite
// each other's lines. A change by anyone else is seen by the file's size
// and makes the model load the file again.
// Declarations are portable; the implementation is Windows only.

#include <string>
#include <vector>

#include "profile/ProfileSource.h"
#include "support/FilePath.h"

class DirectProfileFile : public ProfileSource, public ProfileSink {
public:
    explicit DirectProfileFile(const FilePath& file);
    // Closes the file when it is the path's last object, and hands it back
    // to the platform's profile functions.
    ~DirectProfileFile() override;
    DirectProfileFile(const DirectProfileFile&) = delete;
    DirectProfileFile& operator=(const DirectProfileFile&) = delete;

    // Through the platform's profile functions: every line written is in
    // the file already, under a last-write time no copy of it has.
    std::vector<std::string> Keys(const std::string& section) override;
    std::string Value(const std::string& section, const std::string& key) override;
    // One key, as WritePrivateProfileStringA writes it. Failures are not
    // reported: a key that cannot be written is missing, as with the platform.
    void Write(const std::string& section, const std::string& key, const std::string& value) override;

    struct Shared;

private:
    Shared* shared;
};
