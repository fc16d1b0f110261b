// The profile file written line by line against the same keys written
// through WritePrivateProfileStringA: the files must be byte for byte the
// same, whatever the file held before and whoever else writes or reads it
// meanwhile.

#include "uninstall/DirectProfileFile.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../unit/ArchiveTestSupport.h"
#include "profile/PrivateProfile.h"

using namespace archive_test;

namespace {

struct Line {
    std::string section, key, value;
};

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void PlatformWrite(const std::string& path, const Line& line) {
    WritePrivateProfileStringA(line.section.c_str(), line.key.c_str(), line.value.c_str(), path.c_str());
}

// What an install writes: file lines of two components, an event between
// them, the three state sections at the end.
std::vector<Line> InstallLines(int files, const char* placed) {
    std::vector<Line> lines;
    lines.push_back({"Events", "10:00:00:0001", "Setup started."});
    for (int i = 0; i < files; ++i)
        lines.push_back({i < files / 2 ? "Viewer" : "Samples", "S" + std::to_string(1000 + i) + ".DAT", placed});
    lines.insert(lines.begin() + files / 3, Line{"Events", "10:00:01:0002", "Could not write SMS status."});
    lines.push_back({"destinations", "0", "TYVIEWER|-1|C:\\Tessaly Viewer"});
    lines.push_back({"groups", "Viewer", "Tessaly Viewer|The program|1|1|1"});
    lines.push_back({"targets", "TYVIEWER.EXE", "0|1|0|Tessaly Viewer||tyviewer.exe|C:\\Tessaly Viewer\\TYVIEWER.EXE"});
    return lines;
}

// Writes `lines` over `start` both ways; both files must end the same.
void ExpectSameAsPlatform(const std::string& start, const std::vector<Line>& lines, bool fromNothing = false) {
    ScratchDir scratch;
    const std::string platform = scratch.File("PLATFORM.LOG");
    const std::string direct = scratch.File("DIRECT.LOG");
    if (!fromNothing) {
        Put(platform, start);
        Put(direct, start);
    }
    for (const Line& line : lines) PlatformWrite(platform, line);
    {
        DirectProfileFile file{FilePath(direct)};
        for (const Line& line : lines) file.Write(line.section, line.key, line.value);
    }
    EXPECT_EQ(Bytes(direct), Bytes(platform));
}

TEST(DirectProfileFile, WritesTheBytesThePlatformWrites) {
    SCOPED_TRACE("fresh install");
    ExpectSameAsPlatform("", InstallLines(40, "0|1|0"), true);
    {
        SCOPED_TRACE("re-install over the log: keys replaced, not doubled, some values longer or shorter");
        ScratchDir scratch;
        const std::string first = scratch.File("FIRST.LOG");
        for (const Line& line : InstallLines(40, "0|1|0")) PlatformWrite(first, line);
        std::vector<Line> again = InstallLines(44, "0|0|1");
        again[5].value = "-3|1|1";
        again[20].value = "";
        again.push_back({"destinations", "0", "TYVIEWER|-1|D:\\V"});
        ExpectSameAsPlatform(Bytes(first), again);
    }
    {
        SCOPED_TRACE("a component whose section already exists, not last");
        ExpectSameAsPlatform("[Viewer]\r\nOLD.TXT=0|1|0\r\n[Events]\r\n09:00:00:0001=Old run.\r\n",
                             {{"Viewer", "NEW.TXT", "0|1|0"}, {"viewer", "old.txt", "0|0|1"},
                              {"VIEWER", "NEWER.TXT", "1|1|0"}, {"Events", "10:00:00:0001", "New run."}});
    }
}

TEST(DirectProfileFile, TextItDoesNotKnowGoesThroughThePlatform) {
    const std::vector<Line> lines = {{"Viewer", "A.TXT", "0|1|0"}, {"Viewer", "B.TXT", "0|1|0"},
                                     {"Events", "10:00:00:0001", "Caf\xE9 not found."}, {"Viewer", "C.TXT", "0|1|0"}};
    struct Case {
        const char* name;
        const char* start;
    } cases[] = {
        {"blank lines and blanks around '='", "[Viewer]\r\nOLD.TXT = 0|1|0 \r\n\r\n[Other]\r\nx=1\r\n"},
        {"comment and a line without '='", "; written by hand\r\n[Viewer]\r\nnokey\r\nOLD.TXT=1\r\n"},
        {"LF line ends, no end on the last", "[Viewer]\nOLD.TXT=1\n[Other]\nx=1"},
        {"same section twice", "[Viewer]\r\nA.TXT=1\r\n[Other]\r\n[Viewer]\r\nB.TXT=2\r\n"},
        {"plain text, a non-ASCII line among plain ones", "[Viewer]\r\nOLD.TXT=1\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSameAsPlatform(c.start, lines);
    }
}

// Keys and sections drawn from few names in mixed case and values of
// several lengths, so that every kind of edit happens in every place.
TEST(DirectProfileFile, RandomWritesMatchThePlatform) {
    std::mt19937 random(1995);
    const char* sections[] = {"Viewer", "samples", "Events", "destinations"};
    const char* values[] = {"0|1|0", "", "-3|1|1", "TYVIEWER|-1|C:\\Program Files\\Tessaly Viewer", "\"q\""};
    std::vector<Line> lines;
    for (int i = 0; i < 300; ++i) {
        std::string key = "K" + std::to_string(random() % 30) + ".DAT";
        if (random() % 2) key[0] = 'k';
        lines.push_back({sections[random() % 4], key, values[random() % 5]});
    }
    ExpectSameAsPlatform("", lines, true);
}

TEST(DirectProfileFile, OthersWritingMeanwhileAreNotOverwritten) {
    ScratchDir scratch;
    const std::string platform = scratch.File("PLATFORM.LOG");
    const std::string direct = scratch.File("DIRECT.LOG");
    const std::vector<Line> before = {{"Viewer", "A.TXT", "0|1|0"}, {"Events", "10:00:00:0001", "Started."}};
    const Line otherObject{"Events", "10:00:00:0002", "Disk full."};
    const Line otherProgram{"Events", "10:00:00:0003", "Appended."};
    const std::vector<Line> after = {{"Viewer", "C.TXT", "0|1|0"}, {"Samples", "1CRN.PDB", "5|1|1"}};

    for (const Line& line : before) PlatformWrite(platform, line);
    PlatformWrite(platform, otherObject);
    PlatformWrite(platform, otherProgram);
    for (const Line& line : after) PlatformWrite(platform, line);

    {
        DirectProfileFile log{FilePath(direct)};
        for (const Line& line : before) log.Write(line.section, line.key, line.value);
        {
            // An event logged while the copy engine's log is open.
            DirectProfileFile events{FilePath(direct)};
            EXPECT_EQ(events.Value("Viewer", "A.TXT"), "0|1|0");
            events.Write(otherObject.section, otherObject.key, otherObject.value);
        }
        // Another program adding a line of its own, and a reader through the
        // platform that must see every line so far.
        HANDLE other = CreateFileA(direct.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        const std::string line = otherProgram.key + "=" + otherProgram.value + "\r\n";
        DWORD written = 0;
        SetFilePointer(other, 0, nullptr, FILE_END);
        WriteFile(other, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(other);
        EXPECT_EQ(PrivateProfile(FilePath(direct)).Keys("Events"),
                  (std::vector<std::string>{"10:00:00:0001", "10:00:00:0002", "10:00:00:0003"}));
        for (const Line& line : after) log.Write(line.section, line.key, line.value);
        EXPECT_EQ(log.Keys("Events").size(), 3u);
    }
    EXPECT_EQ(Bytes(direct), Bytes(platform));
}

TEST(DirectProfileFile, PlatformReadersSeeEveryLineAtOnce) {
    ScratchDir scratch;
    const std::string path = scratch.File("TYVIEWER.LOG");
    // The platform has the file in memory before the direct writes start,
    // and every line is read back at once, well inside one step of the
    // host's file times.
    PlatformWrite(path, {"Viewer", "A.TXT", "0|1|0"});
    PrivateProfile reader{FilePath(path)};
    ASSERT_EQ(reader.Value("Viewer", "A.TXT"), "0|1|0");
    DirectProfileFile file{FilePath(path)};
    for (int i = 0; i < 50; ++i) {
        const std::string key = "F" + std::to_string(i) + ".TXT";
        const std::string value = std::to_string(i) + "|1|0";
        file.Write("Viewer", key, value);
        ASSERT_EQ(reader.Value("Viewer", key), value) << key;
        file.Write("Viewer", "A.TXT", std::to_string(i % 10) + "|0|0");
        ASSERT_EQ(reader.Value("Viewer", "A.TXT"), std::to_string(i % 10) + "|0|0") << i;
    }
}

TEST(DirectProfileFile, ABareNameIsTheWindowsDirectorysFileAsForThePlatform) {
    char windows[MAX_PATH] = "";
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    const std::string platform = std::string(windows) + "\\TVSBARE1.LOG";
    const std::string direct = std::string(windows) + "\\TVSBARE2.LOG";
    DeleteFileA(platform.c_str());
    DeleteFileA(direct.c_str());
    WritePrivateProfileStringA("Viewer", "A.TXT", "0|1|0", "TVSBARE1.LOG");
    {
        DirectProfileFile file{FilePath("TVSBARE2.LOG")};
        file.Write("Viewer", "A.TXT", "0|1|0");
    }
    EXPECT_EQ(GetFileAttributesA("TVSBARE2.LOG"), INVALID_FILE_ATTRIBUTES) << "not in the current directory";
    EXPECT_EQ(Bytes(direct), Bytes(platform));
    EXPECT_EQ(Bytes(direct), "[Viewer]\r\nA.TXT=0|1|0\r\n");
    DeleteFileA(platform.c_str());
    DeleteFileA(direct.c_str());
}

TEST(DirectProfileFile, NothingWrittenLeavesNoFile) {
    ScratchDir scratch;
    const std::string path = scratch.File("NONE.LOG");
    {
        DirectProfileFile file{FilePath(path)};
        EXPECT_TRUE(file.Keys("Viewer").empty());
        EXPECT_EQ(file.Value("Viewer", "A.TXT"), "");
    }
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
