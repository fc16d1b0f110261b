#!/bin/sh
# Starts the shipped programs (the build that Windows 95 and NT 4.0 get,
# with their runtime's wide-character imports replaced) under Wine, so that
# a link change that breaks start-up or exception handling shows at once.
# SETUP.EXE in batch mode with no profile must throw, report into nowhere
# and end with code 1; _qzdinst.exe without switches must refuse them (1).
#   sh scripts/ship-smoke.sh <ship build dir>
ship="$1"
status=0
wine "$ship/app/SETUP.EXE" /B /D:C:\\tvs-ship-smoke-no-kit </dev/null >/dev/null 2>&1
code=$?
if [ $code -eq 1 ]; then echo "SETUP.EXE /B without a profile: exit code 1"; else
    echo "SETUP.EXE /B without a profile: exit code $code, expected 1"; status=1; fi
wine "$ship/product/_qzdinst.exe" </dev/null >/dev/null 2>&1
code=$?
if [ $code -eq 1 ]; then echo "_qzdinst.exe without switches: exit code 1"; else
    echo "_qzdinst.exe without switches: exit code $code, expected 1"; status=1; fi
exit $status
