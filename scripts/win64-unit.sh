#!/bin/sh
# The unit tier of the 64-bit build (build/win64 of scripts/build.sh) under
# the 64-bit Wine, in a 64-bit prefix of its own inside that tree. A 32-bit
# host runs it beside its own suite, so that the path of hosts that cannot
# run 32-bit code is kept working everywhere.
#   sh scripts/win64-unit.sh <64-bit build tree>
set -e
tree="$1"
root=$(cd "$(dirname "$0")/.." && pwd)
TVS_WINE_ARCH=win64
. "$root/scripts/wine-env.sh"
[ -f "$tree/tests/unit_tests.exe" ] || { echo "FAIL: $tree/tests/unit_tests.exe is missing"; exit 1; }
prefix="$tree/wineprefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
tvs_ensure_prefix "$prefix"
# A detached server, as wine_up starts one (see tests/CMakeLists.txt).
wineserver -p </dev/null >/dev/null 2>&1
status=0
wine "$tree/tests/unit_tests.exe" </dev/null || status=$?
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w </dev/null >/dev/null 2>&1 || true
exit $status
