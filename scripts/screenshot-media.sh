#!/bin/sh
# Screenshots of the diskette prompt (collapsed and expanded) and of the copy
# page with its gauge at 40%, into the Windows test tree's shots/. Builds what it needs,
# uses the test prefix (fonts and virtual desktop) and runs on a private
# Xvfb server when there is no display.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
win="$TVS_WIN_TREE"
if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi
cmake --build "$win" --target mediashow tvsdriver >/dev/null
. "$root/scripts/use-test-prefix.sh"
shots="$win/shots"
mkdir -p "$shots"
driver="$win/tools/guidriver/tvsdriver.exe"
show="$win/tools/mediashow/mediashow.exe"

# One detached server first: wine processes started inside a pipe would
# otherwise keep it waiting (see the toolchain notes).
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1

status=0
wine "$show" </dev/null >/dev/null 2>&1 &
pid=$!
{
    wine "$driver" wait "Insert Diskette" 15000 1026 &&
    echo "collapsed: client $(wine "$driver" size "Insert Diskette") px" &&
    import -window root "$shots/diskette-prompt-collapsed.png" &&
    wine "$driver" click "Insert Diskette" 119 &&
    echo "expanded: client $(wine "$driver" size "Insert Diskette") px, More caption $(wine "$driver" text "Insert Diskette" 119)" &&
    import -window root "$shots/diskette-prompt-expanded.png" &&
    wine "$driver" click "Insert Diskette" 2
} || status=$?
wait $pid || true

if [ $status = 0 ]; then
    wine "$show" /gauge </dev/null >/dev/null 2>&1 &
    pid=$!
    {
        wine "$driver" wait "Tessaly Viewer Setup" 15000 1010 &&
        import -window root "$shots/gauge-40.png" &&
        wine "$driver" click "Tessaly Viewer Setup" 2
    } || status=$?
    wait $pid || true
fi
wineserver -k </dev/null >/dev/null 2>&1 || true
[ $status = 0 ] && ls -l "$shots"/diskette-prompt-*.png "$shots"/gauge-40.png
exit $status
