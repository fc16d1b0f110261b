#!/bin/sh
# tvkit --images: FAT12 images beside the DISKnn directories that hold the
# same files, labelled after the diskettes, the same byte for byte for one
# and two threads; tvkit verify reads them; every diskette's files fit its
# image, root entries included.
#
#   sh tests/kit/KitImagesTest.sh TVKIT SCRATCH_DIR
#
# Exit code 0 passed, 1 failed, 77 without mtools.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
tvkit="${1:?usage: KitImagesTest.sh TVKIT SCRATCH_DIR}"
work="${2:?usage: KitImagesTest.sh TVKIT SCRATCH_DIR}"
command -v mformat >/dev/null && command -v mcopy >/dev/null || { echo "SKIP: no mtools"; exit 77; }
export MTOOLS_SKIP_CHECK=1 MTOOLS_NO_VFAT=1
failures=0
fail() {
    printf 'FAIL: %s\n' "$*"
    failures=$((failures + 1))
}
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

# 1. The 300-file tree in one archive on 720 KB diskettes, with a Setup of
# 300 KB on DISK01: the volumes fill each diskette to its last cluster.
python3 "$root/tests/kit/TreePayload.py" "$work/payload" || { echo "FAIL: no payload"; exit 1; }
python3 -c "import random, sys; r = random.Random(7); sys.stdout.buffer.write(bytes(r.getrandbits(8) for _ in range(300000)))" \
    > "$work/setup.exe"
cat > "$work/kit.ini" <<INI
[kit]
disk_size = 737280
setup_exe = setup.exe
profile_reserve = 4000
label = Tree Test Disk %d
[diskettes]
2 = Second|
[destinations]
0 = TREEKIT|-1|
[groups]
Main = Tree test|Every file of the tree|1|1|1
[file SETUP.EXE]
component = Main
[archive TREE.A1]
component = Main
[tree payload]
source = payload
archive = TREE.A1
subdirs = create
INI
for t in 1 2; do
    "$tvkit" --quiet --threads $t --images "$work/kit.ini" "$work/kit$t" > "$work/listing$t.txt" ||
        { cat "$work/listing$t.txt"; echo "FAIL: tvkit --images --threads $t refused the kit"; exit 1; }
done
kit="$work/kit1"
disks=$(ls -d "$kit"/DISK?? | wc -l)
[ "$disks" -ge 2 ] || fail "the tree kit fits on one diskette"
sed "s|$work/kit1|KIT|" "$work/listing1.txt" > "$work/listing1.cmp"
sed "s|$work/kit2|KIT|" "$work/listing2.txt" > "$work/listing2.cmp"
cmp -s "$work/listing1.cmp" "$work/listing2.cmp" || fail "the listings of one and two threads differ"
n=1
while [ "$n" -le "$disks" ]; do
    nn=$(printf %02d "$n")
    image="$kit/DISK$nn.IMG"
    [ -f "$image" ] || { fail "no DISK$nn.IMG"; n=$((n + 1)); continue; }
    [ "$(wc -c < "$image")" = 737280 ] || fail "DISK$nn.IMG is not 720 KB"
    cmp -s "$image" "$work/kit2/DISK$nn.IMG" || fail "DISK$nn.IMG differs between one and two threads"
    minfo -i "$image" :: > "$work/minfo.txt" 2>&1 || fail "minfo cannot read DISK$nn.IMG"
    grep -q 'disk type="FAT12' "$work/minfo.txt" || fail "DISK$nn.IMG is no FAT12 image"
    grep -q '^sectors per track: 9$' "$work/minfo.txt" || fail "DISK$nn.IMG is not laid out as 720 KB"
    case $n in
        1) label="Tree Test D" ;;  # "Tree Test Disk 1" cut to 11
        2) label="Second" ;;
        *) label="Tree Test D" ;;
    esac
    mlabel -s -i "$image" :: | grep -q "Volume label is $label\( (abbr=.*)\)\{0,1\} *\$" ||
        fail "DISK$nn.IMG is labelled \"$(mlabel -s -i "$image" ::)\", not $label"
    # The image holds what the directory holds, under the same names.
    mkdir -p "$work/out/$nn"
    mcopy -s -m -n -i "$image" '::*' "$work/out/$nn/" </dev/null || fail "mcopy cannot unpack DISK$nn.IMG"
    diff -r "$kit/DISK$nn" "$work/out/$nn" > "$work/diff.txt" || { cat "$work/diff.txt"; fail "DISK$nn.IMG and DISK$nn differ"; }
    n=$((n + 1))
