#!/bin/sh
# A kit described by one [tree] section: 300 files in nested directories,
# each subdirectory its own destination (subdirs = create), over several
# 720 KB diskettes. tvkit verify finds it sound, and a batch install by its
# SETUP.EXE under Wine puts every file, byte for byte, into its directory.
#
#   sh tests/kit/TreeInstallTest.sh SCRATCH_DIR
#
# Runs in a Wine prefix of its own, copied from the test prefix (WINEPREFIX).
# Needs build/host (tvkit) and the programs of TVS_KIT_PROGRAMS_DIR
# (default build/ship). Exit code 0 passed, 1 failed.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
work="${1:?usage: TreeInstallTest.sh SCRATCH_DIR}"
template="${WINEPREFIX:?WINEPREFIX must name the test prefix}"
. "$root/tests/kit/TreeKit.sh"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi

write_tree_kit
"$tvkit" --quiet "$work/kit.ini" "$work/kit" > "$work/listing.txt" || { echo "FAIL: tvkit refused the tree kit"; exit 1; }
"$tvkit" verify --quiet "$work/kit" > "$work/verify.txt" || { cat "$work/verify.txt"; fail "tvkit verify"; }
grep -qx "1 archive(s), 300 member(s), 0 single file(s): kit is sound" "$work/verify.txt" ||
    { cat "$work/verify.txt"; fail "tvkit verify does not count 300 members"; }
[ -d "$work/kit/DISK02" ] || fail "the tree kit fits on one diskette: no change of diskette is tested"

copy_prefix
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
mv "$work/kit" "$prefix/drive_c/tree-kit"

status=0
wine 'C:\tree-kit\DISK01\SETUP.EXE' /B </dev/null >/dev/null 2>&1 || status=$?
[ "$status" = 0 ] || fail "SETUP.EXE /B exited with $status"

check_tree_installed ! -iname SETUP.EXE
report_and_exit "300 files of a nested tree installed from $(ls -d "$prefix"/drive_c/tree-kit/DISK* | wc -l) diskettes"
