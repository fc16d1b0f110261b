#pragma once
// Programs of the build that tests start as processes: started with a
// command line, waited for with a bound, and never left running after the
// test that started them.

#include <windows.h>

#include <string>

namespace testproc {

// Generous bound for a loaded machine; it only stops a hung run.
constexpr DWORD kExitTimeoutMs = 180000;

inline std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// Wine's shell mirrors every new Start-menu link into the host's desktop
// menus (outside the prefix, where no test cleans up); the programs this
// process starts inherit the switch that turns that off.
inline void KeepLinksInThePrefix() {
    constexpr const char* kName = "WINEDLLOVERRIDES";
    constexpr const char* kOff = "winemenubuilder.exe=d";
    char buffer[1024] = "";
    const DWORD length = ::GetEnvironmentVariableA(kName, buffer, sizeof buffer);
    std::string value = length < sizeof buffer ? std::string(buffer, length) : std::string();
    if (value.find(kOff) != std::string::npos) return;
    value += value.empty() ? kOff : std::string(";") + kOff;
    ::SetEnvironmentVariableA(kName, value.c_str());
}

// Sets an environment variable of this process for a scope; programs
// started within it inherit the value. The variable is removed afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        ::SetEnvironmentVariableA(name_, value.empty() ? nullptr : value.c_str());
    }
    ~ScopedEnvironment() { ::SetEnvironmentVariableA(name_, nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
};

// A program started with a command line, killed by the test when it is
// still running at the end of it.
class Process {
public:
    explicit Process(std::string commandLine) {
        KeepLinksInThePrefix();
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                    &info_) != FALSE;
    }
    ~Process() {
        if (!started_) return;
        // A run that a failed test left waiting must not outlive the test.
        Kill();
        ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return started_; }
    DWORD ThreadId() const { return info_.dwThreadId; }
    DWORD ProcessId() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }

    // True while the process runs after `timeoutMs` more.
    bool StillRunningAfter(DWORD timeoutMs) const {
        return started_ && ::WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_TIMEOUT;
    }

    // The exit code, or -1 when the process did not start or end in time.
    long Wait(DWORD timeoutMs = kExitTimeoutMs) {
        if (!started_ || ::WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<long>(code);
    }

    // Kills the process as the task manager would, and waits until it is gone.
    void Kill() {
        if (started_ && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(info_.hProcess, 99);
            ::WaitForSingleObject(info_.hProcess, kExitTimeoutMs);
        }
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// Starts `exe` with `arguments` and waits for it: its exit code, -1 when it
// did not end in time (it is killed then), -2 when it did not start.
inline long RunProgram(const std::string& exe, const std::string& arguments, DWORD timeoutMs = kExitTimeoutMs) {
    Process run(Quoted(exe) + (arguments.empty() ? "" : " " + arguments));
    return run.Started() ? run.Wait(timeoutMs) : -2;
}

}  // namespace testproc
