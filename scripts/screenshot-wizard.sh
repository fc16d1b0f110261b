#!/bin/sh
# Screenshot of the backdrop with the Welcome page and its button bar, taken
# in the test prefix (virtual desktop, Wine's own bitmap fonts).
#   sh scripts/screenshot-wizard.sh [out.png]
# Needs a built tree (sh scripts/build.sh). Without a display it runs itself
# again on a private Xvfb server.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
out="${1:-$TVS_WIN_TREE/screenshots/wizard-welcome.png}"
case "$out" in /*) ;; *) out="$(pwd)/$out" ;; esac
if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$out"
fi
. "$root/scripts/use-test-prefix.sh"
driver="$TVS_WIN_TREE/tools/guidriver/tvsdriver.exe"
setup="$TVS_WIN_TREE/app/SETUP.EXE"
cmake --build "$TVS_WIN_TREE" --target setup tvsdriver >/dev/null
mkdir -p "$(dirname "$out")"

# One detached server, so that no pipe waits for it (see toolchain notes).
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
wine "$setup" </dev/null >/dev/null 2>&1 &
status=0
if wine "$driver" wait Welcome 30000 </dev/null >/dev/null 2>&1; then
    # Paint the page now; the backdrop gets a moment for its own paint.
    wine "$driver" paint Welcome </dev/null >/dev/null 2>&1 || true
    sleep 1
    import -window root "$out"
    echo "$out"
else
    echo "screenshot-wizard: the Welcome page did not appear" >&2
    status=1
fi
wineserver -k </dev/null >/dev/null 2>&1 || true
wait || true
exit $status
