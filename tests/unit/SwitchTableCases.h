#pragma once
// What the switch table tests compare: the table a command line parses to,
// and the settings Setup reads from it.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/SwitchTable.h"

namespace switch_cases {

using Table = std::vector<std::pair<std::string, std::string>>;

// The whole table of `arguments`, sorted by key.
inline Table Parse(const std::string& arguments) {
    const SwitchTable table = ParseSwitches(arguments);
    return Table(table.begin(), table.end());
}

// A command line and the settings it must give.
struct SettingsCase {
    std::string arguments;
    bool uninstall, batch, ignore, hasDirectory;
    std::string directory;
    bool quiet = false;
};

inline void ExpectSettings(const SettingsCase& c) {
    SCOPED_TRACE(c.arguments);
    const SwitchSettings s = ReadSwitchSettings(ParseSwitches(c.arguments));
    EXPECT_EQ(s.uninstallMode, c.uninstall);
    EXPECT_EQ(s.batchMode, c.batch);
    EXPECT_EQ(s.quietMode, c.quiet);
    EXPECT_EQ(s.ignoreConditions, c.ignore);
    EXPECT_EQ(s.hasDirectory, c.hasDirectory);
    EXPECT_EQ(s.directory, c.directory);
}

}  // namespace switch_cases
