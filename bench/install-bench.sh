#!/bin/sh
# Figures for a whole install, nothing asserted. Two generated payloads
# (fixed seeds, under build/bench/install):
#   a  about 64 MiB in 200 files: molecule text, random bytes, zeros, code-like
#   b  5,000 small files of 200 B to 20 KiB of the same kinds
# in each Windows architecture the host can run: win32 (the shipped 32-bit
# build/ship/app/SETUP.EXE in a 32-bit prefix, NSIS's x86 stub) where the
# host executes 32-bit code, and win64 everywhere (the 64-bit build of the
# same sources, build/win64/app/SETUP.EXE, under the 64-bit Wine, NSIS's
# amd64 stub, "Target amd64-unicode"). For each, four contenders install the
# same files into a fresh directory of the same Wine prefix (build/bench-
# prefix, build/bench-prefix64), each timed RUNS times, median wall time
# printed:
#   SETUP    Setup /B from a tvkit kit (one component, one deflated archive
#            on one large diskette); this includes its registration, install
#            log and page changes
#   NSIS     makensis, SetCompressor zlib, SilentInstall silent, /S /D=...
#   limit    bench/InstallLimit.cpp: the same kit archive read by our archive
#            reader (and, second line, by bare zlib), files written, no more
#   logwrite bench/LogWrites.cpp: only the install log's per-file lines
#            (N keys through the log's writer) into C:\windows
# Every installed file is compared with its source after the runs.
# wineserver and every contender run on CPU 0 (taskset). The prefix has a
# virtual desktop, on a private Xvfb as for the main command: always measure
# with one. On a bare X server without a window manager Wine waits 2 s for
# every hidden top-level window ("wait_for_withdrawn_state ... timed out"),
# which adds about 14 s to a Setup run. Besides wall time, the CPU time of
# the program, of wineserver and of the X server is shown: it barely moves
# with the load of other jobs on the shared cores, which wall time does.
# Peak memory: ru_maxrss of the Wine process (/usr/bin/time; the same as its
# VmHWM), and its private memory (RssAnon) sampled from /proc, each also
# above what a bare window program (bench/WindowFloor.cpp) takes in the
# same Wine. The last table sets both architectures side by side.
#   sh bench/install-bench.sh [RUNS]        (TVS_BENCH_PAYLOADS="a" for one payload,
#                                            TVS_BENCH_ARCHS="win64" for one architecture)
# A whole run with 3 runs each takes about 5 minutes per architecture, most
# of it payload b.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}

if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi

top="$root/build/bench/install"
mkdir -p "$top"
for tool in makensis taskset xvfb-run i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "install-bench: $tool is missing (makensis: apt-get install -y nsis)" >&2
        exit 1
    fi
done

# One architecture: the rest of this file, run once for each by the loop at
# the end with TVS_BENCH_ARCH set; it appends its ratios to $top/summary.
if [ -z "${TVS_BENCH_ARCH:-}" ]; then
    . "$root/scripts/wine-env.sh"
    archs=${TVS_BENCH_ARCHS:-}
    if [ -z "$archs" ]; then
        if tvs_host_runs_32bit; then
            archs="win32 win64"
        else
            archs=win64
            echo "this host cannot run 32-bit code: the 32-bit build is not measured (skipped)"
        fi
    fi
    rm -f "$top/summary"
    for a in $archs; do
        TVS_BENCH_ARCH=$a TVS_WINE_ARCH=$a sh "$0" "$runs"
    done
    echo
    echo "== both architectures: Setup /B against NSIS (zlib) and the limit, medians of $runs runs =="
    echo "| arch | payload | SETUP s | NSIS s | limit s | SETUP / NSIS | SETUP / limit | private above a bare window: SETUP / NSIS (KiB) |"
    echo "|---|---|---|---|---|---|---|---|"
    cat "$top/summary"
    exit 0
fi

. "$root/scripts/wine-env.sh"
arch=$TVS_BENCH_ARCH
out="$top/$arch"
mkdir -p "$out"
tvkit="$root/build/host/tools/kitbuilder/tvkit"
if [ "$arch" = win32 ]; then
    setup="$root/build/ship/app/SETUP.EXE"
    prefix="$root/build/bench-prefix"
    cxx=i686-w64-mingw32-g++-posix
    zlib=/usr/i686-w64-mingw32/lib/libz.a
    nsis_target=x86
