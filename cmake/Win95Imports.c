/* Linked into the shipped programs only (see the top CMakeLists.txt).
 *
 * The static GCC runtime and the MinGW runtime library call three wide
 * character functions of KERNEL32: CreateSemaphoreW (libgcc's thread
 * primitives, taken by the unwinder's frame table lock and emulated TLS),
 * and GetModuleHandleW and LoadLibraryW (the runtime's look-ups of newer
 * MSVCRT and ADVAPI32 entry points, which fall back when they find none).
 * Windows 95 implements none of them: at best its KERNEL32 exports a stub
 * that fails with ERROR_CALL_NOT_IMPLEMENTED.
 *
 * Each runtime module reaches its function through the import pointer
 * __imp__Name@N. Defining that pointer here, in an object of the program
 * itself, satisfies the reference before the linker searches the KERNEL32
 * import library, so the program imports the ANSI forms instead, which
 * every target system has. The names these callers pass are plain ASCII
 * ("msvcrt.dll", "advapi32.dll", or no name at all).
 */
#include <windows.h>

/* An ASCII copy of a wide name; false when it does not fit or does not
 * convert, so that the caller fails as the system would. */
static BOOL NarrowName(LPCWSTR wide, char* narrow, int size) {
    int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, size, NULL, NULL);
    if (n <= 0) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    return TRUE;
}

static HANDLE WINAPI CreateSemaphoreAnsi(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum,
                                         LPCWSTR name) {
    char narrow[MAX_PATH];
    if (name == NULL) return CreateSemaphoreA(attributes, initial, maximum, NULL);
    if (!NarrowName(name, narrow, sizeof narrow)) return NULL;
    return CreateSemaphoreA(attributes, initial, maximum, narrow);
}

static HMODULE WINAPI GetModuleHandleAnsi(LPCWSTR name) {
    char narrow[MAX_PATH];
    if (name == NULL) return GetModuleHandleA(NULL);
    if (!NarrowName(name, narrow, sizeof narrow)) return NULL;
    return GetModuleHandleA(narrow);
}

static HMODULE WINAPI LoadLibraryAnsi(LPCWSTR name) {
    char narrow[MAX_PATH];
    if (name == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    if (!NarrowName(name, narrow, sizeof narrow)) return NULL;
    return LoadLibraryA(narrow);
}

/* The import pointers the runtime modules call through (stdcall
 * decoration: the argument bytes after the '@'). */
void* tvsImpCreateSemaphoreW __asm__("__imp__CreateSemaphoreW@16") = (void*)CreateSemaphoreAnsi;
void* tvsImpGetModuleHandleW __asm__("__imp__GetModuleHandleW@4") = (void*)GetModuleHandleAnsi;
void* tvsImpLoadLibraryW __asm__("__imp__LoadLibraryW@4") = (void*)LoadLibraryAnsi;
