# Sourced by the screenshot scripts: selects the test prefix of the Windows
# build tree, with the Wine environment of the tests, and makes the prefix
# when it is missing or its set-up is out of date. Needs $root and
# scripts/wine-env.sh.
prefix="$TVS_WIN_TREE/wineprefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
tvs_ensure_prefix "$prefix"
