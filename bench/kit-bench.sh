#!/bin/sh
# Figures for the kit builder, nothing asserted: archive bytes, diskettes and
# wall time of tvkit at deflate levels 6 to 12, next to tvkit deflating with
# zlib at level 9 (what it did before libdeflate) and to gzip -6 on the same
# bytes, in one run, on two inputs:
#   demo  the demo kit (demo/kit.ini: the shipped programs stored, the samples
#         deflated; every deflated archive is set to the level measured);
#   tree  a tree of real, mixed files, default 20 MB: a third Windows DLLs
#         (Wine's), a third C headers (text), a third files that are already
#         gzip-compressed, in nested directories, on 1.44 MB diskettes;
#   code  the same tree without the compressed third.
#   sh bench/kit-bench.sh [MB] [RUNS]
# Wall times are the best of RUNS (default 3), with that run's CPU time
# (user + system), which moves less with other jobs' load. tvkit deflates on
# every processor; gzip has one thread. Both tvkits are built here with -O2 and
# without sanitizers, which would distort the figures. The demo input needs
# the shipped programs (build/ship, made by scripts/build.sh).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
mb=${1:-20}
runs=${2:-3}
out="$root/build/bench/kit"
rm -rf "$out"
mkdir -p "$out"
core=""
for f in "$root"/archive/*.cpp "$root"/support/*.cpp; do
    case "$f" in *_win.cpp | *_win32.cpp) continue ;; esac
    if grep -q '^#include <windows.h>' "$f" "${f%.cpp}.h" 2>/dev/null; then continue; fi
    core="$core $f"
done
core="$core $root/framework/Object.cpp $root/framework/Exception.cpp $root/errors/SetupException.cpp"
kit=""
for f in "$root"/tools/kitbuilder/*.cpp; do
    case "$f" in */KitDeflate*.cpp) continue ;; esac
    kit="$kit $f"
done
echo "building tvkit (libdeflate) and tvkit-zlib (g++ -O2) ..."
# shellcheck disable=SC2086
g++ -std=c++17 -O2 -DNDEBUG -I"$root" -o "$out/tvkit" $core $kit "$root/tools/kitbuilder/KitDeflateLibdeflate.cpp" \
    -ldeflate -lz -pthread
# shellcheck disable=SC2086
g++ -std=c++17 -O2 -DNDEBUG -I"$root" -o "$out/tvkit-zlib" $core $kit "$root/tools/kitbuilder/KitDeflateZlib.cpp" \
    -lz -pthread

# The tree: files copied under 8.3 names, so that every one is a valid
# member name; sizes and contents are the originals'.
tree="$out/tree-src"
fill() {  # fill DIR EXT BYTES FILES...: copy files until BYTES are reached
    dir=$1 ext=$2 want=$3
    shift 3
    got=0 n=0
    for f in "$@"; do
        [ -f "$f" ] || continue
        [ "$got" -lt "$want" ] || break
        sub="$dir/D$((n / 40))"
        mkdir -p "$sub"
        cp "$f" "$sub/$(printf 'F%05d' "$n").$ext"
        got=$((got + $(stat -c %s "$f")))
        n=$((n + 1))
    done
    echo "  $dir: $n files, $got bytes"
}
third=$((mb * 1048576 / 3))
echo "tree of $mb MB:"
# shellcheck disable=SC2046
fill "$tree/BIN" DLL "$third" $(find /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows -name '*.dll' -size -600k 2>/dev/null | LC_ALL=C sort)
# shellcheck disable=SC2046
fill "$tree/TEXT" H "$third" $(find /usr/include -name '*.h' | LC_ALL=C sort)
# shellcheck disable=SC2046
fill "$tree/PACKED" GZ "$third" $(find /usr/share/doc /usr/share/man -name '*.gz' | LC_ALL=C sort)
tree_ini() {  # tree_ini LEVEL [SOURCE]
    cat <<EOF
[kit]
disk_size = 1457664
label = Bench %d
[destinations]
0 = BENCH|-1|
[groups]
All = All|All files|1|1|1
[archive DATA.A1]
component = All
method = deflate
level = $1
[tree all]
source = ${2:-$tree}
files = *
recurse = 1
subdirs = create
archive = DATA.A1
destination = 0
EOF
}

# The same tree without its already compressed third, for what deflate
# levels do on files that compress.
code="$out/code-src"
mkdir -p "$code"
cp -al "$tree/BIN" "$tree/TEXT" "$code/"

