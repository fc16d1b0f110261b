#!/bin/sh
# Figures for the archive code, nothing asserted: extraction speed and peak
# memory of the reader and its coders on a generated payload (default 20 MB,
# mixed), next to zlib's own inflate of the same stored streams in the same
# run, natively and under Wine (the same source built for Windows, run with
# the test prefix). The kit builder's compression: bench/kit-bench.sh.
#   sh bench/archive-bench.sh [MB] [RUNS]
# Built here with -O2 and without sanitizers, which would distort the figures.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
mb=${1:-20}
runs=${2:-3}
out="$root/build/bench"
mkdir -p "$out"
exe="$out/archive_bench"
srcs="$root/bench/ArchiveBench.cpp $root/framework/Object.cpp $root/framework/Exception.cpp $root/errors/SetupException.cpp"
# The portable half of archive/ only (no Win32 files, no dialogs).
for f in "$root"/archive/*.cpp; do
    case "$f" in *_win.cpp) continue ;; esac
    if grep -q '^#include <windows.h>' "$f" "${f%.cpp}.h" 2>/dev/null; then continue; fi
    srcs="$srcs $f"
done
echo "building $exe (g++ -O2) ..."
# shellcheck disable=SC2086
g++ -std=c++17 -O2 -DNDEBUG -I"$root" -o "$exe" $srcs -lz
winexe=""
if command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 && command -v wine >/dev/null 2>&1; then
    winexe="$out/archive_bench.exe"
    echo "building $winexe (i686-w64-mingw32-g++ -O2, static) ..."
    winsrcs=$(echo "$srcs" | tr ' ' '\n' | grep -v '_posix\.cpp$' | tr '\n' ' ')
    # shellcheck disable=SC2086
    i686-w64-mingw32-g++-posix -std=c++17 -O2 -DNDEBUG -I"$root" -o "$winexe" $winsrcs \
        -static -static-libgcc -static-libstdc++ /usr/i686-w64-mingw32/lib/libz.a -lpsapi
fi
data="$out/payload"
"$exe" gen "$data" "$mb"
echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load: $(cut -d' ' -f1-3 /proc/loadavg)"
i=1
while [ "$i" -le "$runs" ]; do
    echo "run $i (host)"
    "$exe" extract "$data"
    "$exe" inflate "$data"
    i=$((i + 1))
done
if [ -n "$winexe" ]; then
    export WINEPREFIX="$root/build/win/wineprefix" WINEDEBUG=-all
    # Start the server outside any pipe first (see toolchain notes).
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine wineboot </dev/null >/dev/null 2>&1 || true
    i=1
    while [ "$i" -le "$runs" ]; do
        echo "run $i (wine)"
        wine "$winexe" extract "$(winepath -w "$data" 2>/dev/null)" </dev/null
        wine "$winexe" inflate "$(winepath -w "$data" 2>/dev/null)" </dev/null
        i=$((i + 1))
    done
fi
rm -rf "$data"

echo "the kit builder's compression figures: sh bench/kit-bench.sh"
