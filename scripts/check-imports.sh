#!/bin/sh
# Fails when a program imports a DLL that Windows does not ship. With
# --win95 it also fails on imported functions that Windows 95 or NT 4.0
# lacks, or exports only as a failing stub (the list below; see
# docs/platforms.md and scripts/list-imports.sh for the full table), on any
# import of msvcrt.dll, which Windows 95 retail lacks, and on a crtdll.dll
# name that is not in crtdll.dll's export list (scripts/crtdll-exports.txt).
win95=0
if [ "$1" = "--win95" ]; then win95=1; shift; fi
root=$(cd "$(dirname "$0")/.." && pwd)
CRTDLL_EXPORTS=$(sed -e '/^#/d' "$root/scripts/crtdll-exports.txt")

# One name per line; a comment says which systems lack them.
NEWER=$(sed -e 's/#.*//' <<'EOF'
# KERNEL32, newer than both systems
GetTickCount64 AddVectoredExceptionHandler RemoveVectoredExceptionHandler
InitializeCriticalSectionEx GetSystemTimePreciseAsFileTime InitOnceExecuteOnce
InitializeSRWLock AcquireSRWLockExclusive AcquireSRWLockShared ReleaseSRWLockExclusive
ReleaseSRWLockShared InitializeConditionVariable SleepConditionVariableCS
SleepConditionVariableSRW WakeConditionVariable WakeAllConditionVariable
CreateEventExA CreateEventExW CreateSemaphoreExW CreateMutexExW
GetFileSizeEx SetFilePointerEx GetModuleHandleExA GetModuleHandleExW
FlsAlloc FlsGetValue FlsSetValue FlsFree GetNativeSystemInfo
GetLongPathNameA GetLongPathNameW ReplaceFileA MoveFileWithProgressA CreateHardLinkA
SetDllDirectoryA GetProcessId GetThreadId GetCurrentProcessorNumber
QueryFullProcessImageNameA GetFinalPathNameByHandleA CreateSymbolicLinkA
GetLogicalProcessorInformation GetErrorMode SetThreadStackGuarantee
RtlCaptureContext EncodePointer DecodePointer HeapSetInformation
GetFileInformationByHandleEx SetFileInformationByHandle CompareStringEx
LCMapStringEx GetLocaleInfoEx WTSGetActiveConsoleSessionId GetSystemWindowsDirectoryA
InitializeCriticalSectionAndSpinCount
# KERNEL32, NT 4.0 has them, Windows 95 does not
GetHandleInformation TryEnterCriticalSection IsDebuggerPresent
InterlockedCompareExchange InterlockedExchangeAdd SwitchToThread SignalObjectAndWait
GetFileAttributesExA GetFileAttributesExW FindFirstFileExA CopyFileExA
IsProcessorFeaturePresent CreateWaitableTimerA SetWaitableTimer QueueUserAPC
GetDiskFreeSpaceExA
# KERNEL32, failing stubs on Windows 95 that the runtime calls
CreateSemaphoreW GetModuleHandleW LoadLibraryW
# USER32
TrackMouseEvent GetMonitorInfoA MonitorFromWindow MonitorFromPoint EnumDisplayMonitors
SetLayeredWindowAttributes UpdateLayeredWindow AnimateWindow FlashWindowEx GetAncestor
SendInput GetWindowInfo GetTitleBarInfo GetComboBoxInfo GetLastInputInfo
AllowSetForegroundWindow LockSetForegroundWindow GetGUIThreadInfo RealGetWindowClassA
PrintWindow SetProcessDPIAware GetDpiForWindow ChangeWindowMessageFilter
AddClipboardFormatListener GetRawInputData RegisterDeviceNotificationA
# GDI32
GetTextExtentExPointI SetLayout GetDCBrushColor SetDCBrushColor AddFontResourceExA
GetGlyphIndicesA GdiAlphaBlend GdiGradientFill
# ADVAPI32
RegGetValueA RegDeleteTreeA RegCopyTreeA RegSetKeyValueA RegDeleteKeyExA
RegOpenCurrentUser RegDisablePredefinedCache RegOpenUserClassesRoot SystemFunction036
# SHELL32 (newer shells only)
SHGetFolderPathA SHGetSpecialFolderPathA SHCreateDirectoryExA SHGetKnownFolderPath
SHGetFolderLocation SHParseDisplayName
# OLE32 (DCOM, which Windows 95 retail lacks)
CoInitializeEx CoCreateInstanceEx CoInitializeSecurity
# VERSION
GetFileVersionInfoExA GetFileVersionInfoSizeExA
# msvcrt.dll, newer than the versions NT 4.0 and Windows 95 OSR2 ship
_vscprintf _scprintf _vsnprintf_s _snprintf_s sprintf_s _aligned_malloc _aligned_free
_aligned_realloc __iob_func _get_output_format _set_output_format
_set_invalid_parameter_handler _get_invalid_parameter_handler _fstat64 _stat64
_ftelli64 _fseeki64 _time64 _localtime64 _gmtime64 _mktime64 _ctime64 _wfopen_s
fopen_s strtok_s strcpy_s strcat_s memcpy_s memmove_s _strtoi64 _strtoui64
_get_current_locale _create_locale _free_locale _configthreadlocale
___lc_codepage_func ___mb_cur_max_func __pctype_func __pwctype_func _resetstkoflw
# msvcrt.dll names that crtdll.dll lacks, which the MinGW runtime and the C++
# library take from msvcrt.dll (start-up, locks, locale, wide conversions);
# linked against crtdll.dll they must come from the static runtime instead
__getmainargs __set_app_type __setusermatherr __initenv __mb_cur_max __argc __argv
__p__acmdln __p__commode __p__fmode __p__environ __p___argc __p___argv __p__pctype
_fmode _commode _environ _pctype __badioinfo __pioinfo __lconv_init ___lc_handle_func
_lock _unlock _set_error_mode _beginthreadex _endthreadex _set_new_handler
mbrtowc wcrtomb strnlen wcsnlen
EOF
)

