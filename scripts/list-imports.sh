#!/bin/sh
# Prints the import table of the shipped programs as a Markdown table: one
# row per imported function, with whether Windows 95 (retail, 4.00.950) and
# Windows NT 4.0 provide it. The verdicts come from the table at the end of
# this script; a function missing from it is printed as "unchecked", so a
# new import shows up for review instead of passing as known.
#
#   sh scripts/list-imports.sh [program ...]
#
# Without arguments it lists build/ship/app/SETUP.EXE and
# build/ship/product/_qzdinst.exe (the shipped tree; see scripts/build.sh).
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -eq 0 ]; then
    set -- "$root/build/ship/app/SETUP.EXE" "$root/build/ship/product/_qzdinst.exe"
fi
self="$0"

# The verdict table: DLL (lower case), function, Win95, NT4, note.
verdicts() {
    sed -n '/^#@ /s/^#@ //p' "$self"
}

status=0
for exe in "$@"; do
    if [ ! -f "$exe" ]; then echo "$exe: missing" >&2; status=1; continue; fi
    echo "### $(basename "$exe")"
    echo
    echo "| DLL | Function | Win95 | NT4 | Note |"
    echo "|---|---|---|---|---|"
    i686-w64-mingw32-objdump -p "$exe" | awk '
        /^[[:space:]]*DLL Name:/ { dll = $3; next }
        dll != "" && /^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[A-Za-z_]/ { print dll, $NF }
        /^[[:space:]]*$/ { }
    ' | sort -f -u | while read -r dll fn; do
        key=$(echo "$dll" | tr 'A-Z' 'a-z')
        row=$(verdicts | awk -F'|' -v d="$key" -v f="$fn" '$1 == d && $2 == f { print $3 "|" $4 "|" $5; exit }')
        if [ -z "$row" ]; then row="unchecked|unchecked|not in the table of scripts/list-imports.sh"; fi
        echo "| $dll | $fn | $(echo "$row" | sed 's/|/ | /g') |"
    done
    echo
done
exit $status

