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
. "$root/scripts/wine-env.sh"
programs="${TVS_KIT_PROGRAMS_DIR:-$root/build/ship}"
tvkit="$root/build/host/tools/kitbuilder/tvkit"
prefix="$work/prefix"
failures=0
fail() {
    printf 'FAIL: %s\n' "$*"
    failures=$((failures + 1))
}
finish() {
    WINEPREFIX="$prefix" wineserver -k </dev/null >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w </dev/null >/dev/null 2>&1
    rm -rf "$work"
}

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi

rm -rf "$work"
mkdir -p "$work"
python3 "$root/tests/kit/TreePayload.py" "$work/payload" || { echo "FAIL: no payload"; exit 1; }
cat > "$work/kit.ini" <<INI
[kit]
disk_size = 737280
setup_exe = $programs/app/SETUP.EXE
profile_reserve = 32768
label = Tree Test Disk %d

[destinations]
0 = TREEKIT|-1|

[groups]
Main = Tree test|Every file of the tree|1|1|1

[archive TREE.A1]
component = Main

[tree payload]
source = payload
archive = TREE.A1
destination = 0
subdirs = create
INI
"$tvkit" --quiet "$work/kit.ini" "$work/kit" > "$work/listing.txt" || { echo "FAIL: tvkit refused the tree kit"; exit 1; }
"$tvkit" verify --quiet "$work/kit" > "$work/verify.txt" || { cat "$work/verify.txt"; fail "tvkit verify"; }
grep -qx "1 archive(s), 300 member(s), 0 single file(s): kit is sound" "$work/verify.txt" ||
    { cat "$work/verify.txt"; fail "tvkit verify does not count 300 members"; }
[ -d "$work/kit/DISK02" ] || fail "the tree kit fits on one diskette: no change of diskette is tested"

cp -a "$template" "$prefix" || { echo "FAIL: cannot copy the test prefix"; exit 1; }
trap finish EXIT
export WINEPREFIX="$prefix"
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
mv "$work/kit" "$prefix/drive_c/tree-kit"

status=0
wine 'C:\tree-kit\DISK01\SETUP.EXE' /B </dev/null >/dev/null 2>&1 || status=$?
[ "$status" = 0 ] || fail "SETUP.EXE /B exited with $status"

main="$prefix/drive_c/TREEKIT"
missing=0
for f in $(cd "$work/payload" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); do
    if [ ! -f "$main/$f" ]; then
        missing=$((missing + 1))
        [ $missing -le 5 ] && fail "$f is not in C:\\TREEKIT"
    elif ! cmp -s "$main/$f" "$work/payload/$f"; then
        fail "C:\\TREEKIT/$f differs from its source"
    fi
done
[ $missing -gt 5 ] && fail "... $missing files missing in all"
installed=$(cd "$main" 2>/dev/null && find . -type f ! -iname SETUP.EXE | wc -l)
[ "$installed" = 300 ] || fail "C:\\TREEKIT holds $installed files, not 300"

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "PASS: 300 files of a nested tree installed from $(ls -d "$prefix"/drive_c/tree-kit/DISK* | wc -l) diskettes"
exit 0
