#!/bin/sh
# Prints the import table of the shipped programs as a Markdown table: one
# row per imported function, with whether Windows 95 retail (4.00.950 and
# 950a), Windows 95 OSR2 (950B) and Windows NT 4.0 provide it. The verdicts come from the table at the end of
# this script; a function missing from it is printed as "unchecked", so a
# new import shows up for review instead of passing as known.
#
#   sh scripts/list-imports.sh [program ...]
#
# Without arguments it lists every shipped program of build/ship (see
# scripts/build.sh).
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -eq 0 ]; then
    set -- "$root/build/ship/app/SETUP.EXE" "$root/build/ship/product/_qzdinst.exe" \
        "$root/build/ship/product/tyviewer.exe" "$root/build/ship/product/tyshared.dll"
fi
self="$0"

# The verdict table: DLL (lower case), function, Win95, OSR2, NT4, note.
verdicts() {
    sed -n '/^#@ /s/^#@ //p' "$self"
}

status=0
for exe in "$@"; do
    if [ ! -f "$exe" ]; then echo "$exe: missing" >&2; status=1; continue; fi
    echo "### $(basename "$exe")"
    echo
    echo "| DLL | Function | Win95 | OSR2 | NT4 | Note |"
    echo "|---|---|---|---|---|---|"
    i686-w64-mingw32-objdump -p "$exe" | awk '
        /^[[:space:]]*DLL Name:/ { dll = $3; next }
        dll != "" && /^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[A-Za-z_]/ { print dll, $NF }
        /^[[:space:]]*$/ { }
    ' | sort -f -u | while read -r dll fn; do
        key=$(echo "$dll" | tr 'A-Z' 'a-z')
        row=$(verdicts | awk -F'|' -v d="$key" -v f="$fn" '$1 == d && $2 == f { print $3 "|" $4 "|" $5 "|" $6; exit }')
        if [ -z "$row" ]; then row="unchecked|unchecked|unchecked|not in the table of scripts/list-imports.sh"; fi
        echo "| $dll | $fn | $(echo "$row" | sed 's/|/ | /g') |"
    done
    echo
done
exit $status

