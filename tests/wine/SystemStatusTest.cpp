#include "system/InstallStatus.h"
#include "system/RestartSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "wine/SystemTestSupport.h"

namespace {

// Puts the stand-in status library (built beside the tests) on the DLL
// search path, and its record file into a scratch directory.
class SystemStatus : public ::testing::Test {
protected:
    void SetUp() override {
        dir = systest::ScratchDir("status");
        record = dir + "ismif32.log";
        SetEnvironmentVariableA("TVS_ISMIF32_LOG", record.c_str());
        SetEnvironmentVariableA("TVS_ISMIF32_RESULT", nullptr);
    }
    void TearDown() override {
        SetDllDirectoryA(nullptr);
        SetEnvironmentVariableA("TVS_ISMIF32_LOG", nullptr);
        SetEnvironmentVariableA("TVS_ISMIF32_RESULT", nullptr);
    }
    void UseStandIn() {
        const std::string tools = systest::BinaryDir() + "\\tools\\ismif32";
        ASSERT_TRUE(systest::FileExists(tools + "\\ismif32.dll")) << tools;
        ASSERT_TRUE(SetDllDirectoryA(tools.c_str()));
    }
    std::string dir;
    std::string record;
};

TEST_F(SystemStatus, AbsentLibraryFailsAndTheCallerLogs) {
    ASSERT_EQ(GetModuleHandleA(kStatusLibrary), nullptr);
    std::vector<std::string> events;
    EXPECT_FALSE(ReportRunOutcome("tyviewer.exe", "Tessaly Viewer", true, "Successful installation.",
                                  [&](const std::string& e) { events.push_back(e); }));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], "Could not write SMS status.");
    EXPECT_FALSE(systest::FileExists(record));
}

TEST_F(SystemStatus, StandInRecordsTheEightValuesInOrder) {
    UseStandIn();
    std::vector<std::string> events;
    EXPECT_TRUE(ReportRunOutcome("TYVIEW.EXE", "Tessaly Viewer", false, "Install failed.",
                                 [&](const std::string& e) { events.push_back(e); }));
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(systest::ReadFileText(record),
              "reportName=TYVIEW\n"
              "manufacturer=\n"
              "product=Tessaly Viewer\n"
              "version=1.0\n"
              "locale=ENU\n"
              "serialNumber=(null)\n"
              "statusText=Install failed.\n"
              "success=0\n");
    // The library is loaded for the one call only.
    EXPECT_EQ(GetModuleHandleA(kStatusLibrary), nullptr);

    EXPECT_TRUE(ReportInstallStatus("r", "m", "p", "v", "Successful installation.", true, "DEU",
                                    "SN-1"));
    EXPECT_EQ(systest::ReadFileText(record),
              "reportName=r\nmanufacturer=m\nproduct=p\nversion=v\nlocale=DEU\n"
              "serialNumber=SN-1\nstatusText=Successful installation.\nsuccess=1\n");
}

TEST_F(SystemStatus, RefusedReportAndMissingFunctionFail) {
    UseStandIn();
    SetEnvironmentVariableA("TVS_ISMIF32_RESULT", "0");
    std::vector<std::string> events;
    EXPECT_FALSE(ReportRunOutcome("tyviewer.exe", "Tessaly Viewer", true, "Successful installation.",
                                  [&](const std::string& e) { events.push_back(e); }));
    EXPECT_EQ(events, std::vector<std::string>{"Could not write SMS status."});
    EXPECT_TRUE(systest::FileExists(record));  // it was called, and said no

    // A library without the function.
    EXPECT_FALSE(ReportInstallStatusFrom("version.dll", BuildStatusReport("a.exe", "P", true, "x")));
}

TEST(SystemStatusStrings, ReportTextsInTheStringTable) {
    char buffer[256];
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_STATUS_SUCCESS, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "Successful installation.");
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_STATUS_FAILED, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "Install failed.");
}

