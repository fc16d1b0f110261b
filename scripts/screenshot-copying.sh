#!/bin/sh
# Screenshots of the copy page while a real install runs: the gauge part
# way through, with the source and destination names above it. The kit is
# generated here (one component, 1,500 small files in one archive), which
# keeps the page up for several seconds; the pages before it are passed
# with Next, as a user would.
#   sh scripts/screenshot-copying.sh [outdir]
# Needs a built tree (sh scripts/build.sh). Without a display it runs itself
# again on a private Xvfb server. Writes copying-1.png ... into outdir and
# prints the names of those that show the page.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
out="${1:-$TVS_WIN_TREE/screenshots}"
case "$out" in /*) ;; *) out="$(pwd)/$out" ;; esac
if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$out"
fi
# A prefix of its own: the install registers itself and makes a group,
# which the tests' prefix must not keep.
prefix="$TVS_WIN_TREE/shot-prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
tvs_ensure_prefix "$prefix"
driver="$TVS_WIN_TREE/tools/guidriver/tvsdriver.exe"
tvkit="$root/build/host/tools/kitbuilder/tvkit"
cmake --build "$TVS_WIN_TREE" --target tvsdriver >/dev/null
cmake --build "$root/build/ship" >/dev/null
cmake --build "$root/build/host" --target tvkit >/dev/null
mkdir -p "$out"

work="$WINEPREFIX/drive_c/tvs-shot-copy"
mkdir -p "$work/src"
count=1500
{
    printf '[kit]\ndisk_size = 67108864\nsetup_exe = %s\nprofile_name = SETUP.ini\n' \
        "$root/build/ship/app/SETUP.EXE"
    printf 'label = Tessaly Viewer Disk %%d\n\n[diskettes]\n1 = Tessaly Viewer Disk 1|\n\n'
    printf '[destinations]\n0 = TVSHOT|-1|\n\n[groups]\nViewer = Tessaly Viewer|Molecules|1|1|1\n\n'
    printf '[targets]\n\n[archive DATA.A1]\ncomponent = Viewer\nmethod = deflate\n\n'
    i=1
    while [ $i -le $count ]; do
        name=$(printf 'MOL%05d.XYZ' $i)
        printf '[file %s]\nsource = src/%s\narchive = DATA.A1\ndestination = 0\n\n' "$name" "$name"
        i=$((i + 1))
    done
} > "$work/kit.ini"
# Water molecules, each file a little different.
i=1
while [ $i -le $count ]; do
    printf '3\nmolecule %d\nO 0.000 0.000 0.%03d\nH 0.757 0.586 0.000\nH -0.757 0.586 0.000\n' $i $((i % 1000)) \
        > "$work/src/$(printf 'MOL%05d.XYZ' $i)"
    i=$((i + 1))
done
"$tvkit" "$work/kit.ini" "$work/kit" >/dev/null 2>&1

d() { wine "$driver" "$@" </dev/null >/dev/null 2>&1; }
press() { d wait "$1" 30000 "$2" && d click "$1" "$2"; }

wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
wine 'C:\tvs-shot-copy\kit\DISK01\SETUP.EXE' </dev/null >/dev/null 2>&1 &
status=0
if press "Welcome" 1020 && press "Select Directory" 1020 && press "Select Program Item Group" 1020; then
    # The gauge moves while these are taken; the page comes and goes.
    n=1
    while [ $n -le 8 ]; do
        sleep 1.5
        import -window root "$out/copying-$n.png"
        echo "$out/copying-$n.png"
        n=$((n + 1))
    done
else
    echo "screenshot-copying: the pages before copying did not appear" >&2
    status=1
fi
wineserver -k </dev/null >/dev/null 2>&1 || true
wait || true
rm -rf "$prefix"
exit $status
