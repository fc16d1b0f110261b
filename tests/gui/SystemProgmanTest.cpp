// Program Manager commands over DDE, checked against a stand-in server
// that records every command it receives. DDE needs a display under Wine.

#include "system/ProgramGroups.h"
#include "system/StartProgram.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wine/SystemTestSupport.h"

namespace {

// Runs tests/fakeprogman for the length of one test.
class FakeProgman {
public:
    explicit FakeProgman(const std::string& options) {
        log = systest::ScratchDir("progman") + "executes.log";
        const std::string eventName = "TvsFakeProgmanReady" + std::to_string(GetCurrentProcessId());
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        const std::string exe = systest::BinaryDir() + "\\tests\\fakeprogman\\fakeprogman.exe";
        std::string command = "\"" + exe + "\" \"" + log + "\" " + eventName + " " + options;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                           &process)) {
            HANDLE waitFor[2] = {ready, process.hProcess};
            // A generous bound only for a server that never comes up.
            running = WaitForMultipleObjects(2, waitFor, FALSE, 30000) == WAIT_OBJECT_0;
        }
        CloseHandle(ready);
    }
    ~FakeProgman() { Stop(); }

    // Ends the server and returns every command it logged, one per line.
    std::vector<std::string> Stop() {
        if (process.hProcess != nullptr) {
            PostThreadMessageA(process.dwThreadId, WM_QUIT, 0, 0);
            if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
                TerminateProcess(process.hProcess, 1);
                WaitForSingleObject(process.hProcess, INFINITE);
            }
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
            process = PROCESS_INFORMATION{};
        }
        std::vector<std::string> lines;
        const std::string text = systest::ReadFileText(log);
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) {
                end = text.size();
            }
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }

    bool running = false;

private:
    PROCESS_INFORMATION process{};
    std::string log;
};

TEST(SystemProgman, CommandStringsOfAddDeleteAndRemove) {
    FakeProgman server("");
    ASSERT_TRUE(server.running);
    {
        ProgramGroups groups(3);  // a system before version 4: Program Manager
        ASSERT_FALSE(groups.UsesShellLinks());
        EXPECT_TRUE(groups.AddProgramItem("Tessaly Viewer", "C:\\Program Files\\Tessaly\\tyviewer.exe",
                                          std::string(), "Tessaly Viewer", "", 0, "", 5, 5));
        EXPECT_TRUE(groups.AddProgramItem("Tessaly Viewer", "C:\\TY\\README.EXE", std::string("x.txt"),
                                          "Read Me", "C:\\TY\\TYVIEW.EXE", 2, "C:\\Ignored", 2, 5));
        // Too long for the 512-byte buffer: refused, nothing sent.
        EXPECT_FALSE(groups.AddProgramItem("Tessaly Viewer", "C:\\TY\\A.EXE", std::string(),
                                           std::string(600, 'n'), "", 0, "", 5, 5));
        EXPECT_TRUE(groups.DeleteItem("Tessaly Viewer", "Read Me"));
        EXPECT_TRUE(groups.DeleteGroup("Tessaly Viewer"));
    }
    const std::vector<std::string> expected = {
        "[CreateGroup (\"Tessaly Viewer\")]",
        "[ReplaceItem (Tessaly Viewer)]",
        "[AddItem (\"C:\\Program Files\\Tessaly\\tyviewer.exe\" ,\"Tessaly Viewer\","
        "\"C:\\Program Files\\Tessaly\\tyviewer.exe\",0,-1,-1,,,0)]",
        "[CreateGroup (\"Tessaly Viewer\")]",
        "[ReplaceItem (Read Me)]",
        "[AddItem (C:\\TY\\README.EXE x.txt,\"Read Me\",C:\\TY\\TYVIEW.EXE,2,-1,-1,,,1)]",
        "[CreateGroup (\"Tessaly Viewer\")]",
        "[DeleteItem (Read Me)]",
        "[DeleteGroup(\"Tessaly Viewer\")]",
    };
    EXPECT_EQ(server.Stop(), expected);
}

TEST(SystemProgman, RefusedReplaceItemStillAddsTheItem) {
    FakeProgman server("--fail-replace");
    ASSERT_TRUE(server.running);
    {
        ProgmanGroups groups;
        EXPECT_TRUE(groups.AddItem("G", "C:\\V.EXE", std::nullopt, "V", "", 0, 5, 5));
    }
    const std::vector<std::string> expected = {
        "[CreateGroup (\"G\")]",
        "[ReplaceItem (V)]",
        "[AddItem (C:\\V.EXE,\"V\",C:\\V.EXE,0,-1,-1,,,0)]",
    };
    EXPECT_EQ(server.Stop(), expected);
}

TEST(SystemProgman, ListGroupsIntoAListBox) {
    FakeProgman server("\"Accessories|Tessaly Viewer|Games\"");
    ASSERT_TRUE(server.running);
    {
        ProgmanGroups groups;
        std::vector<std::string> names;
        ASSERT_TRUE(groups.ListGroups(names));
        EXPECT_EQ(names, (std::vector<std::string>{"Accessories", "Tessaly Viewer", "Games"}));
    }
    // Into a sorted list box, as on the program-group page.
    HWND list = CreateWindowExA(0, "LISTBOX", "", LBS_SORT | LBS_NOTIFY | WS_VSCROLL | WS_POPUP, 0, 0,
                                100, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    {
        ProgmanGroups groups;
        ASSERT_TRUE(groups.ListGroups(list));
    }
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    std::vector<std::string> shown;
    for (int i = 0; i < 3; ++i) {
        char text[64] = {};
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        shown.push_back(text);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Accessories", "Games", "Tessaly Viewer"}));
    DestroyWindow(list);
    EXPECT_TRUE(server.Stop().empty());  // a request is not an execute
}

}  // namespace

namespace {

// Never starts anything: only a server that is already there may answer.
class NoStartGroups : public ProgmanGroups {
protected:
    bool StartProgramManager() override { return false; }
};

// The shell of the prefix serves "PROGMAN" itself; its group list reply is
// read without error (Wine's is empty).
TEST(SystemProgman, ShellOfThePrefixAnswersTheGroupRequest) {
    NoStartGroups groups;
    std::vector<std::string> names{"stale"};
    ASSERT_TRUE(groups.ListGroups(names));
    for (const auto& name : names) {
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(name.find_first_of("\r\n"), std::string::npos);
    }
}

// The Program Manager and the clean-up program are both started with show
// command 5 (SW_SHOW), in a normal visible window, and not waited for.
TEST(SystemStartProgram, ProgramsAreStartedWithShowCommandFive) {
    const std::string file = systest::ScratchDir("startshow") + "show.txt";
    DeleteFileA(file.c_str());
    const std::string exe = systest::BinaryDir() + "\\tests\\fakeprogman\\fakeprogman.exe";
    ASSERT_TRUE(StartDetachedProgram("\"" + exe + "\" --print-show \"" + file + "\""));
    std::string shown;
    for (int i = 0; i < 300 && shown.size() < 3; ++i) {
        Sleep(50);
        shown = systest::ReadFileText(file);
    }
    EXPECT_EQ(shown, "1 5");
    EXPECT_FALSE(StartDetachedProgram("C:\\tvs-no-such-dir\\no-such-program.exe"));
}

}  // namespace
