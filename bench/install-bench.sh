#!/bin/sh
# Figures for a whole install, nothing asserted. Two generated payloads
# (fixed seeds, under build/bench/install):
#   a  about 64 MiB in 200 files: molecule text, random bytes, zeros, code-like
#   b  5,000 small files of 200 B to 20 KiB of the same kinds
# For each, four contenders install the same files into a fresh directory of
# the same Wine prefix (build/bench-prefix), each timed RUNS times, median
# wall time printed:
#   SETUP    the shipped build/ship/app/SETUP.EXE /B from a tvkit kit (one
#            component, one deflated archive on one large diskette); this
#            includes its registration, install log and page changes
#   NSIS     makensis, SetCompressor zlib, SilentInstall silent, /S /D=...
#   limit    bench/InstallLimit.cpp: the same kit archive read by our archive
#            reader (and, second line, by bare zlib), files written, no more
#   logwrite bench/LogWrites.cpp: only the install log's per-file lines
#            (WritePrivateProfileStringA, N times) into C:\windows
# wineserver and every contender run on CPU 0 (taskset); the display is a
# private Xvfb as for the main command (set TVS_BENCH_HEADLESS=1 to run
# without one). Peak memory of SETUP.EXE: VmHWM of its Wine process, sampled
# from /proc while it runs.
#   sh bench/install-bench.sh [RUNS]        (TVS_BENCH_PAYLOADS="a" for one payload)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}