# Verdict table. "yes": exported and working; "stub": exported but fails
# with ERROR_CALL_NOT_IMPLEMENTED; "no": not exported (the program would
# not load). msvcrt.dll rows (the test tree's runtime; the shipped programs
# must not import it, check-imports.sh --win95) say whether the function
# exists in the msvcrt.dll that system ships: Windows 95 retail ships none,
# and "redist" means present once msvcrt.dll is installed (OSR2 with
# Internet Explorer, or the redistributable). crtdll.dll rows: every
# Windows 95 and NT has crtdll.dll; the names are checked against its
# export list (scripts/crtdll-exports.txt).
#@ kernel32.dll|CloseHandle|yes|yes|yes|
#@ kernel32.dll|CreateFileA|yes|yes|yes|
#@ kernel32.dll|CreateSemaphoreA|yes|yes|yes|libgcc thread primitives, through cmake/Win95Imports.c
#@ kernel32.dll|CreateSemaphoreW|stub|stub|yes|pulled by libgcc; replaced in the shipped build
#@ kernel32.dll|DeleteCriticalSection|yes|yes|yes|
#@ kernel32.dll|DeleteFileA|yes|yes|yes|
#@ kernel32.dll|EnterCriticalSection|yes|yes|yes|
#@ kernel32.dll|FindClose|yes|yes|yes|
#@ kernel32.dll|FindFirstFileA|yes|yes|yes|
#@ kernel32.dll|FreeLibrary|yes|yes|yes|
#@ kernel32.dll|GetCommandLineA|yes|yes|yes|
#@ kernel32.dll|GetCurrentDirectoryA|yes|yes|yes|
#@ kernel32.dll|GetCurrentThreadId|yes|yes|yes|
#@ kernel32.dll|GetDiskFreeSpaceA|yes|yes|yes|reports at most 2 GB on both
#@ kernel32.dll|GetDriveTypeA|yes|yes|yes|
#@ kernel32.dll|GetFileAttributesA|yes|yes|yes|
#@ kernel32.dll|GetFullPathNameA|yes|yes|yes|
#@ kernel32.dll|GetLastError|yes|yes|yes|
#@ kernel32.dll|GetLocalTime|yes|yes|yes|
#@ kernel32.dll|GetModuleFileNameA|yes|yes|yes|
#@ kernel32.dll|GetModuleHandleA|yes|yes|yes|
#@ kernel32.dll|GetModuleHandleW|stub|stub|yes|pulled by the MinGW runtime; replaced in the shipped build
#@ kernel32.dll|GetPrivateProfileStringA|yes|yes|yes|
#@ kernel32.dll|GetProcAddress|yes|yes|yes|
#@ kernel32.dll|GetShortPathNameA|yes|yes|yes|
#@ kernel32.dll|GetStartupInfoA|yes|yes|yes|
#@ kernel32.dll|GetSystemDirectoryA|yes|yes|yes|
#@ kernel32.dll|GetTempPathA|yes|yes|yes|
#@ kernel32.dll|GetTickCount|yes|yes|yes|
#@ kernel32.dll|GetVersionExA|yes|yes|yes|
#@ kernel32.dll|GetWindowsDirectoryA|yes|yes|yes|
#@ kernel32.dll|InitializeCriticalSection|yes|yes|yes|
#@ kernel32.dll|IsDBCSLeadByteEx|yes|yes|yes|MinGW runtime mbrtowc
#@ kernel32.dll|LeaveCriticalSection|yes|yes|yes|
#@ kernel32.dll|LoadLibraryA|yes|yes|yes|
#@ kernel32.dll|LoadLibraryW|stub|stub|yes|pulled by the MinGW runtime; replaced in the shipped build
#@ kernel32.dll|lstrcpynA|yes|yes|yes|
#@ kernel32.dll|MoveFileA|yes|yes|yes|
#@ kernel32.dll|MoveFileExA|stub|stub|yes|fails on Windows 95; replacement at the next start then goes through wininit.ini
#@ kernel32.dll|MulDiv|yes|yes|yes|
#@ kernel32.dll|MultiByteToWideChar|yes|yes|yes|implemented on Windows 95 as well
#@ kernel32.dll|ReleaseSemaphore|yes|yes|yes|
#@ kernel32.dll|RemoveDirectoryA|yes|yes|yes|
#@ kernel32.dll|SetCurrentDirectoryA|yes|yes|yes|
#@ kernel32.dll|SetErrorMode|yes|yes|yes|
#@ kernel32.dll|SetFileAttributesA|yes|yes|yes|
#@ kernel32.dll|SetFileTime|yes|yes|yes|
#@ kernel32.dll|SetLastError|yes|yes|yes|
#@ kernel32.dll|SetUnhandledExceptionFilter|yes|yes|yes|
#@ kernel32.dll|Sleep|yes|yes|yes|
#@ kernel32.dll|TlsAlloc|yes|yes|yes|
#@ kernel32.dll|TlsFree|yes|yes|yes|
#@ kernel32.dll|TlsGetValue|yes|yes|yes|
#@ kernel32.dll|TlsSetValue|yes|yes|yes|
#@ kernel32.dll|VirtualProtect|yes|yes|yes|
#@ kernel32.dll|VirtualQuery|yes|yes|yes|
#@ kernel32.dll|WaitForSingleObject|yes|yes|yes|
#@ kernel32.dll|WideCharToMultiByte|yes|yes|yes|implemented on Windows 95 as well
#@ kernel32.dll|WinExec|yes|yes|yes|
#@ kernel32.dll|WritePrivateProfileStringA|yes|yes|yes|
#@ user32.dll|AdjustWindowRectEx|yes|yes|yes|
#@ user32.dll|BeginPaint|yes|yes|yes|
#@ user32.dll|CheckRadioButton|yes|yes|yes|
#@ user32.dll|CreateDialogIndirectParamA|yes|yes|yes|
#@ user32.dll|CreateDialogParamA|yes|yes|yes|
#@ user32.dll|CreateWindowExA|yes|yes|yes|
#@ user32.dll|DdeClientTransaction|yes|yes|yes|
#@ user32.dll|DdeConnect|yes|yes|yes|
#@ user32.dll|DdeCreateStringHandleA|yes|yes|yes|
#@ user32.dll|DdeDisconnect|yes|yes|yes|
#@ user32.dll|DdeFreeDataHandle|yes|yes|yes|
#@ user32.dll|DdeFreeStringHandle|yes|yes|yes|
#@ user32.dll|DdeGetData|yes|yes|yes|
#@ user32.dll|DdeInitializeA|yes|yes|yes|
#@ user32.dll|DdeUninitialize|yes|yes|yes|
#@ user32.dll|DefWindowProcA|yes|yes|yes|
#@ user32.dll|DestroyWindow|yes|yes|yes|
#@ user32.dll|DialogBoxIndirectParamA|yes|yes|yes|
#@ user32.dll|DialogBoxParamA|yes|yes|yes|
#@ user32.dll|DispatchMessageA|yes|yes|yes|
#@ user32.dll|EnableWindow|yes|yes|yes|
#@ user32.dll|EndDialog|yes|yes|yes|
#@ user32.dll|EndPaint|yes|yes|yes|
#@ user32.dll|ExitWindowsEx|yes|yes|yes|
#@ user32.dll|FillRect|yes|yes|yes|
#@ user32.dll|FlashWindow|yes|yes|yes|
#@ user32.dll|GetClassInfoA|yes|yes|yes|
#@ user32.dll|GetClientRect|yes|yes|yes|
#@ user32.dll|GetDlgItem|yes|yes|yes|
#@ user32.dll|GetMessageA|yes|yes|yes|
#@ user32.dll|GetParent|yes|yes|yes|
#@ user32.dll|GetSysColor|yes|yes|yes|
#@ user32.dll|GetSystemMetrics|yes|yes|yes|
#@ user32.dll|GetWindow|yes|yes|yes|
#@ user32.dll|GetWindowLongA|yes|yes|yes|
#@ user32.dll|GetWindowRect|yes|yes|yes|
#@ user32.dll|GetWindowTextA|yes|yes|yes|
#@ user32.dll|GetWindowTextLengthA|yes|yes|yes|
#@ user32.dll|InvalidateRect|yes|yes|yes|
#@ user32.dll|IsDialogMessageA|yes|yes|yes|
#@ user32.dll|IsDlgButtonChecked|yes|yes|yes|
#@ user32.dll|IsIconic|yes|yes|yes|
#@ user32.dll|IsWindow|yes|yes|yes|
#@ user32.dll|IsWindowVisible|yes|yes|yes|
#@ user32.dll|LoadCursorA|yes|yes|yes|
#@ user32.dll|LoadIconA|yes|yes|yes|
#@ user32.dll|LoadStringA|yes|yes|yes|
#@ user32.dll|MapWindowPoints|yes|yes|yes|
#@ user32.dll|MessageBeep|yes|yes|yes|
#@ user32.dll|MessageBoxA|yes|yes|yes|
#@ user32.dll|MoveWindow|yes|yes|yes|
#@ user32.dll|PeekMessageA|yes|yes|yes|
#@ user32.dll|PostMessageA|yes|yes|yes|
#@ user32.dll|PostQuitMessage|yes|yes|yes|
#@ user32.dll|RegisterClassA|yes|yes|yes|
#@ user32.dll|RegisterWindowMessageA|yes|yes|yes|
#@ user32.dll|ScreenToClient|yes|yes|yes|
#@ user32.dll|SendDlgItemMessageA|yes|yes|yes|
#@ user32.dll|SendMessageA|yes|yes|yes|
#@ user32.dll|SetDlgItemTextA|yes|yes|yes|
#@ user32.dll|SetFocus|yes|yes|yes|
#@ user32.dll|SetWindowLongA|yes|yes|yes|
#@ user32.dll|SetWindowPos|yes|yes|yes|
#@ user32.dll|SetWindowTextA|yes|yes|yes|
#@ user32.dll|ShowWindow|yes|yes|yes|
#@ user32.dll|SystemParametersInfoA|yes|yes|yes|
#@ user32.dll|TranslateMessage|yes|yes|yes|
#@ user32.dll|UpdateWindow|yes|yes|yes|
#@ gdi32.dll|CreateCompatibleDC|yes|yes|yes|
#@ gdi32.dll|CreateFontIndirectA|yes|yes|yes|
#@ gdi32.dll|CreateSolidBrush|yes|yes|yes|
#@ gdi32.dll|DeleteDC|yes|yes|yes|
#@ gdi32.dll|DeleteObject|yes|yes|yes|
#@ gdi32.dll|ExtTextOutA|yes|yes|yes|
#@ gdi32.dll|GetDeviceCaps|yes|yes|yes|
#@ gdi32.dll|GetTextExtentPoint32A|yes|yes|yes|
#@ gdi32.dll|RestoreDC|yes|yes|yes|
#@ gdi32.dll|SaveDC|yes|yes|yes|
#@ gdi32.dll|SelectObject|yes|yes|yes|
#@ gdi32.dll|SetBkColor|yes|yes|yes|
#@ gdi32.dll|SetBkMode|yes|yes|yes|
#@ gdi32.dll|SetTextAlign|yes|yes|yes|
#@ gdi32.dll|SetTextColor|yes|yes|yes|
#@ gdi32.dll|TextOutA|yes|yes|yes|
#@ advapi32.dll|RegCloseKey|yes|yes|yes|
#@ advapi32.dll|RegCreateKeyA|yes|yes|yes|
#@ advapi32.dll|RegCreateKeyExA|yes|yes|yes|
#@ advapi32.dll|RegDeleteKeyA|yes|yes|yes|deletes a whole tree on Windows 95, only a leaf key on NT
#@ advapi32.dll|RegDeleteValueA|yes|yes|yes|
#@ advapi32.dll|RegOpenKeyExA|yes|yes|yes|
#@ advapi32.dll|RegQueryValueExA|yes|yes|yes|
#@ advapi32.dll|RegSetValueExA|yes|yes|yes|
#@ comdlg32.dll|GetOpenFileNameA|yes|yes|yes|
#@ comdlg32.dll|GetSaveFileNameA|yes|yes|yes|
#@ ole32.dll|CoCreateInstance|yes|yes|yes|
#@ ole32.dll|CoInitialize|yes|yes|yes|
#@ ole32.dll|CoUninitialize|yes|yes|yes|
#@ version.dll|GetFileVersionInfoA|yes|yes|yes|
#@ version.dll|GetFileVersionInfoSizeA|yes|yes|yes|
#@ version.dll|VerQueryValueA|yes|yes|yes|
#@ msvcrt.dll|__doserrno|no|redist|yes|
#@ msvcrt.dll|__getmainargs|no|redist|yes|startup code
#@ msvcrt.dll|__initenv|no|redist|yes|data, startup code
#@ msvcrt.dll|__mb_cur_max|no|redist|yes|data
#@ msvcrt.dll|__p__acmdln|no|redist|yes|startup code
#@ msvcrt.dll|__p__commode|no|redist|yes|startup code
#@ msvcrt.dll|__p__fmode|no|redist|yes|startup code
#@ msvcrt.dll|__set_app_type|no|redist|yes|startup code
#@ msvcrt.dll|__setusermatherr|no|redist|yes|startup code
#@ msvcrt.dll|_amsg_exit|no|redist|yes|startup code
#@ msvcrt.dll|_cexit|no|redist|yes|startup code
#@ msvcrt.dll|_chdir|no|redist|yes|
#@ msvcrt.dll|_close|no|redist|yes|
#@ msvcrt.dll|_errno|no|redist|yes|
#@ msvcrt.dll|_initterm|no|redist|yes|startup code
#@ msvcrt.dll|_iob|no|redist|yes|data
#@ msvcrt.dll|_mkdir|no|redist|yes|
#@ msvcrt.dll|_onexit|no|redist|yes|startup code
#@ msvcrt.dll|_read|no|redist|yes|
#@ msvcrt.dll|_stat|no|redist|yes|
#@ msvcrt.dll|abort|no|redist|yes|
#@ msvcrt.dll|atoi|no|redist|yes|
#@ msvcrt.dll|calloc|no|redist|yes|
#@ msvcrt.dll|clearerr|no|redist|yes|
#@ msvcrt.dll|exit|no|redist|yes|
#@ msvcrt.dll|fclose|no|redist|yes|
#@ msvcrt.dll|ferror|no|redist|yes|
#@ msvcrt.dll|fgets|no|redist|yes|
#@ msvcrt.dll|fopen|no|redist|yes|
#@ msvcrt.dll|fprintf|no|redist|yes|
#@ msvcrt.dll|fputc|no|redist|yes|
#@ msvcrt.dll|fputs|no|redist|yes|
#@ msvcrt.dll|fread|no|redist|yes|
#@ msvcrt.dll|free|no|redist|yes|
#@ msvcrt.dll|fseek|no|redist|yes|
#@ msvcrt.dll|ftell|no|redist|yes|
#@ msvcrt.dll|fwrite|no|redist|yes|
#@ msvcrt.dll|isalpha|no|redist|yes|
#@ msvcrt.dll|isspace|no|redist|yes|
#@ msvcrt.dll|localeconv|no|redist|yes|
#@ msvcrt.dll|malloc|no|redist|yes|
#@ msvcrt.dll|memchr|no|redist|yes|
#@ msvcrt.dll|memcmp|no|redist|yes|
#@ msvcrt.dll|memcpy|no|redist|yes|
#@ msvcrt.dll|memmove|no|redist|yes|
#@ msvcrt.dll|memset|no|redist|yes|
#@ msvcrt.dll|realloc|no|redist|yes|
#@ msvcrt.dll|setlocale|no|redist|yes|
#@ msvcrt.dll|setvbuf|no|redist|yes|
#@ msvcrt.dll|signal|no|redist|yes|
#@ msvcrt.dll|strchr|no|redist|yes|
#@ msvcrt.dll|strcmp|no|redist|yes|
#@ msvcrt.dll|strerror|no|redist|yes|
#@ msvcrt.dll|strlen|no|redist|yes|
#@ msvcrt.dll|strncmp|no|redist|yes|
#@ msvcrt.dll|strtol|no|redist|yes|
#@ msvcrt.dll|tolower|no|redist|yes|
#@ msvcrt.dll|toupper|no|redist|yes|
#@ msvcrt.dll|vfprintf|no|redist|yes|
#@ msvcrt.dll|wcslen|no|redist|yes|
#@ kernel32.dll|GetFileSize|yes|yes|yes|
#@ kernel32.dll|ReadFile|yes|yes|yes|
#@ user32.dll|GetSysColorBrush|yes|yes|yes|
#@ gdi32.dll|CreatePen|yes|yes|yes|
#@ gdi32.dll|Ellipse|yes|yes|yes|
#@ gdi32.dll|GetStockObject|yes|yes|yes|
#@ gdi32.dll|LineTo|yes|yes|yes|
#@ gdi32.dll|MoveToEx|yes|yes|yes|
#@ gdi32.dll|SetViewportOrgEx|yes|yes|yes|
#@ crtdll.dll|__GetMainArgs|yes|yes|yes|start-up code: argc, argv, environment
#@ crtdll.dll|__doserrno|yes|yes|yes|system error of the last failed call (FilePath::CreateDirectory)
#@ crtdll.dll|__mb_cur_max_dll|yes|yes|yes|data; the runtime's mbrtowc
#@ crtdll.dll|_acmdln_dll|yes|yes|yes|data, start-up code
#@ crtdll.dll|_amsg_exit|yes|yes|yes|start-up code
#@ crtdll.dll|_cexit|yes|yes|yes|start-up code
#@ crtdll.dll|_chdir|yes|yes|yes|errno ENOENT when missing: runtime_check
#@ crtdll.dll|_commode_dll|yes|yes|yes|data, start-up code
#@ crtdll.dll|_errno|yes|yes|yes|
#@ crtdll.dll|_fmode_dll|yes|yes|yes|data: text mode unless "b" (runtime_check)
#@ crtdll.dll|_initterm|yes|yes|yes|start-up code
#@ crtdll.dll|_iob|yes|yes|yes|data: the standard streams, 32-byte FILE as in msvcrt.dll
#@ crtdll.dll|_mkdir|yes|yes|yes|errno EEXIST, ENOENT: runtime_check
#@ crtdll.dll|_onexit|yes|yes|yes|start-up code
#@ crtdll.dll|abort|yes|yes|yes|
#@ crtdll.dll|atoi|yes|yes|yes|
#@ crtdll.dll|calloc|yes|yes|yes|
#@ crtdll.dll|clearerr|yes|yes|yes|
#@ crtdll.dll|exit|yes|yes|yes|
#@ crtdll.dll|fclose|yes|yes|yes|
#@ crtdll.dll|ferror|yes|yes|yes|
#@ crtdll.dll|fgets|yes|yes|yes|text mode turns CR LF into LF: runtime_check
#@ crtdll.dll|fopen|yes|yes|yes|"b" for binary, errno ENOENT when missing: runtime_check
#@ crtdll.dll|fprintf|yes|yes|yes|the runtime's messages to stderr only
#@ crtdll.dll|fputc|yes|yes|yes|
#@ crtdll.dll|fputs|yes|yes|yes|
#@ crtdll.dll|fread|yes|yes|yes|
#@ crtdll.dll|free|yes|yes|yes|
#@ crtdll.dll|fseek|yes|yes|yes|
#@ crtdll.dll|ftell|yes|yes|yes|
#@ crtdll.dll|fwrite|yes|yes|yes|
#@ crtdll.dll|isalpha|yes|yes|yes|
#@ crtdll.dll|isspace|yes|yes|yes|
#@ crtdll.dll|localeconv|yes|yes|yes|decimal point for the static printf; "C" locale
#@ crtdll.dll|malloc|yes|yes|yes|
#@ crtdll.dll|memchr|yes|yes|yes|
#@ crtdll.dll|memcmp|yes|yes|yes|
#@ crtdll.dll|memcpy|yes|yes|yes|
#@ crtdll.dll|memmove|yes|yes|yes|
#@ crtdll.dll|memset|yes|yes|yes|
#@ crtdll.dll|realloc|yes|yes|yes|
#@ crtdll.dll|setlocale|yes|yes|yes|
#@ crtdll.dll|setvbuf|yes|yes|yes|
#@ crtdll.dll|signal|yes|yes|yes|
#@ crtdll.dll|strchr|yes|yes|yes|
#@ crtdll.dll|strcmp|yes|yes|yes|
#@ crtdll.dll|strerror|yes|yes|yes|
#@ crtdll.dll|strlen|yes|yes|yes|
#@ crtdll.dll|strncmp|yes|yes|yes|
#@ crtdll.dll|strtol|yes|yes|yes|
#@ crtdll.dll|tolower|yes|yes|yes|
#@ crtdll.dll|toupper|yes|yes|yes|
#@ crtdll.dll|vfprintf|yes|yes|yes|the runtime's messages to stderr only
#@ crtdll.dll|wcslen|yes|yes|yes|
