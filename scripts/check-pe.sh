#!/bin/sh
# The programs must be GUI-subsystem executables. The 32-bit ones (--win32,
# the default) are PE32 of subsystem version 4.0, which Windows 95 requires;
# the 64-bit test build (--win64) is PE32+.
#   sh scripts/check-pe.sh [--win32|--win64] program ...
arch=win32
case "$1" in --win32|--win64) arch=${1#--}; shift ;; esac
status=0
for exe in "$@"; do
    ok=1
    if [ "$arch" = win64 ]; then
        out=$(x86_64-w64-mingw32-objdump -p "$exe")
        echo "$out" | grep -q 'file format pei-x86-64' || { echo "$exe: not PE32+ (pei-x86-64)"; ok=0; }
        echo "$out" | grep -Eq '^Subsystem[[:space:]]+00000002' || { echo "$exe: not the GUI subsystem"; ok=0; }
        if [ $ok = 1 ]; then echo "$exe: PE32+, GUI subsystem"; else status=1; fi
        continue
    fi
    out=$(i686-w64-mingw32-objdump -p "$exe")
    echo "$out" | grep -q 'file format pei-i386' || { echo "$exe: not PE32 (pei-i386)"; ok=0; }
    echo "$out" | grep -Eq '^Subsystem[[:space:]]+00000002' || { echo "$exe: not the GUI subsystem"; ok=0; }
    echo "$out" | grep -Eq '^MajorSubsystemVersion[[:space:]]+4$' || { echo "$exe: major subsystem version is not 4"; ok=0; }
    echo "$out" | grep -Eq '^MinorSubsystemVersion[[:space:]]+0$' || { echo "$exe: minor subsystem version is not 0"; ok=0; }
    if [ $ok = 1 ]; then echo "$exe: PE32, GUI subsystem 4.0"; else status=1; fi
done
exit $status