else
    setup="$root/build/win64/app/SETUP.EXE"
    prefix="$root/build/bench-prefix64"
    cxx=x86_64-w64-mingw32-g++-posix
    zlib=/usr/x86_64-w64-mingw32/lib/libz.a
    nsis_target=amd64
fi
if [ ! -x "$tvkit" ] || [ ! -f "$setup" ]; then
    echo "install-bench: building (scripts/build.sh) ..."
    TVS_WINE_ARCH=$arch sh "$root/scripts/build.sh" >/dev/null
fi
echo
echo "######## $arch: $setup ########"

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
$cxx $wflags -o "$out/install_limit.exe" "$root/bench/InstallLimit.cpp" $srcs "$zlib" -lpsapi
# shellcheck disable=SC2086
$cxx $wflags -o "$out/log_writes.exe" "$root/bench/LogWrites.cpp" \
    "$root/uninstall/DirectProfileFile_win.cpp" "$root/uninstall/ProfileText.cpp" "$root"/profile/*.cpp \
    "$root/support/FilePath.cpp" "$root/support/FilePath_win.cpp" \
    "$root/framework/Object.cpp" "$root/framework/Exception.cpp" "$root/errors/SetupException.cpp"
# shellcheck disable=SC2086
$cxx $wflags -mwindows -o "$out/window_floor.exe" "$root/bench/WindowFloor.cpp"

# --- Wine prefix, server pinned to CPU 0 --------------------------------------
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
tvs_ensure_prefix "$prefix"
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w </dev/null >/dev/null 2>&1 || true
# Outside any pipe, fds detached (a persistent server holds them forever).
taskset -c 0 wineserver -p </dev/null >/dev/null 2>&1
taskset -c 0 wine wineboot </dev/null >/dev/null 2>&1
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
# This prefix's server (by its environment: other prefixes have their own),
# and the X server of this display, for their share of the CPU.
server_pid=""
for p in $(pgrep -x 'wineserver|wineserver64'); do
    if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix"; then server_pid=$p; fi
done
xserver_pid=""
[ -n "$DISPLAY" ] && xserver_pid=$(pgrep -f "^Xvfb $DISPLAY " | head -1)
drive_c="$prefix/drive_c"

# The Windows path of a host path, through drive Z: (the root; winepath
# would start Debian's wine wrapper, which takes the 32-bit loader).
winpath() { printf 'Z:%s\n' "$1" | tr / '\\'; }

# --- measuring -------------------------------------------------------------
now() { date +%s.%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# "count bytes" of the regular files below a directory.
tally() { find "$1" -type f -printf '%s\n' 2>/dev/null | awk '{ s += $1 } END { printf "%d %d\n", NR, s }'; }
mbps() { awk -v b="$1" -v s="$2" 'BEGIN { printf "%.1f", b / 1048576 / s }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# CPU seconds (user + system) that process $1 has used so far.
cpu_of() { awk '{ printf "%.2f\n", ($14 + $15) / 100 }' "/proc/$1/stat" 2>/dev/null || echo 0; }

# The largest private memory (RssAnon, KiB) of the child of process $1 (the
# timed program: taskset and the wine script exec into Wine's loader),
# written to $2 once it has ended. By pid, not by name: programs of the same
# name may run in other prefixes on this machine.
sample_anon() {
    child=""
    while [ -z "$child" ] && [ -d "/proc/$1" ]; do
        child=$(pgrep -P "$1" | head -1 || true)
        [ -n "$child" ] || sleep 0.01
    done
    anon=0
    while [ -n "$child" ]; do
        a=$(awk '/^RssAnon:/ { print $2 }' "/proc/$child/status" 2>/dev/null || true)
        # A process that has ended (or is a zombie) has no RssAnon line.
        [ -n "$a" ] || break
        [ "$a" -gt "$anon" ] && anon=$a
        sleep 0.02
    done
    echo "$anon" >"$2"
}

# run_timed LABEL CMD...: runs CMD on CPU 0 and appends to $out/LABEL.runs
# one line "wall cpu server xserver maxrss anon": wall seconds; CPU seconds
# of the program, of wineserver and of the X server during the run; the
# program's peak resident set (ru_maxrss, the same as its VmHWM) and its
# largest sampled private memory (KiB). CPU time, unlike wall time, hardly
# changes with the load that other jobs put on the shared cores.
run_timed() {
    label=$1
    shift
    ws0=$(cpu_of "$server_pid") xs0=$(cpu_of "${xserver_pid:-0}")
    s=$(now)
    taskset -c 0 /usr/bin/time -f '%U %S %M' -o "$out/rusage" "$@" </dev/null >>"$out/$label.log" 2>&1 &
    pid=$!
    sample_anon "$pid" "$out/anon" &
    sampler=$!
    status=0
    wait "$pid" || status=$?
    e=$(now)
    wait "$sampler" || true
    ws1=$(cpu_of "$server_pid") xs1=$(cpu_of "${xserver_pid:-0}")
    # time writes "Command exited with non-zero status N" first on failure.
    tail -1 "$out/rusage" | awk -v s="$s" -v e="$e" -v a="$(cat "$out/anon")" \
        -v ws0="$ws0" -v ws1="$ws1" -v xs0="$xs0" -v xs1="$xs1" \
        '{ printf "%.3f %.2f %.2f %.2f %d %d\n", e - s, $1 + $2, ws1 - ws0, xs1 - xs0, $3, a }' >>"$out/$label.runs"
    [ "$status" = 0 ] || echo "    ($label: exit code $status, see $out/$label.log)"
}

# col LABEL N: column N of LABEL's runs, one a line.
col() { awk -v n="$2" '{ print $n }' "$out/$1.runs"; }

# report LABEL BYTES DIR SRC: medians, throughput, peaks, and what was installed.
report() {
    t=$(col "$1" 1 | median)
    c=$(col "$1" 2 | median)
    w=$(col "$1" 3 | median)
    x=$(col "$1" 4 | median)
    total=$(awk -v c="$c" -v w="$w" -v x="$x" 'BEGIN { printf "%.2f", c + w + x }')
    p=$(col "$1" 5 | sort -n | tail -1)
    a=$(col "$1" 6 | sort -n | tail -1)
    got=$(tally "$3")
    same=no
    diff -rq "$4" "$3" >/dev/null 2>&1 && same=yes
    printf '  %-13s wall median %7.3f s (runs: %s)  %6s MB/s\n' "$1" "$t" "$(col "$1" 1 | tr '\n' ' ' | sed 's/ $//')" \
        "$(mbps "$2" "$t")"
    printf '  %-13s cpu  median %7.2f s = program %.2f + wineserver %.2f + X server %.2f (program per run: %s)\n' "" \
        "$total" "$c" "$w" "$x" "$(col "$1" 2 | tr '\n' ' ' | sed 's/ $//')"
    printf '  %-13s peak memory: resident %d KiB (VmHWM), private %d KiB (RssAnon); resident per run: %s\n' "" "$p" "$a" \
        "$(col "$1" 5 | tr '\n' ' ' | sed 's/ $//')"
    printf '  %-13s installed %s files, %s bytes; same bytes as the sources: %s\n' "" "${got% *}" "${got#* }" "$same"
    key=$(echo "$1" | tr -c 'a-zA-Z0-9\n' _)
    eval "wall_$key=$t cpu_$key=$total"
}

# A previous run's files are moved out of the way, not deleted: right after
# thousands of files are deleted, ext4 spends seconds of kernel time in
# whatever process creates the next ones (its inode allocator skips the
# recently freed inodes one by one), and under Wine that process is
# wineserver, which would charge the cost to whichever contender came next.
# Everything set aside is deleted when the architecture is done.
set_aside() {
    if [ -e "$drive_c/$1" ]; then
        mkdir -p "$prefix/set-aside"
        mv "$drive_c/$1" "$prefix/set-aside/$1.$(date +%s%N)"
    fi
}
rm -rf "$prefix/set-aside"
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true; rm -rf "$prefix/set-aside"' EXIT

# What any window program costs under Wine, for reading Setup's peak against.
rm -f "$out"/floor.*
run_timed floor wine "$(winpath "$out/window_floor.exe")"
floor="$(awk '{ printf "%d KiB VmHWM, %d KiB RssAnon", $5, $6 }' "$out/floor.runs")"
floor_anon=$(awk '{ print $6 }' "$out/floor.runs")

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
    counts=$("$out/install_payload" "$kind" "$dir" "$setup" "$nsis_target")
    files=$(echo "$counts" | awk '{ print $2 }')
    bytes=$(echo "$counts" | awk '{ print $4 }')
    "$tvkit" --quiet "$dir/kit.ini" "$dir/kit" >/dev/null
    archive=$(cat "$dir"/kit/DISK*/DATA.A* | wc -c)
    (cd "$dir" && makensis -V1 setup.nsi >/dev/null)
    echo "payload: $files files, $bytes bytes; kit archive $archive bytes ($(ls -d "$dir"/kit/DISK* | wc -l) diskette); NSIS installer $(wc -c <"$dir/setup-nsis.exe") bytes"
    rm -f "$out"/*.runs "$out"/*.log
    kitw=$(winpath "$dir/kit/DISK01")
    i=1
    while [ "$i" -le "$runs" ]; do
        set_aside "$setupdir"
        rm -f "$drive_c/windows/TYViewer.log"
        run_timed SETUP wine "$kitw\\SETUP.EXE" /B
        set_aside "$nsisdir"
        run_timed NSIS wine "$(winpath "$dir/setup-nsis.exe")" /S "/D=C:\\$nsisdir"
        set_aside "$limitdir"
        set_aside "$zlibdir"
        run_timed limit-reader wine "$(winpath "$out/install_limit.exe")" reader "$kitw\\DATA.A1" "C:\\$limitdir"
        run_timed limit-zlib wine "$(winpath "$out/install_limit.exe")" zlib "$kitw\\DATA.A1" "C:\\$zlibdir"
        run_timed logwrite wine "$(winpath "$out/log_writes.exe")" "$files" BENCHLOG.log "$(echo "$kind" | cut -c1 | tr a-z A-Z)" DAT
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
    log_cpu=$(awk '{ print $2 + $3 }' "$out/logwrite.runs" | median)
    printf '  %-13s wall median %7.3f s; %s writes take %s s inside the program (%s ms per write); cpu %.2f s\n' logwrite \
        "$(col logwrite 1 | median)" "$files" "$log_s" "$(awk -v m="$log_ms" -v n="$files" 'BEGIN { printf "%.3f", m / n }')" "$log_cpu"
    for m in wall cpu; do
        eval "s=\$${m}_SETUP n=\$${m}_NSIS r=\$${m}_limit_reader z=\$${m}_limit_zlib"
        [ "$m" = wall ] && l=$log_s || l=$log_cpu
        echo "  ratios ($m): SETUP/NSIS $(ratio "$s" "$n"), SETUP/limit(reader) $(ratio "$s" "$r"), SETUP/limit(zlib) $(ratio "$s" "$z"), SETUP/(NSIS + log writes) $(ratio "$s" "$(awk -v a="$n" -v b="$l" 'BEGIN { print a + b }')")"
    done
    echo "  SETUP's peak: $(col SETUP 5 | sort -n | tail -1) KiB resident (VmHWM of its Wine process; target: below 16384 KiB); a bare window program: $floor"
    setup_above=$(($(col SETUP 6 | sort -n | tail -1) - floor_anon))
    nsis_above=$(($(col NSIS 6 | sort -n | tail -1) - floor_anon))
    echo "  private memory above the bare window program: SETUP $setup_above KiB, NSIS $nsis_above KiB"
    echo "| $arch | $title | $wall_SETUP | $wall_NSIS | $wall_limit_reader | $(ratio "$wall_SETUP" "$wall_NSIS") | $(ratio "$wall_SETUP" "$wall_limit_reader") | $setup_above / $nsis_above |" >>"$top/summary"
done
echo
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