if [ -z "$DISPLAY" ] && [ "$TVS_BENCH_HEADLESS" != 1 ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi

out="$root/build/bench/install"
prefix="$root/build/bench-prefix"
setup="$root/build/ship/app/SETUP.EXE"
tvkit="$root/build/host/tools/kitbuilder/tvkit"
mkdir -p "$out"

for tool in makensis taskset xvfb-run wine i686-w64-mingw32-g++-posix; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "install-bench: $tool is missing (makensis: apt-get install -y nsis)" >&2
        exit 1
    fi
done
if [ ! -x "$tvkit" ] || [ ! -f "$setup" ]; then
    echo "install-bench: building (scripts/build.sh) ..."
    sh "$root/scripts/build.sh" >/dev/null
fi

# --- helper programs -------------------------------------------------------
echo "building the payload writer and the Windows helpers ..."
g++ -std=c++17 -O2 -o "$out/install_payload" "$root/bench/InstallPayload.cpp"
srcs="$root/framework/Object.cpp $root/framework/Exception.cpp $root/errors/SetupException.cpp $root/archive/FileStatus_win.cpp"
# The portable half of archive/ (no Win32 files, no dialogs).
for f in "$root"/archive/*.cpp; do
    case "$f" in *_win.cpp | *_posix.cpp) continue ;; esac
    if grep -q '^#include <windows.h>' "$f" "${f%.cpp}.h" 2>/dev/null; then continue; fi
    srcs="$srcs $f"
done
wflags="-std=c++17 -O2 -DNDEBUG -I$root -static -static-libgcc -static-libstdc++"
# shellcheck disable=SC2086
i686-w64-mingw32-g++-posix $wflags -o "$out/install_limit.exe" "$root/bench/InstallLimit.cpp" $srcs \
    /usr/i686-w64-mingw32/lib/libz.a -lpsapi
# shellcheck disable=SC2086
i686-w64-mingw32-g++-posix $wflags -o "$out/log_writes.exe" "$root/bench/LogWrites.cpp"
# shellcheck disable=SC2086
i686-w64-mingw32-g++-posix $wflags -mwindows -o "$out/window_floor.exe" "$root/bench/WindowFloor.cpp"

# --- Wine prefix, server pinned to CPU 0 --------------------------------------
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
want=$(sed -n 's/^PREFIX_VERSION=//p' "$root/scripts/make-prefix.sh")
if [ "$(cat "$prefix/.tvs-ready" 2>/dev/null)" != "$want" ]; then
    echo "making the Wine prefix $prefix ..."
    sh "$root/scripts/make-prefix.sh" "$prefix"
fi
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w </dev/null >/dev/null 2>&1 || true
# Outside any pipe, fds detached (a persistent server holds them forever).
taskset -c 0 wineserver -p </dev/null >/dev/null 2>&1
taskset -c 0 wine wineboot </dev/null >/dev/null 2>&1
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
drive_c="$prefix/drive_c"

# --- measuring -------------------------------------------------------------
now() { date +%s.%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# "count bytes" of the regular files below a directory.
tally() { find "$1" -type f -printf '%s\n' 2>/dev/null | awk '{ s += $1 } END { printf "%d %d\n", NR, s }'; }
mbps() { awk -v b="$1" -v s="$2" 'BEGIN { printf "%.1f", b / 1048576 / s }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Peak memory (KiB) of the processes whose command line matches $1, written
# to $2 as "VmHWM RssAnon" when the file $3 appears. VmHWM is the kernel's
# high-water mark of the resident set (program, Wine's DLLs, heap); RssAnon,
# the private memory alone, has no high-water mark and is sampled.
sample_peak() {
    hwm=0 anon=0
    while [ ! -f "$3" ]; do
        for pid in $(pgrep -f "$1" 2>/dev/null); do
            set -- "$1" "$2" "$3" $(awk '/^VmHWM:/ { h = $2 } /^RssAnon:/ { a = $2 } END { print h + 0, a + 0 }' "/proc/$pid/status" 2>/dev/null || echo 0 0)
            [ "$4" -gt "$hwm" ] && hwm=$4
            [ "$5" -gt "$anon" ] && anon=$5
        done
        sleep 0.02
    done
    echo "$hwm $anon" >"$2"
}

# run_timed LABEL PEAKPATTERN CMD...: runs CMD on CPU 0; appends the wall time
# to $out/LABEL.times and the peak VmHWM to $out/LABEL.peaks; the CMD's own
# output goes to $out/LABEL.log.
run_timed() {
    label=$1 pattern=$2
    shift 2
    rm -f "$out/stop" "$out/peak"
    sample_peak "$pattern" "$out/peak" "$out/stop" &
    sampler=$!
    s=$(now)
    status=0
    taskset -c 0 "$@" </dev/null >>"$out/$label.log" 2>&1 || status=$?
    e=$(now)
    touch "$out/stop"
    wait "$sampler" || true
    awk -v s="$s" -v e="$e" 'BEGIN { printf "%.3f\n", e - s }' >>"$out/$label.times"
    cat "$out/peak" >>"$out/$label.peaks"
    [ "$status" = 0 ] || echo "    ($label: exit code $status, see $out/$label.log)"
}

# report LABEL BYTES DIR SRC: median time, throughput, peak, and what was installed.
report() {
    t=$(median <"$out/$1.times")
    p=$(sort -n "$out/$1.peaks" | tail -1 | awk '{ print $1 }')
    a=$(sort -n -k2 "$out/$1.peaks" | tail -1 | awk '{ print $2 }')
    set -- "$1" "$2" "$3" "$4" "$t"
    got=$(tally "$3")
    same=no
    diff -rq "$4" "$3" >/dev/null 2>&1 && same=yes
    printf '  %-13s median %7.3f s (runs: %s)  %6s MB/s  peak VmHWM %5d KiB, RssAnon %5d KiB\n' "$1" "$t" \
        "$(tr '\n' ' ' <"$out/$1.times" | sed 's/ $//')" "$(mbps "$2" "$t")" "$p" "$a"
    printf '  %-13s installed %s files, %s bytes; same bytes as the sources: %s\n' "" \
        "${got% *}" "${got#* }" "$same"
    eval "med_$(echo "$1" | tr -c 'a-zA-Z0-9\n' _)=$t"
}

# What any window program costs under Wine, for reading Setup's peak against.
rm -f "$out"/floor.*
run_timed floor 'window_floor\.exe' wine "$(winepath -w "$out/window_floor.exe")"
floor="$(awk '{ printf "%d KiB VmHWM, %d KiB RssAnon", $1, $2 }' "$out/floor.peaks")"

echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores, load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "display: ${DISPLAY:-none}; runs per contender: $runs; wineserver and contenders on CPU 0"

for p in ${TVS_BENCH_PAYLOADS:-a b}; do
    dir="$out/$p"
    case $p in
    a) kind=big setupdir=TVBENCHA nsisdir=NSBENCHA limitdir=LIMITA zlibdir=ZLIBA title="(a) ~64 MiB in 200 files" ;;
    b) kind=small setupdir=TVBENCHB nsisdir=NSBENCHB limitdir=LIMITB zlibdir=ZLIBB title="(b) 5,000 small files" ;;
    esac
    echo
    echo "== $title =="
    counts=$("$out/install_payload" "$kind" "$dir" "$setup")
    files=$(echo "$counts" | awk '{ print $2 }')
    bytes=$(echo "$counts" | awk '{ print $4 }')
    "$tvkit" --quiet "$dir/kit.ini" "$dir/kit" >/dev/null
    archive=$(cat "$dir"/kit/DISK*/DATA.A* | wc -c)
    (cd "$dir" && makensis -V1 setup.nsi >/dev/null)
    echo "payload: $files files, $bytes bytes; kit archive $archive bytes ($(ls -d "$dir"/kit/DISK* | wc -l) diskette); NSIS installer $(wc -c <"$dir/setup-nsis.exe") bytes"
    rm -f "$out"/*.times "$out"/*.peaks "$out"/*.log
    kitw=$(winepath -w "$dir/kit/DISK01")
    i=1
    while [ "$i" -le "$runs" ]; do
        rm -rf "${drive_c:?}/$setupdir" "$drive_c/windows/TYViewer.log"
        run_timed SETUP 'SETUP\.EXE' wine "$kitw\\SETUP.EXE" /B
        rm -rf "${drive_c:?}/$nsisdir"
        run_timed NSIS 'setup-nsis\.exe' wine "$(winepath -w "$dir/setup-nsis.exe")" /S "/D=C:\\$nsisdir"
        rm -rf "${drive_c:?}/$limitdir" "${drive_c:?}/$zlibdir"
        run_timed limit-reader 'install_limit\.exe' wine "$(winepath -w "$out/install_limit.exe")" reader "$kitw\\DATA.A1" "C:\\$limitdir"
        run_timed limit-zlib 'install_limit\.exe' wine "$(winepath -w "$out/install_limit.exe")" zlib "$kitw\\DATA.A1" "C:\\$zlibdir"
        run_timed logwrite 'log_writes\.exe' wine "$(winepath -w "$out/log_writes.exe")" "$files" BENCHLOG.log "$(echo "$kind" | cut -c1 | tr a-z A-Z)" DAT
        i=$((i + 1))
    done
    report SETUP "$bytes" "$drive_c/$setupdir" "$dir/src"
    logged=$(grep -c '=0|1|0' "$drive_c/windows/TYViewer.log" 2>/dev/null || true)
    echo "                install log lines for new files: ${logged:-0}"
    report NSIS "$bytes" "$drive_c/$nsisdir" "$dir/src"
    report limit-reader "$bytes" "$drive_c/$limitdir" "$dir/src"
    report limit-zlib "$bytes" "$drive_c/$zlibdir" "$dir/src"
    log_ms=$(sed -n 's/.* \([0-9]*\) ms inside.*/\1/p' "$out/logwrite.log" | median)
    log_s=$(awk -v m="$log_ms" 'BEGIN { printf "%.3f", m / 1000 }')
    printf '  %-13s median %7.3f s wall; %s writes take %s s inside the program (%s ms per write)\n' logwrite \
        "$(median <"$out/logwrite.times")" "$files" "$log_s" "$(awk -v m="$log_ms" -v n="$files" 'BEGIN { printf "%.3f", m / n }')"
    echo "  ratios: SETUP/NSIS $(ratio "$med_SETUP" "$med_NSIS"), SETUP/limit(reader) $(ratio "$med_SETUP" "$med_limit_reader"), SETUP/limit(zlib) $(ratio "$med_SETUP" "$med_limit_zlib"), SETUP/(NSIS + log writes) $(ratio "$med_SETUP" "$(awk -v a="$med_NSIS" -v b="$log_s" 'BEGIN { print a + b }')")"
    echo "  SETUP's peak: $(sort -n "$out/SETUP.peaks" | tail -1 | awk '{ print $1 }') KiB VmHWM of its Wine process (target: below 16384 KiB); a bare window program: $floor"
done
echo
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
