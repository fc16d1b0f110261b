#include "app/FaultPoint.h"

#ifdef TVS_FAULT_POINTS

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

struct StopRequest {
    std::string kind;
    long at = 0;  // 0: no stop
    long seen = 0;
};

StopRequest& Request() {
    static StopRequest request = [] {
        StopRequest r;
        char value[64] = "";
        const DWORD length = ::GetEnvironmentVariableA("TVS_FAULT_STOP", value, sizeof value);
        const std::string text = length > 0 && length < sizeof value ? value : "";
        const std::string::size_type colon = text.find(':');
        if (colon != std::string::npos) {
            r.kind = text.substr(0, colon);
            r.at = std::atol(text.c_str() + colon + 1);
        }
        return r;
    }();
    return request;
}

}  // namespace

void FaultPoint(const char* kind) {
    StopRequest& request = Request();
    if (request.at <= 0 || request.kind != kind || ++request.seen != request.at) return;
    if (HANDLE stopped = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, kFaultStoppedEvent)) {
        ::SetEvent(stopped);
        ::CloseHandle(stopped);
    }
    // Held here, with everything as it is, until the test kills the process.
    for (;;) ::Sleep(INFINITE);
}

#endif