# Verdict table. "yes": exported and working; "stub": exported but fails
# with ERROR_CALL_NOT_IMPLEMENTED; "no": not exported (the program would
# not load). msvcrt.dll rows say whether the DLL's function exists in the
# msvcrt.dll that system ships (Windows 95 retail ships none: see
# docs/platforms.md): "redist" there means present once msvcrt.dll is
# installed (OSR2 with Internet Explorer, or the redistributable).
#@ kernel32.dll|CloseHandle|yes|yes|
#@ kernel32.dll|CreateFileA|yes|yes|
#@ kernel32.dll|CreateSemaphoreA|yes|yes|libgcc thread primitives, through cmake/Win95Imports.c
#@ kernel32.dll|CreateSemaphoreW|stub|yes|pulled by libgcc; replaced in the shipped build
#@ kernel32.dll|DeleteCriticalSection|yes|yes|
#@ kernel32.dll|DeleteFileA|yes|yes|
#@ kernel32.dll|EnterCriticalSection|yes|yes|
#@ kernel32.dll|FindClose|yes|yes|
#@ kernel32.dll|FindFirstFileA|yes|yes|
#@ kernel32.dll|FreeLibrary|yes|yes|
#@ kernel32.dll|GetCommandLineA|yes|yes|
#@ kernel32.dll|GetCurrentDirectoryA|yes|yes|
#@ kernel32.dll|GetCurrentThreadId|yes|yes|
#@ kernel32.dll|GetDiskFreeSpaceA|yes|yes|reports at most 2 GB on both
#@ kernel32.dll|GetDriveTypeA|yes|yes|
#@ kernel32.dll|GetFileAttributesA|yes|yes|
#@ kernel32.dll|GetFullPathNameA|yes|yes|
#@ kernel32.dll|GetLastError|yes|yes|
#@ kernel32.dll|GetLocalTime|yes|yes|
#@ kernel32.dll|GetModuleFileNameA|yes|yes|
#@ kernel32.dll|GetModuleHandleA|yes|yes|
#@ kernel32.dll|GetModuleHandleW|stub|yes|pulled by the MinGW runtime; replaced in the shipped build
#@ kernel32.dll|GetPrivateProfileStringA|yes|yes|
#@ kernel32.dll|GetProcAddress|yes|yes|
#@ kernel32.dll|GetShortPathNameA|yes|yes|
#@ kernel32.dll|GetStartupInfoA|yes|yes|
#@ kernel32.dll|GetSystemDirectoryA|yes|yes|
#@ kernel32.dll|GetTempPathA|yes|yes|
#@ kernel32.dll|GetTickCount|yes|yes|
#@ kernel32.dll|GetVersionExA|yes|yes|
#@ kernel32.dll|GetWindowsDirectoryA|yes|yes|
#@ kernel32.dll|InitializeCriticalSection|yes|yes|
#@ kernel32.dll|IsDBCSLeadByteEx|yes|yes|MinGW runtime mbrtowc
#@ kernel32.dll|LeaveCriticalSection|yes|yes|
#@ kernel32.dll|LoadLibraryA|yes|yes|
#@ kernel32.dll|LoadLibraryW|stub|yes|pulled by the MinGW runtime; replaced in the shipped build
#@ kernel32.dll|lstrcpynA|yes|yes|
#@ kernel32.dll|MoveFileA|yes|yes|
#@ kernel32.dll|MoveFileExA|stub|yes|fails on Windows 95; replacement at the next start then goes through wininit.ini
#@ kernel32.dll|MulDiv|yes|yes|
#@ kernel32.dll|MultiByteToWideChar|yes|yes|implemented on Windows 95 as well
#@ kernel32.dll|ReleaseSemaphore|yes|yes|
#@ kernel32.dll|RemoveDirectoryA|yes|yes|
#@ kernel32.dll|SetCurrentDirectoryA|yes|yes|
#@ kernel32.dll|SetErrorMode|yes|yes|
#@ kernel32.dll|SetFileAttributesA|yes|yes|
#@ kernel32.dll|SetFileTime|yes|yes|
#@ kernel32.dll|SetLastError|yes|yes|
#@ kernel32.dll|SetUnhandledExceptionFilter|yes|yes|
#@ kernel32.dll|Sleep|yes|yes|
#@ kernel32.dll|TlsAlloc|yes|yes|
#@ kernel32.dll|TlsFree|yes|yes|
#@ kernel32.dll|TlsGetValue|yes|yes|
#@ kernel32.dll|TlsSetValue|yes|yes|
#@ kernel32.dll|VirtualProtect|yes|yes|
#@ kernel32.dll|VirtualQuery|yes|yes|
#@ kernel32.dll|WaitForSingleObject|yes|yes|
#@ kernel32.dll|WideCharToMultiByte|yes|yes|implemented on Windows 95 as well
#@ kernel32.dll|WinExec|yes|yes|
#@ kernel32.dll|WritePrivateProfileStringA|yes|yes|
#@ user32.dll|AdjustWindowRectEx|yes|yes|
#@ user32.dll|BeginPaint|yes|yes|
#@ user32.dll|CheckRadioButton|yes|yes|
#@ user32.dll|CreateDialogIndirectParamA|yes|yes|
#@ user32.dll|CreateDialogParamA|yes|yes|
#@ user32.dll|CreateWindowExA|yes|yes|
#@ user32.dll|DdeClientTransaction|yes|yes|
#@ user32.dll|DdeConnect|yes|yes|
#@ user32.dll|DdeCreateStringHandleA|yes|yes|
#@ user32.dll|DdeDisconnect|yes|yes|
#@ user32.dll|DdeFreeDataHandle|yes|yes|
#@ user32.dll|DdeFreeStringHandle|yes|yes|
#@ user32.dll|DdeGetData|yes|yes|
#@ user32.dll|DdeInitializeA|yes|yes|
#@ user32.dll|DdeUninitialize|yes|yes|
#@ user32.dll|DefWindowProcA|yes|yes|
#@ user32.dll|DestroyWindow|yes|yes|
#@ user32.dll|DialogBoxIndirectParamA|yes|yes|
#@ user32.dll|DialogBoxParamA|yes|yes|
#@ user32.dll|DispatchMessageA|yes|yes|
#@ user32.dll|EnableWindow|yes|yes|
#@ user32.dll|EndDialog|yes|yes|
#@ user32.dll|EndPaint|yes|yes|
#@ user32.dll|ExitWindowsEx|yes|yes|
#@ user32.dll|FillRect|yes|yes|
#@ user32.dll|FlashWindow|yes|yes|
#@ user32.dll|GetClassInfoA|yes|yes|
#@ user32.dll|GetClientRect|yes|yes|
#@ user32.dll|GetDlgItem|yes|yes|
#@ user32.dll|GetMessageA|yes|yes|
#@ user32.dll|GetParent|yes|yes|
#@ user32.dll|GetSysColor|yes|yes|
#@ user32.dll|GetSystemMetrics|yes|yes|
#@ user32.dll|GetWindow|yes|yes|
#@ user32.dll|GetWindowLongA|yes|yes|
#@ user32.dll|GetWindowRect|yes|yes|
#@ user32.dll|GetWindowTextA|yes|yes|
#@ user32.dll|GetWindowTextLengthA|yes|yes|
#@ user32.dll|InvalidateRect|yes|yes|
#@ user32.dll|IsDialogMessageA|yes|yes|
#@ user32.dll|IsDlgButtonChecked|yes|yes|
#@ user32.dll|IsIconic|yes|yes|
#@ user32.dll|IsWindow|yes|yes|
#@ user32.dll|IsWindowVisible|yes|yes|
#@ user32.dll|LoadCursorA|yes|yes|
#@ user32.dll|LoadIconA|yes|yes|
#@ user32.dll|LoadStringA|yes|yes|
#@ user32.dll|MapWindowPoints|yes|yes|
#@ user32.dll|MessageBeep|yes|yes|
#@ user32.dll|MessageBoxA|yes|yes|
#@ user32.dll|MoveWindow|yes|yes|
#@ user32.dll|PeekMessageA|yes|yes|
#@ user32.dll|PostMessageA|yes|yes|
#@ user32.dll|PostQuitMessage|yes|yes|
#@ user32.dll|RegisterClassA|yes|yes|
#@ user32.dll|RegisterWindowMessageA|yes|yes|
#@ user32.dll|ScreenToClient|yes|yes|
#@ user32.dll|SendDlgItemMessageA|yes|yes|
#@ user32.dll|SendMessageA|yes|yes|
#@ user32.dll|SetDlgItemTextA|yes|yes|
#@ user32.dll|SetFocus|yes|yes|
#@ user32.dll|SetWindowLongA|yes|yes|
#@ user32.dll|SetWindowPos|yes|yes|
#@ user32.dll|SetWindowTextA|yes|yes|
#@ user32.dll|ShowWindow|yes|yes|
#@ user32.dll|SystemParametersInfoA|yes|yes|
#@ user32.dll|TranslateMessage|yes|yes|
#@ user32.dll|UpdateWindow|yes|yes|
#@ gdi32.dll|CreateCompatibleDC|yes|yes|
#@ gdi32.dll|CreateFontIndirectA|yes|yes|
#@ gdi32.dll|CreateSolidBrush|yes|yes|
#@ gdi32.dll|DeleteDC|yes|yes|
#@ gdi32.dll|DeleteObject|yes|yes|
#@ gdi32.dll|ExtTextOutA|yes|yes|
#@ gdi32.dll|GetDeviceCaps|yes|yes|
#@ gdi32.dll|GetTextExtentPoint32A|yes|yes|
#@ gdi32.dll|RestoreDC|yes|yes|
#@ gdi32.dll|SaveDC|yes|yes|
#@ gdi32.dll|SelectObject|yes|yes|
#@ gdi32.dll|SetBkColor|yes|yes|
#@ gdi32.dll|SetBkMode|yes|yes|
#@ gdi32.dll|SetTextAlign|yes|yes|
#@ gdi32.dll|SetTextColor|yes|yes|
#@ gdi32.dll|TextOutA|yes|yes|
#@ advapi32.dll|RegCloseKey|yes|yes|
#@ advapi32.dll|RegCreateKeyA|yes|yes|
#@ advapi32.dll|RegCreateKeyExA|yes|yes|
#@ advapi32.dll|RegDeleteKeyA|yes|yes|deletes a whole tree on Windows 95, only a leaf key on NT
#@ advapi32.dll|RegDeleteValueA|yes|yes|
#@ advapi32.dll|RegOpenKeyExA|yes|yes|
#@ advapi32.dll|RegQueryValueExA|yes|yes|
#@ advapi32.dll|RegSetValueExA|yes|yes|
#@ comdlg32.dll|GetOpenFileNameA|yes|yes|
#@ comdlg32.dll|GetSaveFileNameA|yes|yes|
#@ ole32.dll|CoCreateInstance|yes|yes|
#@ ole32.dll|CoInitialize|yes|yes|
#@ ole32.dll|CoUninitialize|yes|yes|
#@ version.dll|GetFileVersionInfoA|yes|yes|
#@ version.dll|GetFileVersionInfoSizeA|yes|yes|
#@ version.dll|VerQueryValueA|yes|yes|
#@ msvcrt.dll|__doserrno|redist|yes|
#@ msvcrt.dll|__getmainargs|redist|yes|startup code
#@ msvcrt.dll|__initenv|redist|yes|data, startup code
#@ msvcrt.dll|__mb_cur_max|redist|yes|data
#@ msvcrt.dll|__p__acmdln|redist|yes|startup code
#@ msvcrt.dll|__p__commode|redist|yes|startup code
#@ msvcrt.dll|__p__fmode|redist|yes|startup code
#@ msvcrt.dll|__set_app_type|redist|yes|startup code
#@ msvcrt.dll|__setusermatherr|redist|yes|startup code
#@ msvcrt.dll|_amsg_exit|redist|yes|startup code
#@ msvcrt.dll|_cexit|redist|yes|startup code
#@ msvcrt.dll|_chdir|redist|yes|
#@ msvcrt.dll|_close|redist|yes|
#@ msvcrt.dll|_errno|redist|yes|
#@ msvcrt.dll|_initterm|redist|yes|startup code
#@ msvcrt.dll|_iob|redist|yes|data
#@ msvcrt.dll|_mkdir|redist|yes|
#@ msvcrt.dll|_onexit|redist|yes|startup code
#@ msvcrt.dll|_read|redist|yes|
#@ msvcrt.dll|_stat|redist|yes|
#@ msvcrt.dll|abort|redist|yes|
#@ msvcrt.dll|atoi|redist|yes|
#@ msvcrt.dll|calloc|redist|yes|
#@ msvcrt.dll|clearerr|redist|yes|
#@ msvcrt.dll|exit|redist|yes|
#@ msvcrt.dll|fclose|redist|yes|
#@ msvcrt.dll|ferror|redist|yes|
#@ msvcrt.dll|fgets|redist|yes|
#@ msvcrt.dll|fopen|redist|yes|
#@ msvcrt.dll|fprintf|redist|yes|
#@ msvcrt.dll|fputc|redist|yes|
#@ msvcrt.dll|fputs|redist|yes|
#@ msvcrt.dll|fread|redist|yes|
#@ msvcrt.dll|free|redist|yes|
#@ msvcrt.dll|fseek|redist|yes|
#@ msvcrt.dll|ftell|redist|yes|
#@ msvcrt.dll|fwrite|redist|yes|
#@ msvcrt.dll|isalpha|redist|yes|
#@ msvcrt.dll|isspace|redist|yes|
#@ msvcrt.dll|localeconv|redist|yes|
#@ msvcrt.dll|malloc|redist|yes|
#@ msvcrt.dll|memchr|redist|yes|
#@ msvcrt.dll|memcmp|redist|yes|
#@ msvcrt.dll|memcpy|redist|yes|
#@ msvcrt.dll|memmove|redist|yes|
#@ msvcrt.dll|memset|redist|yes|
#@ msvcrt.dll|realloc|redist|yes|
#@ msvcrt.dll|setlocale|redist|yes|
#@ msvcrt.dll|setvbuf|redist|yes|
#@ msvcrt.dll|signal|redist|yes|
#@ msvcrt.dll|strchr|redist|yes|
#@ msvcrt.dll|strcmp|redist|yes|
#@ msvcrt.dll|strerror|redist|yes|
#@ msvcrt.dll|strlen|redist|yes|
#@ msvcrt.dll|strncmp|redist|yes|
#@ msvcrt.dll|strtol|redist|yes|
#@ msvcrt.dll|tolower|redist|yes|
#@ msvcrt.dll|toupper|redist|yes|
#@ msvcrt.dll|vfprintf|redist|yes|
#@ msvcrt.dll|wcslen|redist|yes|
