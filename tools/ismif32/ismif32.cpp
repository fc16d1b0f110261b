// A stand-in for the systems-management status library, for tests only: it
// records the eight values it is called with, one per line, so a test can
// check what Setup reported. Never part of a kit.
//
// The record goes to the file named by TVS_ISMIF32_LOG, else to
// "ismif32.log" beside this library. TVS_ISMIF32_RESULT=0 makes the call
// report failure.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HMODULE g_module = nullptr;

std::string RecordPath() {
    char buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("TVS_ISMIF32_LOG", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) {
        return buffer;
    }
    n = GetModuleFileNameA(g_module, buffer, sizeof buffer);
    std::string path(buffer, n < sizeof buffer ? n : 0);
    std::size_t slash = path.find_last_of("\\/");
    path = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    return path + "ismif32.log";
}

void WriteField(FILE* f, const char* name, const char* value) {
    std::fprintf(f, "%s=%s\n", name, value != nullptr ? value : "(null)");
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
    }
    return TRUE;
}

extern "C" BOOL WINAPI InstallStatusMIF(
    const char* reportName, const char* manufacturer, const char* product, const char* version,
    const char* locale, const char* serialNumber, const char* statusText, BOOL success) {
    FILE* f = std::fopen(RecordPath().c_str(), "wb");
    if (f == nullptr) {
        return FALSE;
    }
    WriteField(f, "reportName", reportName);
    WriteField(f, "manufacturer", manufacturer);
    WriteField(f, "product", product);
    WriteField(f, "version", version);
    WriteField(f, "locale", locale);
    WriteField(f, "serialNumber", serialNumber);
    WriteField(f, "statusText", statusText);
    std::fprintf(f, "success=%d\n", static_cast<int>(success));
    const bool ok = std::fclose(f) == 0;
    char result[8];
    DWORD n = GetEnvironmentVariableA("TVS_ISMIF32_RESULT", result, sizeof result);
    if (n > 0 && n < sizeof result && std::strcmp(result, "0") == 0) {
        return FALSE;
    }
    return ok ? TRUE : FALSE;
}
