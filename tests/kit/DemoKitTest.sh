#!/bin/sh
# The demo kit as scripts/make-demo-kit.sh builds it: sound by tvkit verify,
# spread over two diskettes with a member continued from DISK01 to DISK02,
# the profile listing what Setup needs, Setup on DISK01 being the shipped
# one, and a second build byte for byte the same.
# Argument: a scratch directory (emptied first).
root=$(cd "$(dirname "$0")/../.." && pwd)
work="$1"
programs="${TVS_KIT_PROGRAMS_DIR:-$root/build/ship}"
fail() {
    echo "FAIL: $*"
    exit 1
}
[ -n "$work" ] || fail "usage: DemoKitTest.sh SCRATCH_DIR"
rm -rf "$work"
mkdir -p "$work"
kit="$work/kit"
sh "$root/scripts/make-demo-kit.sh" "$kit" > "$work/verify.txt" 2>&1 || { cat "$work/verify.txt"; fail "make-demo-kit.sh failed"; }
grep -qx "2 archive(s), 7 member(s), 1 single file(s): kit is sound" "$work/verify.txt" ||
    { cat "$work/verify.txt"; fail "tvkit verify does not report the expected kit"; }

# Two diskettes at least, and an archive member continued across them.
[ -d "$kit/DISK02" ] || fail "the kit fits on one diskette"
grep -q "^  VIEWER\.A1: .*, diskette 1-2\$" "$kit/listing.txt" || { cat "$kit/listing.txt"; fail "no member continues from DISK01 to DISK02"; }
[ -f "$kit/DISK02/VIEWER.A2" ] || fail "VIEWER.A2 is not on DISK02"
cmp -s "$kit/DISK01/SETUP.EXE" "$programs/app/SETUP.EXE" || fail "DISK01/SETUP.EXE is not the shipped Setup"
[ "$(grep -c '^DISK01/SETUP.EXE ' "$kit/listing.txt")" = 1 ] || fail "SETUP.EXE is written more than once"

# The profile, line by line (section, then the exact line).
profile="$kit/DISK01/SETUP.ini"
tr -d '\r' < "$profile" > "$work/profile.txt"
size() { wc -c < "$1" | tr -d ' '; }
setup_size=$(size "$programs/app/SETUP.EXE")
viewer_size=$(( $(size "$programs/product/tyviewer.exe") + $(size "$root/demo/README.TXT") +
    $(size "$programs/product/tyshared.dll") + $(size "$programs/product/_qzdinst.exe") ))
samples_size=$(( $(size "$root/demo/samples/caffeine.pdb") + $(size "$root/demo/samples/benzene.mol") +
    $(size "$root/demo/samples/water.xyz") ))
samples_disk=$(sed -n 's/^  SAMPLES\.A1: [^ ]* .*, diskette \([0-9]*\).*/\1/p' "$kit/listing.txt" | head -n 1)
disks=$(ls -d "$kit"/DISK* | wc -l)
expect() {
    awk -v s="[$1]" -v l="$2" '$0 ~ /^\[/ { inside = ($0 == s); next } inside && $0 == l { found = 1 } END { exit !found }' \
        "$work/profile.txt" || { cat "$work/profile.txt"; fail "[$1] lacks the line: $2"; }
}
expect destinations "0=TYVIEWER|-1|"
expect destinations "1=SAMPLES|0|"
expect groups "Viewer=Tessaly Viewer|The viewer and its shared library|1|1|1"
expect groups "Samples=Sample molecules|Three molecules to open|0|1|1"
expect targets "tyviewer.exe=0|1|0|Tessaly Viewer||tyviewer.exe|"
expect targets "README.TXT=0|2|0|Tessaly Viewer Read Me|||"
expect Viewer "SETUP.EXE=$setup_size|0|1|1|0|"
expect Viewer "VIEWER.A1=$viewer_size|1|4|1|0|"
expect Samples "SAMPLES.A1=$samples_size|1|3|$samples_disk|0|"
expect diskettes "1=Tessaly Viewer Disk 1 (Setup)|"
d=2
while [ "$d" -le "$disks" ]; do
    expect diskettes "$d=Tessaly Viewer Disk $d|"
    d=$((d + 1))
done

# Reproducible: a second build is the same, and a kit is never overwritten.
sh "$root/scripts/make-demo-kit.sh" "$work/again" >/dev/null 2>&1 || fail "second build failed"
for disk in "$kit"/DISK*; do
    diff -r "$disk" "$work/again/${disk##*/}" >/dev/null || fail "two builds of the demo kit differ in ${disk##*/}"
done
[ -d "$work/again/DISK$(printf %02d $((disks + 1)))" ] && fail "the second build has more diskettes"
cp "$kit/listing.txt" "$work/listing.before"
sh "$root/scripts/make-demo-kit.sh" "$kit" >/dev/null 2>&1 && fail "a build over an existing kit was accepted"
cmp -s "$kit/listing.txt" "$work/listing.before" || fail "the refused build touched the existing kit's listing"
rm -rf "$work"
mkdir -p "$work"
echo "demo kit: $disks diskettes, sound"
