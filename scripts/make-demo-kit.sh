#!/bin/sh
# Builds the Tessaly Viewer demo kit from the shipped programs and checks it.
#
#   sh scripts/make-demo-kit.sh OUTDIR
#
# Needs the trees of scripts/build.sh: build/host (tvkit) and build/ship
# (SETUP.EXE, tyviewer.exe, tyshared.dll, _qzdinst.exe), or the build tree
# named by TVS_KIT_PROGRAMS_DIR instead of build/ship (the 64-bit test tree
# of a host that cannot run 32-bit code). The description is
# demo/kit.ini. OUTDIR is created; it must not hold a kit already (remove it
# first). What OUTDIR holds afterwards:
#
#   DISK01/SETUP.EXE    the Setup program the user starts; also installed
#                       into the main directory for the uninstall entry
#   DISK01/SETUP.ini    the install profile
#   DISK01/VIEWER.A1    the viewer archive (tyviewer.exe, README.TXT, and
#                       tyshared.dll and _qzdinst.exe for the System
#                       directory), continued member-wise on
#   DISK02/VIEWER.A2    the next diskette, 720 KB each
#   DISKnn/SAMPLES.A1   the sample molecules, on DISK02 or after it
#   listing.txt         tvkit's listing: every file written with its size,
#                       every member with its sizes and diskettes
#
# Install from it with DISK01\SETUP.EXE (Setup moves on to the sibling
# DISK02 by itself). Exit code 0 when the kit was built and tvkit verify
# found it sound, 1 otherwise, 2 on bad usage.
set -e
if [ $# -ne 1 ]; then
    echo "usage: sh scripts/make-demo-kit.sh OUTDIR" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
out="$1"
tvkit="$root/build/host/tools/kitbuilder/tvkit"
programs="${TVS_KIT_PROGRAMS_DIR:-$root/build/ship}"
for f in "$tvkit" "$programs/app/SETUP.EXE" "$programs/product/tyviewer.exe"; do
    if [ ! -f "$f" ]; then
        echo "make-demo-kit: $f is missing; run sh scripts/build.sh first" >&2
        exit 1
    fi
done
description="$root/demo/kit.ini"
if [ "$programs" != "$root/build/ship" ]; then
    # The description names the programs as ../build/ship/...: it is read
    # from a copy of the demo directory whose ../build/ship is $programs.
    stage=$(mktemp -d)
    trap 'rm -rf "$stage"' EXIT
    mkdir -p "$stage/demo" "$stage/build"
    for f in "$root/demo"/*; do ln -s "$f" "$stage/demo/${f##*/}"; done
    rm "$stage/demo/kit.ini"
    cp "$root/demo/kit.ini" "$stage/demo/kit.ini"
    ln -s "$(cd "$programs" && pwd)" "$stage/build/ship"
    description="$stage/demo/kit.ini"
fi
mkdir -p "$out"
listing="$out/listing.txt"
"$tvkit" --quiet "$description" "$out" > "$listing.tmp" || {
    rm -f "$listing.tmp"
    exit 1
}
mv "$listing.tmp" "$listing"
"$tvkit" verify --quiet "$out"
