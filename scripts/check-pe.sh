#!/bin/sh
# SETUP.EXE must be a GUI-subsystem PE32 of subsystem version 4.0, which
# Windows 95 requires.
exe="$1"
out=$(i686-w64-mingw32-objdump -p "$exe")
status=0
echo "$out" | grep -q 'file format pei-i386' || { echo "not PE32 (pei-i386)"; status=1; }
echo "$out" | grep -Eq '^Subsystem[[:space:]]+00000002' || { echo "not the GUI subsystem"; status=1; }
echo "$out" | grep -Eq '^MajorSubsystemVersion[[:space:]]+4$' || { echo "major subsystem version is not 4"; status=1; }
echo "$out" | grep -Eq '^MinorSubsystemVersion[[:space:]]+0$' || { echo "minor subsystem version is not 0"; status=1; }
[ $status = 0 ] && echo "$exe: PE32, GUI subsystem 4.0"
exit $status
