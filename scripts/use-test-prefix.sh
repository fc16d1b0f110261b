# Sourced by the screenshot scripts: selects the test prefix of the Windows
# build tree, with the Wine environment of the tests, and makes the prefix
# when it is missing or its set-up is out of date. Needs $root.
prefix="$root/build/win/wineprefix"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
if [ "$(cat "$prefix/.tvs-ready" 2>/dev/null)" != "$(sed -n 's/^PREFIX_VERSION=//p' "$root/scripts/make-prefix.sh")" ]; then
    sh "$root/scripts/make-prefix.sh" "$prefix"
fi