// Only fake hooks are ever used here: the real ExitWindowsEx would end
// every process of the Wine prefix.
TEST(SystemRestart, RefusedRestartShowsString23AndStays) {
    struct Case {
        BOOL systemAnswer;
        bool expected;
        int messages;
    } cases[] = {{TRUE, true, 0}, {FALSE, false, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.systemAnswer);
        std::vector<std::pair<UINT, DWORD>> calls;
        std::vector<std::string> shown;
        RestartHooks hooks;
        hooks.exitWindows = [&](UINT flags, DWORD reserved) {
            calls.emplace_back(flags, reserved);
            return c.systemAnswer;
        };
        hooks.showMessage = [&](const std::string& text) { shown.push_back(text); };
        hooks.loadString = [](UINT id) {
            char buffer[512];
            int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
            return n > 0 ? std::string(buffer, n) : std::string();
        };
        EXPECT_EQ(RestartSystem(hooks), c.expected);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].first, static_cast<UINT>(EWX_REBOOT));
        EXPECT_EQ(calls[0].second, 0u);
        ASSERT_EQ(shown.size(), static_cast<std::size_t>(c.messages));
        if (c.messages == 1) {
            EXPECT_EQ(shown[0],
                      "Windows could not shut down all running applications. \n\n Please close them "
                      "manually, then try again.");
        }
    }
}

// On NT the shut-down privilege is enabled before the restart is asked
// for, whatever the answer; on Windows 95, which has no tokens, it is not.
TEST(SystemRestart, ShutdownPrivilegeIsEnabledFirstOnNTOnly) {
    struct Case {
        bool nt;
        bool privilegeEnabled;
        BOOL systemAnswer;
        const char* expected;
    } cases[] = {
        {true, true, TRUE, "privilege exit"},
        {true, false, FALSE, "privilege exit message"},
        {true, true, FALSE, "privilege exit message"},
        {false, true, TRUE, "exit"},
        {false, true, FALSE, "exit message"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.nt ? "NT " : "95 ") + c.expected);
        std::string order;
        const auto note = [&order](const char* what) { order += order.empty() ? what : std::string(" ") + what; };
        RestartHooks hooks;
        hooks.runningOnNT = [&] { return c.nt; };
        hooks.enableShutdownPrivilege = [&] {
            note("privilege");
            return c.privilegeEnabled;
        };
        hooks.exitWindows = [&](UINT, DWORD) {
            note("exit");
            return c.systemAnswer;
        };
        hooks.showMessage = [&](const std::string&) { note("message"); };
        EXPECT_EQ(RestartSystem(hooks), c.systemAnswer == TRUE);
        EXPECT_EQ(order, c.expected);
    }
}

// The production hooks ask the platform; the privilege step itself runs for
// real (it only changes this process's token), found in ADVAPI32 at run time.
TEST(SystemRestart, ProductionHooksAskThePlatformAndEnableThePrivilege) {
    const RestartHooks hooks = ProductionRestartHooks(nullptr, "test");
    ASSERT_TRUE(hooks.runningOnNT);
    ASSERT_TRUE(hooks.enableShutdownPrivilege);
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(::GetVersionExA(&info));
    EXPECT_EQ(hooks.runningOnNT(), info.dwPlatformId == VER_PLATFORM_WIN32_NT);
    if (!hooks.runningOnNT()) GTEST_SKIP() << "no tokens on this platform version";

    EXPECT_TRUE(EnableShutdownPrivilege());
    HANDLE token = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token));
    LUID shutdown{};
    ASSERT_TRUE(::LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &shutdown));
    std::vector<char> buffer(4096);
    DWORD length = 0;
    ASSERT_TRUE(::GetTokenInformation(token, TokenPrivileges, buffer.data(), static_cast<DWORD>(buffer.size()), &length));
    ::CloseHandle(token);
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    bool enabled = false;
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
        if (p.Luid.LowPart == shutdown.LowPart && p.Luid.HighPart == shutdown.HighPart)
            enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    EXPECT_TRUE(enabled);
}

}  // namespace