# The demo: its description beside links to the files it names.
demo="$out/demo-desc"
mkdir -p "$demo"
for f in "$root"/demo/*; do
    [ "$(basename "$f")" = kit.ini ] || ln -s "$f" "$demo/"
done
ln -s "$root/build" "$out/build"
demo_ini() {  # demo_ini LEVEL: the demo with every deflated archive at LEVEL
    awk -v lvl="$1" '/^\[/ { insec = ($0 ~ /^\[archive /) } insec && /^level *=/ { next }
        { print } /^method *= *deflate/ && insec { print "level = " lvl }' "$root/demo/kit.ini"
}
if [ ! -f "$root/build/ship/app/SETUP.EXE" ]; then
    echo "no build/ship: the demo input is skipped (sh scripts/build.sh makes it)"
    inputs="tree code"
else
    inputs="demo tree code"
fi

best=""
# keep_best: the run in $out/time ("wall user system") if its wall time is
# the best so far; $best is "wall cpu".
keep_best() {
    best=$(awk -v b="$best" '{ w = $1; c = $2 + $3 } END { split(b, o, " ");
        if (b == "" || w < o[1]) printf "%.2f %.2f", w, c; else print b }' "$out/time")
}
measure() {  # measure INPUT LABEL PROGRAM LEVEL
    input=$1 label=$2 prog=$3 level=$4
    if [ "$input" = demo ]; then
        ini="$demo/kit.ini"
        demo_ini "$level" >"$ini"
    elif [ "$input" = tree ]; then
        ini="$out/tree.ini"
        tree_ini "$level" >"$ini"
    else
        ini="$out/code.ini"
        tree_ini "$level" "$code" >"$ini"
    fi
    best=""
    i=1
    while [ "$i" -le "$runs" ]; do
        rm -rf "$out/kit-out"
        /usr/bin/time -f '%e %U %S' -o "$out/time" "$prog" --quiet "$ini" "$out/kit-out" >/dev/null
        keep_best
        i=$((i + 1))
    done
    if [ "$input" = demo ]; then pattern='SAMPLES.*'; else pattern='DATA.*'; fi
    bytes=$(find "$out/kit-out" -type f -name "$pattern" -exec cat {} + | wc -c)
    disks=$(find "$out/kit-out" -mindepth 1 -maxdepth 1 -type d -name 'DISK*' | wc -l)
    echo "$input|$label|$bytes|$disks|${best% *}|${best#* }" >>"$out/results"
}
echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) processors, load: $(cut -d' ' -f1-3 /proc/loadavg)"
for input in $inputs; do
    measure "$input" "zlib 9 (tvkit-zlib)" "$out/tvkit-zlib" 9
    for level in 6 7 8 9 10 11 12; do
        measure "$input" "libdeflate $level" "$out/tvkit" "$level"
    done
    # gzip -6 on the deflated archive's sources, one stream
    if [ "$input" = demo ]; then
        set -- $(find -L "$demo/samples" -maxdepth 1 -type f \( -name '*.pdb' -o -name '*.mol' -o -name '*.xyz' \) | LC_ALL=C sort)
    elif [ "$input" = tree ]; then
        set -- $(find "$tree" -type f | LC_ALL=C sort)
    else
        set -- $(find "$code" -type f | LC_ALL=C sort)
    fi
    best=""
    i=1
    while [ "$i" -le "$runs" ]; do
        cat "$@" >"$out/one-stream"
        /usr/bin/time -f '%e %U %S' -o "$out/time" gzip -6 -c "$out/one-stream" >"$out/one-stream.gz"
        gz=$(wc -c <"$out/one-stream.gz")
        keep_best
        i=$((i + 1))
    done
    echo "$input|gzip -6 (one stream)|$gz|-|${best% *}|${best#* }" >>"$out/results"
    echo "$input|input|$(wc -c <"$out/one-stream")|-|-|-" >>"$out/results"
done

echo
echo "| input | compressor | archive bytes | vs zlib 9 | diskettes | wall s | CPU s | MB/s in (wall) |"
echo "|---|---|---|---|---|---|---|---|"
awk -F'|' '
    $2 == "input" { in_bytes[$1] = $3; next }
    { rows[++n] = $0; if ($2 ~ /^zlib 9/) z[$1] = $3 }
    END {
        for (i = 1; i <= n; ++i) {
            split(rows[i], f, "|")
            rel = (f[1] in z) ? sprintf("%+.2f %%", (f[3] - z[f[1]]) * 100 / z[f[1]]) : "-"
            rate = (f[5] > 0) ? sprintf("%.1f", in_bytes[f[1]] / 1048576 / f[5]) : "-"
            printf "| %s (%.1f MB) | %s | %d | %s | %s | %s | %s | %s |\n", f[1], in_bytes[f[1]] / 1048576, f[2], f[3], rel, f[4], f[5], f[6], rate
        }
    }' "$out/results"
echo
echo "archive bytes: the deflated archive's volumes on all diskettes (demo: SAMPLES.*, the samples; tree: DATA.*);"
echo "gzip -6 compresses the same files as one stream. CPU: user + system of that run. MB/s in: the archive's input over the wall time;"
echo "for the demo the wall time is the whole kit, programs stored, with the process start."
