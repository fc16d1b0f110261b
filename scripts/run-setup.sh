#!/bin/sh
# Runs SETUP.EXE in the prefix given by WINEPREFIX and prints its exit code.
root=$(cd "$(dirname "$0")/.." && pwd)
wine wineboot </dev/null >/dev/null 2>&1
status=0
wine "$root/build/win/app/SETUP.EXE" "$@" </dev/null || status=$?
echo "SETUP.EXE exited with code $status"
wineserver -k </dev/null >/dev/null 2>&1 || true
exit $status
