#!/bin/sh
# The programs must be GUI-subsystem PE32 executables of subsystem version
# 4.0, which Windows 95 requires.
status=0
for exe in "$@"; do
    out=$(i686-w64-mingw32-objdump -p "$exe")
    ok=1
    echo "$out" | grep -q 'file format pei-i386' || { echo "$exe: not PE32 (pei-i386)"; ok=0; }
    echo "$out" | grep -Eq '^Subsystem[[:space:]]+00000002' || { echo "$exe: not the GUI subsystem"; ok=0; }
    echo "$out" | grep -Eq '^MajorSubsystemVersion[[:space:]]+4$' || { echo "$exe: major subsystem version is not 4"; ok=0; }
    echo "$out" | grep -Eq '^MinorSubsystemVersion[[:space:]]+0$' || { echo "$exe: minor subsystem version is not 0"; ok=0; }
    if [ $ok = 1 ]; then echo "$exe: PE32, GUI subsystem 4.0"; else status=1; fi
done
exit $status
