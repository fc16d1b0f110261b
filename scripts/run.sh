#!/bin/sh
# Builds everything, makes the demo kit (two diskette directories) in a Wine
# prefix of its own inside the build tree, installs Tessaly Viewer from it
# with the shipped SETUP.EXE (on a host that cannot run 32-bit code, with
# the 64-bit build of Setup under the 64-bit Wine) and shows what the install left: files,
# registry entries, program items and the install log (scripts/run-setup.sh).
# With a display Setup runs visibly; without one it runs in batch mode on a
# private Xvfb server.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/deps.sh"
. "$root/scripts/wine-env.sh"
sh "$root/scripts/build.sh"
if [ "$TVS_WINE_ARCH" = win64 ]; then
    if ! tvs_host_runs_32bit; then
        echo "this host cannot run 32-bit programs: running the 64-bit build of Setup"
    else
        echo "TVS_WINE_ARCH=win64: running the 64-bit build of Setup"
    fi
    export TVS_KIT_PROGRAMS_DIR="$TVS_WIN_TREE"
fi
prefix="$TVS_WIN_TREE/run-prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
tvs_ensure_prefix "$prefix"
if [ -z "$DISPLAY" ]; then
    export TVS_RUN_BATCH=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$root/scripts/run-setup.sh" "$@"
fi
exec sh "$root/scripts/run-setup.sh" "$@"