status=0
for exe in "$@"; do
    if [ ! -f "$exe" ]; then echo "$exe: missing"; status=1; continue; fi
    dump=$(x86_64-w64-mingw32-objdump -p "$exe")
    dlls=$(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p')
    echo "$exe imports: $(echo $dlls)"
    for d in $dlls; do
        case $(echo "$d" | tr 'A-Z' 'a-z') in
            kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|comdlg32.dll|ole32.dll|oleaut32.dll|version.dll|crtdll.dll|comctl32.dll) ;;
            msvcrt.dll)
                # The test tree links the MinGW default runtime over msvcrt.dll;
                # the shipped programs must not (Windows 95 retail has none).
                if [ $win95 = 1 ]; then echo "  imports msvcrt.dll, which Windows 95 retail lacks"; status=1; fi ;;
            *) echo "  not a system DLL: $d"; status=1 ;;
        esac
    done
    if [ $win95 = 1 ]; then
        # "dll function" per imported name.
        pairs=$(echo "$dump" | awk '
            /^[[:space:]]*DLL Name:/ { dll = tolower($3); next }
            dll != "" && /^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[A-Za-z_]/ { print dll, $NF }')
        functions=$(echo "$pairs" | awk '{ print $2 }')
        for f in $NEWER; do
            if echo "$functions" | grep -qx -- "$f"; then
                echo "  imports $f, which Windows 95 or NT 4.0 lacks"; status=1
            fi
        done
        for f in $(echo "$pairs" | awk '$1 == "crtdll.dll" { print $2 }'); do
            if ! echo "$CRTDLL_EXPORTS" | grep -qx -- "$f"; then
                echo "  imports $f from crtdll.dll, which does not export it"; status=1
            fi
        done
    fi
done
exit $status
