#!/bin/sh
# Extraction speed and peak memory of the archive reader and its coders on a
# generated payload (default 20 MB, mixed), next to zlib's own inflate of the
# same stored streams in the same run. Prints figures; asserts nothing.
#   sh bench/archive-bench.sh [MB] [RUNS]
# Built here with -O2 and without sanitizers, which would distort both figures.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
mb=${1:-20}
runs=${2:-3}
out="$root/build/bench"
mkdir -p "$out"
exe="$out/archive_bench"
srcs="$root/bench/ArchiveBench.cpp $root/framework/Object.cpp $root/framework/Exception.cpp $root/errors/SetupException.cpp"
for f in "$root"/archive/*.cpp; do
    case "$f" in *_win.cpp) ;; *) srcs="$srcs $f" ;; esac
done
echo "building $exe (g++ -O2) ..."
# shellcheck disable=SC2086
g++ -std=c++17 -O2 -DNDEBUG -I"$root" -o "$exe" $srcs -lz
data="$out/payload"
"$exe" gen "$data" "$mb"
echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load: $(cut -d' ' -f1-3 /proc/loadavg)"
i=1
while [ "$i" -le "$runs" ]; do
    echo "run $i"
    "$exe" extract "$data"
    "$exe" inflate "$data"
    i=$((i + 1))
done
rm -rf "$data"
