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

using namespace installrun;

std::string SetupExe() { return testenv::BuiltFile("app\\SETUP.EXE"); }

// SETUP.EXE started with `arguments`.
std::string SetupCommand(const std::string& arguments) {
    return Quoted(SetupExe()) + (arguments.empty() ? "" : " " + arguments);
}

// A run that gets as far as the registration leaves the log, registry
// entries and the main directory behind; later tests must not find them.
RunTraces Traces() {
    RunTraces traces = DefaultTraces();
    traces.directories = {kProposedMainDir};
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
    ~Kit() { SystemState::RemoveTree(kDir); }
    Kit(const Kit&) = delete;
    Kit& operator=(const Kit&) = delete;
    static constexpr const char* kDir = "C:\\tvs-wizard-kit";
};

TEST(SetupRunTest, BatchRunEndsByItselfWithCodeZero) {
    SystemState state(Traces());
    Kit kit;
    Process setup(SetupCommand("/B " + Kit::Switch()));
    ASSERT_TRUE(setup.Started()) << SetupExe();
    EXPECT_EQ(setup.Wait(), 0);
}

TEST(SetupRunTest, QuietRunWithoutAProfileEndsWithCodeOneWithoutWaiting) {
    SystemState state(Traces());
    Process setup(SetupCommand("/Q /D:C:\\tvs-wizard-no-kit"));
    ASSERT_TRUE(setup.Started()) << SetupExe();
    // No report waits for an OK: the run ends by itself.
    EXPECT_EQ(setup.Wait(), 1);
}

// A batch run is unattended only in its pages: the report of a missing
// profile is shown, visible, and waits for its OK; then the run ends.
TEST(SetupRunTest, BatchRunWithoutAProfileShowsTheReportThenEndsWithCodeOne) {
    SystemState state(Traces());
    Process setup(SetupCommand("/B /D:C:\\tvs-wizard-no-kit"));
    ASSERT_TRUE(setup.Started()) << SetupExe();
    HWND report = WaitForDialog(setup, "Warning", IDC_ERROR_HEADLINE);
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(::IsWindowVisible(report));
    RECT r{};
    ::GetWindowRect(report, &r);
    EXPECT_GT(r.right - r.left, 0);
    EXPECT_EQ(guidriver::ControlText(report, IDC_ERROR_HEADLINE), "Setup cannot continue");
    EXPECT_EQ(guidriver::ControlText(report, IDC_ERROR_INFO), "9.0 (CInstallProfileException)");
    EXPECT_TRUE(guidriver::Click(report, IDOK));
    EXPECT_EQ(setup.Wait(), 1);
}

TEST(SetupRunTest, CancelConfirmedOnTheWelcomePageEndsWithCodeOne) {
    SystemState state(Traces());
    Process setup(SetupCommand(""));
    ASSERT_TRUE(setup.Started()) << SetupExe();
    HWND welcome = WaitForDialog(setup, "Welcome", 0);
    ASSERT_NE(welcome, nullptr);
    HWND bar = WaitForBar(welcome);
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(guidriver::IsControlEnabled(bar, IDC_BACK));
    EXPECT_TRUE(guidriver::IsControlEnabled(bar, IDC_NEXT));

    PostClick(bar, IDCANCEL);
    ASSERT_TRUE(guidriver::AnswerMessageBox("Tessaly Viewer Setup", "&Yes", kWindowTimeoutMs));
    HWND failed = WaitForDialog(setup, "Tessaly Viewer Setup", IDOK);
    ASSERT_NE(failed, nullptr);
    EXPECT_TRUE(guidriver::Click(failed, IDOK));
    EXPECT_EQ(setup.Wait(), 1);
}

TEST(SetupRunTest, ClickingThroughEveryPageEndsWithCodeZero) {
    SystemState state(Traces());
    Kit kit;
    Process setup(SetupCommand(Kit::Switch()));
    ASSERT_TRUE(setup.Started()) << SetupExe();
    const char* questions[] = {"Welcome", "Select Directory", "Select Program Item Group"};
    for (const char* title : questions) {
        SCOPED_TRACE(title);
        ASSERT_TRUE(NextOn(setup, title));
    }
    HWND finished = WaitForDialog(setup, "Tessaly Viewer Setup", IDOK);
    ASSERT_NE(finished, nullptr);
    EXPECT_TRUE(guidriver::Click(finished, IDOK));
    EXPECT_EQ(setup.Wait(), 0);
}

}  // namespace
