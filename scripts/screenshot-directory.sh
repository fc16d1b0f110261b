#!/bin/sh
# Screenshots of the "Select Directory" page and of its "Change Folder"
# browser, taken in the test prefix with a small profile in a scratch kit.
#   sh scripts/screenshot-directory.sh [outdir]
# Needs a built tree (sh scripts/build.sh). Without a display it runs itself
# again on a private Xvfb server.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
outdir="${1:-$TVS_WIN_TREE/screenshots}"
case "$outdir" in /*) ;; *) outdir="$(pwd)/$outdir" ;; esac
if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$outdir"
fi
. "$root/scripts/use-test-prefix.sh"
driver="$TVS_WIN_TREE/tools/guidriver/tvsdriver.exe"
setup="$TVS_WIN_TREE/app/SETUP.EXE"
cmake --build "$TVS_WIN_TREE" --target setup tvsdriver >/dev/null
mkdir -p "$outdir"

# The kit: Setup and a profile named like it.
kit="$prefix/drive_c/tvs-shot-kit"
rm -rf "$kit"
mkdir -p "$kit"
cp "$setup" "$kit/SETUP.EXE"
printf '[destinations]\r\n0=TYVIEWER|-1|\r\n[groups]\r\nViewer=Tessaly Viewer|Viewer|1|1|1\r\n[Viewer]\r\nTYVIEWER.EXE=1000|0|1|1|0|\r\n[diskettes]\r\n1=Tessaly Viewer Disk 1|\r\n' >"$kit/SETUP.INI"

shot() {
    wine "$driver" paint "$1" </dev/null >/dev/null 2>&1 || true
    sleep 1
    import -window root "$2"
    echo "$2"
}

wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
wine 'C:\tvs-shot-kit\SETUP.EXE' </dev/null >/dev/null 2>&1 &
status=0
if wine "$driver" wait Welcome 30000 </dev/null >/dev/null 2>&1 &&
    wine "$driver" click Welcome 1020 </dev/null >/dev/null 2>&1 &&
    wine "$driver" wait "Select Directory" 30000 </dev/null >/dev/null 2>&1; then
    shot "Select Directory" "$outdir/directory-page.png"
    # Browse (button 4) opens the browser modally: click it in the background.
    wine "$driver" click "Select Directory" 4 </dev/null >/dev/null 2>&1 &
    if wine "$driver" wait "Change Folder" 30000 </dev/null >/dev/null 2>&1; then
        shot "Change Folder" "$outdir/change-folder.png"
        wine "$driver" click "Change Folder" 2 </dev/null >/dev/null 2>&1 || true
    else
        echo "screenshot-directory: the Change Folder dialog did not appear" >&2
        status=1
    fi
else
    echo "screenshot-directory: the Select Directory page did not appear" >&2
    status=1
fi
wineserver -k </dev/null >/dev/null 2>&1 || true
wait || true
rm -rf "$kit"
exit $status
