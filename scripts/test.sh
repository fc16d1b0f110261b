#!/bin/sh
# Installs what is missing, builds both trees and runs every test. The last
# thing printed is CTest's summary; the exit code is CTest's.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/deps.sh"
sh "$root/scripts/build.sh"
cd "$root/build/win"
if [ -n "$DISPLAY" ]; then
    exec ctest --output-on-failure "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure "$@"
