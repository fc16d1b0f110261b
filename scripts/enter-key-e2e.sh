#!/bin/sh
# Enter and Escape typed on the keyboard, as a user types them: xdotool
# sends real key events to the Wine desktop under Xvfb, after tvsdriver has
# brought the page to the front. An install walks 102, 104 (the caret in
# the location edit) and 106 (the focus on the bar's Next) with Enter and
# leaves the final page with Escape; the uninstall leaves 1545 with Enter.
# Run by CTest inside the test prefix (wine_up has started the server).
# Arguments: the driver and the built SETUP.EXE. Exit 77: no display or no
# xdotool here.
driver="$1"
setup="$2"
command -v xdotool >/dev/null 2>&1 || { echo "SKIP: xdotool is not installed"; exit 77; }
[ -n "$DISPLAY" ] || { echo "SKIP: no display"; exit 77; }
d() { wine "$driver" "$@" </dev/null; }
drive_c="$WINEPREFIX/drive_c"
kit="$drive_c/tvs-enter-kit"
log="$drive_c/windows/TYViewer.log"
aside="$log.enter-aside"
# The run writes into the prefix's install log; what other tests left there
# goes aside and comes back.
restore() {
    rm -f "$log"
    [ -f "$aside" ] && mv "$aside" "$log"
    rm -rf "$kit" "$drive_c/tvs-enter-main"
}
fail() {
    echo "FAIL: $*"
    d list 2>/dev/null | head -n 20
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    restore
    exit 1
}
# A key on the real keyboard: to the Wine desktop, which hands it to its
# foreground window.
type_key() {
    desktop=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -n 1)
    [ -n "$desktop" ] || fail "no Wine desktop window on $DISPLAY"
    xdotool windowfocus --sync "$desktop" 2>/dev/null || xdotool windowfocus "$desktop"
    xdotool key --clearmodifiers "$1"
}
# Brings page $1 to the front with the focus on control $2 (0: where the
# page puts it) and, when $3 is given, checks that the focus is on control $3.
focus() {
    got=$(d focus "$1" "$2" | tr -d '\r') || fail "focus \"$1\""
    [ -z "$3" ] || [ "$got" = "$3" ] || fail "the focus on \"$1\" is on control $got, expected $3"
}

[ -f "$log" ] && mv "$log" "$aside"
mkdir -p "$kit"
printf '[destinations]\r\n0=TYVIEWER|-1|C:\\tvs-enter-main\\TYVIEWER\r\n' > "$kit/SETUP.ini"

wine "$setup" '/D:C:\tvs-enter-kit' </dev/null >/dev/null 2>&1 &
pid=$!
d wait Welcome 30000 || fail "no Welcome page"
focus Welcome 0
type_key Return
d wait "Select Directory" 15000 || fail "Enter on Welcome did not show Select Directory"
focus "Select Directory" 0 1001
type_key Return
d wait "Select Program Item Group" 15000 || fail "Enter in the location edit did not show Select Program Item Group"
focus "Select Program Item Group" 1020 1020
type_key Return
d wait "Tessaly Viewer Setup" 30000 1 || fail "Enter on the bar of Select Program Item Group did not install"
[ "$(d text 'Tessaly Viewer Setup' 1 | tr -d '\r')" = "Finished" ] || fail "the install did not end on Finished"
focus "Tessaly Viewer Setup" 1 1
type_key Escape
wait $pid
status=$?
pid=
[ $status = 0 ] || fail "the install exited with $status"

wine "$setup" /U </dev/null >/dev/null 2>&1 &
pid=$!
d wait "Removing Tessaly Viewer" 30000 || fail "no uninstall welcome page"
focus "Removing Tessaly Viewer" 0
type_key Return
d wait "Tessaly Viewer Setup" 30000 1 || fail "Enter on the uninstall welcome page did not remove"
type_key Return
wait $pid
status=$?
pid=
[ $status = 0 ] || fail "the uninstall exited with $status"
restore
echo "Enter and Escape from the keyboard: OK"
