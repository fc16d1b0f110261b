// The built SETUP.EXE as its own process: started with a command line,
// driven from outside like a user, judged by its exit code.

#include <windows.h>

#include <gtest/gtest.h>

#include "InstallRunSupport.h"
#include "TestEnvironment.h"

#include <cstdlib>
#include <string>

#include "resources/ResourceIds.h"
#include "tools/guidriver/GuiDriver.h"

namespace {

// Generous bounds for a loaded machine; they only stop a hung run.
constexpr DWORD kWindowTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 60000;

std::string SetupExe() { return testenv::BuiltFile("app\\SETUP.EXE"); }

class SetupProcess {
public:
    explicit SetupProcess(const std::string& arguments) {
        std::string commandLine = "\"" + SetupExe() + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                    &info_) != FALSE;
    }
    ~SetupProcess() {
        if (!started_) return;
        // A run that a failed test left waiting must not outlive the test.
        if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(info_.hProcess, 99);
        ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }
    SetupProcess(const SetupProcess&) = delete;
    SetupProcess& operator=(const SetupProcess&) = delete;

    bool Started() const { return started_; }
    DWORD ThreadId() const { return info_.dwThreadId; }

    // The exit code, or -1 when the process did not end in time.
    long Wait() {
        if (::WaitForSingleObject(info_.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// The visible page titled `title` of the run, with its bar when it has one.
HWND WaitForPage(const SetupProcess& setup, const std::string& title, int requiredControl = 0) {
    return guidriver::WaitForWindow(title, kWindowTimeoutMs, requiredControl, "#32770", setup.ThreadId());
}

HWND BarOf(HWND page) { return ::FindWindowExA(page, nullptr, "#32770", nullptr); }

// A bar button pressed without waiting for what it starts (a question
// would keep a synchronous click from returning).
void PostClick(HWND bar, int id) {
    ::PostMessageA(bar, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(bar, id)));
}

// A run that gets as far as the registration leaves the log, registry
// entries and the main directory behind; later tests must not find them.
installrun::RunTraces Traces() {
    installrun::RunTraces traces = installrun::DefaultTraces();
    traces.directories = {installrun::kProposedMainDir};
    return traces;
}

// A kit directory with Setup's profile in it; Setup is pointed at it with
// "/D:". The profile names the main directory itself, so no question page
// has to supply it.
class Kit {
public:
    Kit() {
        ::CreateDirectoryA(kDir, nullptr);
        const std::string profile = std::string(kDir) + "\\SETUP.ini";
        ::WritePrivateProfileStringA("destinations", "0", "TYVIEWER|-1|C:\\TVSWIZ\\TYVIEWER", profile.c_str());
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, profile.c_str());
    }
    static std::string Switch() { return std::string("/D:") + kDir; }
    ~Kit() { installrun::SystemState::RemoveTree(kDir); }
    Kit(const Kit&) = delete;
    Kit& operator=(const Kit&) = delete;
    static constexpr const char* kDir = "C:\\tvs-wizard-kit";
};

TEST(SetupRunTest, BatchRunEndsByItselfWithCodeZero) {
    installrun::SystemState state(Traces());
    Kit kit;
    SetupProcess setup("/B " + Kit::Switch());
    ASSERT_TRUE(setup.Started()) << SetupExe();
    EXPECT_EQ(setup.Wait(), 0);
}

TEST(SetupRunTest, BatchRunWithoutAProfileEndsWithCodeOneWithoutWaiting) {
    installrun::SystemState state(Traces());
    SetupProcess setup("/B /D:C:\\tvs-wizard-no-kit");
    ASSERT_TRUE(setup.Started()) << SetupExe();
    // No report waits for an OK: the run ends by itself.
    EXPECT_EQ(setup.Wait(), 1);
}

TEST(SetupRunTest, CancelConfirmedOnTheWelcomePageEndsWithCodeOne) {
    installrun::SystemState state(Traces());
    SetupProcess setup("");
    ASSERT_TRUE(setup.Started()) << SetupExe();
    HWND welcome = WaitForPage(setup, "Welcome");
    ASSERT_NE(welcome, nullptr);
    HWND bar = nullptr;
    for (int i = 0; i < 100 && !bar; ++i) {
        bar = BarOf(welcome);
        if (!bar) ::Sleep(50);
    }
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(guidriver::IsControlEnabled(bar, IDC_BACK));
    EXPECT_TRUE(guidriver::IsControlEnabled(bar, IDC_NEXT));

    PostClick(bar, IDCANCEL);
    ASSERT_TRUE(guidriver::AnswerMessageBox("Tessaly Viewer Setup", "&Yes", kWindowTimeoutMs));
    HWND failed = WaitForPage(setup, "Tessaly Viewer Setup", IDOK);
    ASSERT_NE(failed, nullptr);
    EXPECT_TRUE(guidriver::Click(failed, IDOK));
    EXPECT_EQ(setup.Wait(), 1);
}

TEST(SetupRunTest, ClickingThroughEveryPageEndsWithCodeZero) {
    installrun::SystemState state(Traces());
    Kit kit;
    SetupProcess setup(Kit::Switch());
    ASSERT_TRUE(setup.Started()) << SetupExe();
    const char* questions[] = {"Welcome", "Select Directory", "Select Program Item Group"};
    for (const char* title : questions) {
        SCOPED_TRACE(title);
        HWND page = WaitForPage(setup, title);
        ASSERT_NE(page, nullptr);
        HWND bar = nullptr;
        for (int i = 0; i < 100 && !bar; ++i) {
            bar = BarOf(page);
            if (!bar) ::Sleep(50);
        }
        ASSERT_NE(bar, nullptr);
        PostClick(bar, IDC_NEXT);
    }
    HWND finished = WaitForPage(setup, "Tessaly Viewer Setup", IDOK);
    ASSERT_NE(finished, nullptr);
    EXPECT_TRUE(guidriver::Click(finished, IDOK));
    EXPECT_EQ(setup.Wait(), 0);
}

}  // namespace
