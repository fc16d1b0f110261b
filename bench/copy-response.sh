#!/bin/sh
# Figures for the copy page's responsiveness, nothing asserted: Setup runs
# interactively on the 5,000-file payload of bench/install-bench.sh (its
# pages passed with Next, as a user would), and bench/CopyResponse.cpp reads
# from outside how often the destination name and the gauge are painted,
# how long Cancel takes to bring up its question, and how long the page
# takes to repaint when uncovered.
#   sh bench/copy-response.sh [SETUP_EXE ...]
# Each Setup given (default: the Windows test tree's app/SETUP.EXE; the
# architecture is this host's, scripts/wine-env.sh) is measured in turn, in
# the same prefix, so two builds can be set side by side. The display is a
# private Xvfb and the prefix has a virtual desktop.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi
. "$root/scripts/wine-env.sh"
[ $# -gt 0 ] || set -- "$TVS_WIN_TREE/app/SETUP.EXE"
out="$root/build/bench/response/$TVS_WINE_ARCH"
mkdir -p "$out"
if [ "$TVS_WINE_ARCH" = win32 ]; then
    cxx=i686-w64-mingw32-g++-posix prefix="$root/build/bench-prefix"
else
    cxx=x86_64-w64-mingw32-g++-posix prefix="$root/build/bench-prefix64"
fi
tvkit="$root/build/host/tools/kitbuilder/tvkit"
driver="$TVS_WIN_TREE/tools/guidriver/tvsdriver.exe"
cmake --build "$root/build/host" --target tvkit >/dev/null
cmake --build "$TVS_WIN_TREE" --target tvsdriver >/dev/null
g++ -std=c++17 -O2 -o "$out/install_payload" "$root/bench/InstallPayload.cpp"
$cxx -std=c++17 -O2 -static -o "$out/copy_response.exe" "$root/bench/CopyResponse.cpp" -lgdi32
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
tvs_ensure_prefix "$prefix"
winpath() { printf 'Z:%s\n' "$1" | tr / '\\'; }
d() { wine "$driver" "$@" </dev/null >/dev/null 2>&1; }
press() { d wait "$1" 30000 "$2" && d click "$1" "$2"; }
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
status=0
n=0
for setup in "$@"; do
    case "$setup" in /*) ;; *) setup="$(pwd)/$setup" ;; esac
    n=$((n + 1))
    dir="$out/kit$n"
    "$out/install_payload" small "$dir" "$setup" >/dev/null
    "$tvkit" --quiet "$dir/kit.ini" "$dir/kit" >/dev/null
    echo "== $setup"
    rm -rf "$prefix/drive_c/TVBENCHB" "$prefix/drive_c/windows/TYViewer.log"
    wine "$(winpath "$dir/kit/DISK01/SETUP.EXE")" </dev/null >/dev/null 2>&1 &
    pid=$!
    if press "Welcome" 1020 && press "Select Directory" 1020 && press "Select Program Item Group" 1020; then
        wine "$(winpath "$out/copy_response.exe")" 3 </dev/null || status=1
    else
        echo "copy-response: the pages before copying did not appear" >&2
        status=1
    fi
    # Setup is ended with the server; the next run starts afresh.
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wait $pid || true
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1
done
exit $status
