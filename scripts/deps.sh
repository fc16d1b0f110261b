#!/bin/sh
# Installs the build and test packages that are missing. Safe to run again.
set -e
PACKAGES="cmake ninja-build g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev zlib1g-dev googletest
wine wine32:i386 wine64 fonts-wine xvfb xauth imagemagick xdotool python3 libdeflate-dev mtools"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo
echo "installing:$missing"
if ! dpkg --print-foreign-architectures | grep -q i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
