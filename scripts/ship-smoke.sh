#!/bin/sh
# Starts the shipped programs (the build that Windows 95 and NT 4.0 get,
# with their runtime's wide-character imports replaced) under Wine, so that
# a link change that breaks start-up or exception handling shows at once.
# SETUP.EXE in batch mode with no profile must throw, report into nowhere
# and end with code 1; _qzdinst.exe without switches must refuse them (1);
# check/runtime_check.exe, linked as they are, must find no fault (0).
#   sh scripts/ship-smoke.sh <ship build dir>
# Reported as skipped (exit code 77), with the reason, where the shipped
# programs cannot be started: on a host that cannot execute 32-bit code, and
# in the 64-bit test tree, whose prefix is not theirs.
ship="$1"
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
if ! tvs_host_runs_32bit; then
    echo "SKIP: this host cannot run 32-bit code"
    exit 77
fi
if [ "$TVS_WINE_ARCH" = win64 ]; then
    echo "SKIP: the 64-bit test tree does not start the shipped 32-bit programs; the 32-bit tree does"
    exit 77
fi
status=0
wine "$ship/app/SETUP.EXE" /Q /D:C:\\tvs-ship-smoke-no-kit </dev/null >/dev/null 2>&1
code=$?
if [ $code -eq 1 ]; then echo "SETUP.EXE /Q without a profile: exit code 1"; else
    echo "SETUP.EXE /Q without a profile: exit code $code, expected 1"; status=1; fi
wine "$ship/product/_qzdinst.exe" </dev/null >/dev/null 2>&1
code=$?
if [ $code -eq 1 ]; then echo "_qzdinst.exe without switches: exit code 1"; else
    echo "_qzdinst.exe without switches: exit code $code, expected 1"; status=1; fi
# The runtime behaviour the programs rely on (formats, unwinding, binary
# and text files, _mkdir and _chdir), in the shipped link.
# Into a file, not a pipe: Wine's helper processes would hold a pipe open.
out=$(mktemp)
wine "$ship/check/runtime_check.exe" </dev/null >"$out" 2>/dev/null
code=$?
sed 's/^/runtime_check: /' "$out"
rm -f "$out"
if [ $code -ne 0 ]; then echo "runtime_check: exit code $code, expected 0"; status=1; fi
exit $status
