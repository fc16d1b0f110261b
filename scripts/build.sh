#!/bin/sh
# Builds the native host tree (build/host) and the Windows tree (build/win).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$root/build/host" -G Ninja >/dev/null
cmake --build "$root/build/host" -j "$jobs"
cmake -S "$root" -B "$root/build/win" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DTVS_HOST_BUILD_DIR="$root/build/host" >/dev/null
cmake --build "$root/build/win" -j "$jobs"
