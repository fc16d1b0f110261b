#!/bin/sh
# Makes the test prefix once per build tree, then starts a persistent
# wineserver with its descriptors detached (see tests/CMakeLists.txt).
set -e
prefix="$1"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
here=$(dirname "$0")
if [ "$(cat "$prefix/.tvs-ready" 2>/dev/null)" != "$(sed -n 's/^PREFIX_VERSION=//p' "$here/make-prefix.sh")" ]; then
    sh "$here/make-prefix.sh" "$prefix"
fi
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
