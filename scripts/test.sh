#!/bin/sh
# Installs what is missing, builds every tree and runs every test in the
# Windows test tree of this host (scripts/wine-env.sh: build/win where the
# host can run 32-bit code, build/win64 under the 64-bit Wine where it
# cannot; TVS_WINE_ARCH=win32 or win64 forces one). The last thing printed
# is CTest's summary; the exit code is CTest's.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/deps.sh"
. "$root/scripts/wine-env.sh"
if [ "$TVS_WINE_ARCH" = win64 ] && ! tvs_host_runs_32bit; then
    echo "this host cannot run 32-bit programs: testing the 64-bit build under the 64-bit Wine"
    echo "skipped here, because this host cannot run 32-bit code: ship_smoke (starts the shipped 32-bit programs)"
fi
sh "$root/scripts/build.sh"
cd "$TVS_WIN_TREE"
if [ -n "$DISPLAY" ]; then
    exec ctest --output-on-failure "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure "$@"
