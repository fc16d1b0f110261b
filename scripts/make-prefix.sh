#!/bin/sh
# A fresh Wine prefix, of the architecture scripts/wine-env.sh chooses, with Wine's own bitmap fonts (so that
# "MS Sans Serif" has its real metrics) and a virtual desktop (captions,
# frames, and one desktop shared by the program and the test driver).
set -e
prefix="$1"
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
# Bump when the prefix set-up changes, so existing build trees make it anew.
PREFIX_VERSION=3
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
wine wineboot -i </dev/null >/dev/null 2>&1
wineserver -w
mkdir -p "$prefix/drive_c/windows/Fonts"
for f in sserife.fon marlett.ttf tahoma.ttf tahomabd.ttf; do
    if [ ! -f "/usr/share/wine/fonts/$f" ]; then
        echo "make-prefix: /usr/share/wine/fonts/$f is missing (package fonts-wine)" >&2
        exit 1
    fi
    cp "/usr/share/wine/fonts/$f" "$prefix/drive_c/windows/Fonts/"
done
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >/dev/null 2>&1
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w
echo "$PREFIX_VERSION $TVS_WINE_ARCH" > "$prefix/.tvs-ready"