done
[ -f "$kit/DISK$(printf %02d $((disks + 1))).IMG" ] && fail "an image without its diskette"
cmp -s "$kit/DISK01/SETUP.EXE" "$work/setup.exe" || fail "DISK01/SETUP.EXE is not setup_exe"

# The summary counts clusters and root entries of each image: DISK01 has
# three files and a label of mixed case (two entries).
grep -q '^  DISK01  3 file(s), [0-9]* bytes, [0-9]* of 713 clusters (.*), 5 of 112 root entries$' "$work/listing1.txt" ||
    { grep '^  DISK' "$work/listing1.txt"; fail "the summary does not give DISK01's clusters and root entries"; }

# 2. tvkit verify: the directories and the images; the images alone; an
# image missing.
"$tvkit" verify --quiet "$kit" > "$work/verify.txt" || { cat "$work/verify.txt"; fail "tvkit verify of the kit"; }
grep -qx "1 archive(s), 300 member(s), 1 single file(s): kit is sound" "$work/verify.txt" ||
    { cat "$work/verify.txt"; fail "tvkit verify does not report the directories"; }
grep -qx "DISK\*.IMG: 1 archive(s), 300 member(s), 1 single file(s): kit is sound" "$work/verify.txt" ||
    { cat "$work/verify.txt"; fail "tvkit verify does not report the images"; }
mkdir -p "$work/images"
cp "$kit"/DISK*.IMG "$work/images/"
"$tvkit" verify --quiet "$work/images" > "$work/verify.txt" || { cat "$work/verify.txt"; fail "tvkit verify of the images alone"; }
rm "$work/images/DISK02.IMG"
if "$tvkit" verify --quiet "$work/images" > "$work/verify.txt"; then
    fail "tvkit verify took the images without DISK02.IMG"
fi
grep -q '^damaged: ' "$work/verify.txt" || { cat "$work/verify.txt"; fail "no damage named for the missing image"; }

# 3. 1.44 MB diskettes of 260 small single files: more than one root
# directory holds, so they go onto two diskettes, and the images take them.
mkdir -p "$work/small"
{
    printf '[kit]\ndisk_size = 1457664\nprofile_reserve = 20000\nlabel = SMALL %%d\n'
    printf '[destinations]\n0 = SMALL|-1|\n[groups]\nMain = Small|Small files|1|1|1\n'
    printf '[tree small]\nsource = small\ncomponent = Main\n'
} > "$work/small.ini"
i=0
while [ $i -lt 260 ]; do
    printf 'file %d\n' $i > "$work/small/F$i.TXT"
    i=$((i + 1))
done
"$tvkit" --quiet --images "$work/small.ini" "$work/smallkit" > "$work/small.txt" ||
    { cat "$work/small.txt"; fail "tvkit --images refused 260 single files"; }
[ -f "$work/smallkit/DISK02.IMG" ] || fail "260 single files were put on one diskette of 224 root entries"
"$tvkit" verify --quiet "$work/smallkit" > "$work/verify.txt" || { cat "$work/verify.txt"; fail "tvkit verify of the small kit"; }
grep -qx "DISK\*.IMG: 0 archive(s), 0 member(s), 260 single file(s): kit is sound" "$work/verify.txt" ||
    { cat "$work/verify.txt"; fail "the small kit's images do not hold 260 files"; }

# 4. A directory with images of another kit is refused; so are sizes
# mtools has no format for, naming the reason.
mkdir -p "$work/stale"
cp "$kit/DISK01.IMG" "$work/stale/DISK03.IMG"
if "$tvkit" --quiet --images "$work/kit.ini" "$work/stale" > "$work/stale.txt" 2>&1; then
    fail "--images wrote into a directory holding DISK03.IMG"
fi
grep -q 'already holds diskette images' "$work/stale.txt" || { cat "$work/stale.txt"; fail "no reason given for the stale image"; }
[ -d "$work/stale/DISK01" ] && fail "the refused build wrote DISK01"
sed 's/^disk_size = .*/disk_size = 800000/' "$work/kit.ini" > "$work/odd.ini"
if "$tvkit" --quiet --images "$work/odd.ini" "$work/odd" > "$work/odd.txt" 2>&1; then
    fail "--images took disk_size 800000"
fi
grep -q 'disk_size 737280 (720 KB) or 1457664 (1.44 MB)' "$work/odd.txt" || { cat "$work/odd.txt"; fail "no reason given for the odd size"; }

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "PASS: $disks images of the tree kit, byte-identical for one and two threads, sound"
exit 0
