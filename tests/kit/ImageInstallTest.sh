#!/bin/sh
# An install from diskette images, as a user with a diskette drive makes
# it. tvkit --images builds the 300-file tree kit of TreeInstallTest.sh on
# 720 KB diskettes, with their images; tvkit verify finds both sound. Each
# image is unpacked with mcopy into a directory of its own, Wine's drive A:
# is that of the first, and Setup is started from A:\SETUP.EXE and driven
# through its pages. When it asks for the next diskette, A: is pointed at
# that image's files and OK pressed. Every file must then be in its
# destination, byte for byte.
#
#   sh tests/kit/ImageInstallTest.sh DRIVER SCRATCH_DIR
#
# DRIVER is tvsdriver.exe. Runs in a Wine prefix of its own, copied from
# the test prefix (WINEPREFIX). Needs build/host (tvkit), mtools and the
# programs of TVS_KIT_PROGRAMS_DIR (default build/ship). Exit code 0
# passed, 1 failed.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
driver="${1:?usage: ImageInstallTest.sh DRIVER SCRATCH_DIR}"
work="${2:?usage: ImageInstallTest.sh DRIVER SCRATCH_DIR}"
template="${WINEPREFIX:?WINEPREFIX must name the test prefix}"
. "$root/tests/kit/TreeKit.sh"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi

write_tree_kit
kit="$work/kit"
"$tvkit" --quiet --images "$work/kit.ini" "$kit" > "$work/listing.txt" ||
    { cat "$work/listing.txt"; echo "FAIL: tvkit --images refused the tree kit"; exit 1; }
"$tvkit" verify --quiet "$kit" > "$work/verify.txt" || { cat "$work/verify.txt"; fail "tvkit verify"; }
grep -qx "DISK\*.IMG: 1 archive(s), 300 member(s), 0 single file(s): kit is sound" "$work/verify.txt" ||
    { cat "$work/verify.txt"; fail "tvkit verify does not find 300 sound members in the images"; }
disks=$(ls "$kit" | grep -c '^DISK[0-9][0-9]\.IMG$')
[ "$disks" -ge 2 ] || fail "the kit has $disks image(s): no change of diskette is tested"

# The diskettes as a drive would show them: each image's files, by mtools.
export MTOOLS_SKIP_CHECK=1 MTOOLS_NO_VFAT=1
n=1
while [ "$n" -le "$disks" ]; do
    nn=$(printf %02d "$n")
    mkdir -p "$work/floppy/$n"
    mcopy -s -m -n -i "$kit/DISK$nn.IMG" '::*' "$work/floppy/$n/" </dev/null ||
        fail "mcopy cannot unpack DISK$nn.IMG"
    n=$((n + 1))
done

copy_prefix
# A: is the drive; a:: (its raw device) must not point anywhere.
insert() {
    rm -f "$prefix/dosdevices/a:" "$prefix/dosdevices/a::"
    ln -s "$work/floppy/$1" "$prefix/dosdevices/a:"
}
insert 1
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1

d() { wine "$driver" "$@" </dev/null 2>/dev/null; }
# Presses a button of the window titled $1 once it shows the control.
press() {
    d wait "$1" 60000 "$2" >/dev/null || { fail "no window \"$1\" with control $2"; return 1; }
    d click "$1" "$2" >/dev/null || { fail "cannot press $2 on \"$1\""; return 1; }
}

status=0
(cd "$work" && wine 'A:\SETUP.EXE' </dev/null >/dev/null 2>&1) &
setup=$!
inserted=1
prompts=0
if press "Welcome" 1020 && press "Select Directory" 1020 && press "Select Program Item Group" 1020; then
    # Until the last page: every diskette prompt is answered by putting in
    # the diskette it names and pressing OK.
    waited=0
    while :; do
        if d wait "Insert Diskette" 300 1026 >/dev/null; then
            request=$(d text "Insert Diskette" 1026 | tr -d '\r')
            wanted=$(printf '%s\n' "$request" | sed -n 's/.*Tree Test Disk \([0-9][0-9]*\).*/\1/p')
            if [ -z "$wanted" ] || [ "$wanted" -ne $((inserted + 1)) ] || [ "$wanted" -gt "$disks" ]; then
                fail "the prompt asks \"$request\" while diskette $inserted is in"
                d click "Insert Diskette" 2 >/dev/null
                break
            fi
            # OK with the old diskette still in: the prompt stays.
            if [ "$prompts" = 0 ]; then
                d click "Insert Diskette" 1 >/dev/null
                d wait "Insert Diskette" 2000 1026 >/dev/null || fail "the prompt went away with diskette 1 still in A:"
            fi
            insert "$wanted"
            inserted=$wanted
            prompts=$((prompts + 1))
            d click "Insert Diskette" 1 >/dev/null || fail "cannot press OK on the diskette prompt"
            d gone "Insert Diskette" 10000 >/dev/null || fail "the prompt stays after diskette $wanted was put in"
            waited=0
            continue
        fi
        if d wait "Tessaly Viewer Setup" 300 1 >/dev/null; then
            d click "Tessaly Viewer Setup" 1 >/dev/null || fail "cannot press the last page's button"
            break
        fi
        kill -0 $setup 2>/dev/null || { fail "Setup ended before its last page"; break; }
        waited=$((waited + 1))
        if [ $waited -ge 200 ]; then
            fail "neither a diskette prompt nor the last page came; windows: $(d list | tr '\r\n' '  ')"
            # Setup waits for an answer nobody gives: end it.
            wineserver -k </dev/null >/dev/null 2>&1
            break
        fi
    done
fi
wait $setup || status=$?
[ "$status" = 0 ] || fail "SETUP.EXE from A: exited with $status"
[ "$prompts" = $((disks - 1)) ] || fail "Setup asked $prompts time(s) for a diskette; the kit has $disks"

check_tree_installed
report_and_exit "300 files installed from A: out of $disks diskette images, $prompts diskette change(s) by the prompt"
