#!/bin/sh
# Builds Setup and starts it under Wine in a prefix of its own inside the
# build tree. Without a display it runs in batch mode on a private Xvfb server.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/deps.sh"
sh "$root/scripts/build.sh"
prefix="$root/build/win/run-prefix"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ "$(cat "$prefix/.tvs-ready" 2>/dev/null)" = "$(sed -n 's/^PREFIX_VERSION=//p' "$root/scripts/make-prefix.sh")" ] || sh "$root/scripts/make-prefix.sh" "$prefix"
if [ -z "$DISPLAY" ]; then
    export TVS_RUN_BATCH=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$root/scripts/run-setup.sh" "$@"
fi
exec sh "$root/scripts/run-setup.sh" "$@"
