#!/bin/sh
# Makes the test prefix once per build tree, then starts a persistent
# wineserver with its descriptors detached (see tests/CMakeLists.txt).
set -e
prefix="$1"
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
tvs_ensure_prefix "$prefix"
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
