#!/bin/sh
# Builds everything, makes the demo kit (two diskette directories) in a Wine
# prefix of its own inside the build tree, installs Tessaly Viewer from it
# with the shipped SETUP.EXE and shows what the install left: files,
# registry entries, program items and the install log (scripts/run-setup.sh).
# With a display Setup runs visibly; without one it runs in batch mode on a
# private Xvfb server.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/deps.sh"
sh "$root/scripts/build.sh"
prefix="$root/build/win/run-prefix"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
[ "$(cat "$prefix/.tvs-ready" 2>/dev/null)" = "$(sed -n 's/^PREFIX_VERSION=//p' "$root/scripts/make-prefix.sh")" ] || sh "$root/scripts/make-prefix.sh" "$prefix"
if [ -z "$DISPLAY" ]; then
    export TVS_RUN_BATCH=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$root/scripts/run-setup.sh" "$@"
fi
exec sh "$root/scripts/run-setup.sh" "$@"
