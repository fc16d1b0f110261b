#!/bin/sh
# Builds the native host tree (build/host), the shipped programs (build/ship,
# win32 thread model) and the Windows test tree (build/win).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$root/build/host" -G Ninja >/dev/null
cmake --build "$root/build/host" -j "$jobs"
cmake -S "$root" -B "$root/build/ship" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DMINGW_THREAD_MODEL=win32 -DTVS_PRODUCT_ONLY=ON -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$root/build/ship" -j "$jobs"
cmake -S "$root" -B "$root/build/win" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DTVS_HOST_BUILD_DIR="$root/build/host" \
    -DTVS_SHIP_BUILD_DIR="$root/build/ship" >/dev/null
cmake --build "$root/build/win" -j "$jobs"
