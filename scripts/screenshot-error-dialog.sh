#!/bin/sh
# Screenshots of the error report for a disk-full file exception, collapsed
# and expanded, into the Windows test tree's shots/. Builds what it needs, uses the test
# prefix (fonts and virtual desktop) and runs on a private Xvfb server when
# there is no display.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
win="$TVS_WIN_TREE"
if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi
cmake --build "$win" --target errorshow tvsdriver >/dev/null
. "$root/scripts/use-test-prefix.sh"
shots="$win/shots"
mkdir -p "$shots"
driver="$win/tools/guidriver/tvsdriver.exe"

# One detached server first: wine processes started inside a pipe would
# otherwise keep it waiting (see the toolchain notes).
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1

wine "$win/tools/errorshow/errorshow.exe" </dev/null >/dev/null 2>&1 &
show=$!
status=0
{
    wine "$driver" wait Warning 15000 152 &&
    echo "collapsed: client $(wine "$driver" size Warning) px" &&
    wine "$driver" paint Warning &&
    import -window root "$shots/error-dialog-collapsed.png" &&
    wine "$driver" click Warning 119 &&
    echo "expanded: client $(wine "$driver" size Warning) px, More caption $(wine "$driver" text Warning 119)" &&
    wine "$driver" paint Warning &&
    import -window root "$shots/error-dialog-expanded.png" &&
    wine "$driver" click Warning 1
} || status=$?
wait $show || true
wineserver -k </dev/null >/dev/null 2>&1 || true
[ $status = 0 ] && ls -l "$shots"/error-dialog-*.png
exit $status
