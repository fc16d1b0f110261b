// A stand-in Program Manager for tests: registers the DDE service
// "PROGMAN" (topic "PROGMAN"), answers requests for "Groups" and "Progman"
// with a fixed list, and appends every execute command, exactly as
// received, as one line to a log file.
//
//   fakeprogman.exe <log file> <ready event name> [groups separated by |] [--fail-replace]
//   fakeprogman.exe --print-show <file>
//
// The named event is signalled once the service is registered. The process
// runs until its main thread gets WM_QUIT. --fail-replace refuses every
// ReplaceItem command, as a Program Manager does for an item it lacks.
// --print-show writes how the process was asked to show its window into
// <file> and ends at once.

#include <windows.h>

#include <ddeml.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

DWORD g_instance = 0;
HSZ g_service = nullptr;
std::FILE* g_log = nullptr;
std::string g_groups;
bool g_failReplace = false;

HDDEDATA Execute(HDDEDATA data) {
    DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string command(size, '\0');
    if (size > 0) {
        DdeGetData(data, reinterpret_cast<BYTE*>(&command[0]), size, 0);
    }
    command = command.c_str();  // drop the terminator
    std::fprintf(g_log, "%s\n", command.c_str());
    std::fflush(g_log);
    if (g_failReplace && command.rfind("[ReplaceItem", 0) == 0) {
        return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
    }
    return reinterpret_cast<HDDEDATA>(DDE_FACK);
}

HDDEDATA Request(HSZ item, UINT format) {
    char name[64] = {};
    DdeQueryStringA(g_instance, item, name, sizeof name, CP_WINANSI);
    if (format != CF_TEXT || (lstrcmpiA(name, "Groups") != 0 && lstrcmpiA(name, "Progman") != 0)) {
        return nullptr;
    }
    return DdeCreateDataHandle(g_instance,
                               reinterpret_cast<BYTE*>(const_cast<char*>(g_groups.c_str())),
                               static_cast<DWORD>(g_groups.size() + 1), 0, item, CF_TEXT, 0);
}

HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV, HSZ topic, HSZ item,
                           HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    try {
        switch (type) {
        case XTYP_CONNECT:
            return reinterpret_cast<HDDEDATA>(
                static_cast<ULONG_PTR>(DdeCmpStringHandles(topic, g_service) == 0));
        case XTYP_EXECUTE:
            return Execute(data);
        case XTYP_REQUEST:
            return Request(item, format);
        default:
            return nullptr;
        }
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--print-show") == 0) {
        // How this process was asked to show its window, for the tests of
        // the programs that start others: "<flags> <show command>".
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        GetStartupInfoA(&startup);
        std::FILE* out = std::fopen(argv[2], "wb");
        if (!out) return 1;
        std::fprintf(out, "%d %d", (startup.dwFlags & STARTF_USESHOWWINDOW) ? 1 : 0,
                     static_cast<int>(startup.wShowWindow));
        std::fclose(out);
        return 0;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: fakeprogman <log> <ready event> [groups] [--fail-replace]\n");
        return 2;
    }
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fail-replace") == 0) {
            g_failReplace = true;
        } else {
            for (const char* p = argv[i]; *p != '\0'; ++p) {
                if (*p == '|') {
                    g_groups += "\r\n";
                } else {
                    g_groups += *p;
                }
            }
            g_groups += "\r\n";
        }
    }
    g_log = std::fopen(argv[1], "wb");
    if (g_log == nullptr) {
        return 3;
    }
    if (DdeInitializeA(&g_instance, Callback, APPCLASS_STANDARD, 0) != DMLERR_NO_ERROR) {
        return 4;
    }
    g_service = DdeCreateStringHandleA(g_instance, "PROGMAN", CP_WINANSI);
    if (DdeNameService(g_instance, g_service, nullptr, DNS_REGISTER) == nullptr) {
        return 5;
    }
    // Make sure the thread has a queue before anyone may post WM_QUIT to it.
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    if (HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2])) {
        SetEvent(ready);
        CloseHandle(ready);
    }
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DdeNameService(g_instance, g_service, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(g_instance, g_service);
    DdeUninitialize(g_instance);
    std::fclose(g_log);
    return 0;
}
