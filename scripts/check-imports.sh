#!/bin/sh
# Fails when a program imports a DLL that Windows does not ship. With
# --win95 it also fails on imported functions that Windows 95 and NT 4 lack
# (the ones newer runtimes are known to pull in).
win95=0
if [ "$1" = "--win95" ]; then win95=1; shift; fi
NEWER="GetTickCount64 AddVectoredExceptionHandler RemoveVectoredExceptionHandler GetHandleInformation
TryEnterCriticalSection InitializeCriticalSectionAndSpinCount InitializeCriticalSectionEx
GetSystemTimePreciseAsFileTime InitOnceExecuteOnce InitializeSRWLock AcquireSRWLockExclusive
SleepConditionVariableCS WakeConditionVariable CreateEventExA CreateEventExW GetFileSizeEx
SetFilePointerEx GetModuleHandleExA GetModuleHandleExW FlsAlloc FlsGetValue FlsSetValue FlsFree
IsDebuggerPresent GetNativeSystemInfo"
status=0
for exe in "$@"; do
    if [ ! -f "$exe" ]; then echo "$exe: missing"; status=1; continue; fi
    dump=$(i686-w64-mingw32-objdump -p "$exe")
    dlls=$(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p')
    echo "$exe imports: $(echo $dlls)"
    for d in $dlls; do
        case $(echo "$d" | tr 'A-Z' 'a-z') in
            kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|comdlg32.dll|ole32.dll|oleaut32.dll|version.dll|msvcrt.dll|comctl32.dll) ;;
            *) echo "  not a system DLL: $d"; status=1 ;;
        esac
    done
    if [ $win95 = 1 ]; then
        for f in $NEWER; do
            if echo "$dump" | grep -Eq "^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+$f\$"; then
                echo "  imports $f, which Windows 95 and NT 4 lack"; status=1
            fi
        done
    fi
done
exit $status
