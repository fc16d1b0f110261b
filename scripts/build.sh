#!/bin/sh
# Builds the native host tree (build/host), the shipped programs (build/ship,
# i686, win32 thread model) and the Windows test tree of this host
# (scripts/wine-env.sh): build/win, 32-bit, where the host can run 32-bit
# code, or build/win64, the 64-bit build of the same sources, where it
# cannot. On a 32-bit host build/win64 is built as well, but only with the
# programs and the unit tier, which build/win's tests then run under the
# 64-bit Wine, so that the 64-bit path stays healthy everywhere.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$root/build/host" -G Ninja >/dev/null
cmake --build "$root/build/host" -j "$jobs"
cmake -S "$root" -B "$root/build/ship" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DMINGW_THREAD_MODEL=win32 -DTVS_PRODUCT_ONLY=ON -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$root/build/ship" -j "$jobs"
if [ "$TVS_WINE_ARCH" = win64 ]; then
    cmake -S "$root" -B "$root/build/win64" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
        -DTVS_UNIT_TIER_ONLY=OFF \
        -DTVS_HOST_BUILD_DIR="$root/build/host" \
        -DTVS_SHIP_BUILD_DIR="$root/build/ship" >/dev/null
    cmake --build "$root/build/win64" -j "$jobs"
    exit 0
fi
cmake -S "$root" -B "$root/build/win64" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    -DTVS_UNIT_TIER_ONLY=ON >/dev/null
cmake --build "$root/build/win64" -j "$jobs"
cmake -S "$root" -B "$root/build/win" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DTVS_HOST_BUILD_DIR="$root/build/host" \
    -DTVS_SHIP_BUILD_DIR="$root/build/ship" \
    -DTVS_WIN64_BUILD_DIR="$root/build/win64" >/dev/null
cmake --build "$root/build/win" -j "$jobs"
