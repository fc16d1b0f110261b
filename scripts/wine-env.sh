# Sourced by every script that runs Wine; needs $root. Chooses, once, the
# Windows architecture of the test tree and of the prefixes:
#   win32  the 32-bit Wine runs the 32-bit programs, the shipped ones included;
#   win64  hosts whose kernel cannot execute 32-bit code: the 64-bit build of
#          the same sources runs under the 64-bit Wine.
# TVS_WINE_ARCH=win32 or win64 forces the choice. Sets TVS_WIN_TREE (the
# Windows test tree), WINEARCH, and for win64 PATH, so that "wine",
# "wineboot" and "wine reg" are scripts/wine64's, which take the 64-bit
# loader and set WINELOADER for everything Wine starts from there.

# True when a 32-bit program really starts here: the 32-bit Wine loader is
# one, and it answers --version only where the kernel can execute it.
tvs_host_runs_32bit() {
    /usr/lib/wine/wine --version </dev/null >/dev/null 2>&1
}

if [ -z "${TVS_WINE_ARCH:-}" ]; then
    if tvs_host_runs_32bit; then TVS_WINE_ARCH=win32; else TVS_WINE_ARCH=win64; fi
fi
case "$TVS_WINE_ARCH" in
    win32) TVS_WIN_TREE="$root/build/win" ;;
    win64)
        TVS_WIN_TREE="$root/build/win64"
        case ":$PATH:" in
            *":$root/scripts/wine64:"*) ;;
            *) PATH="$root/scripts/wine64:$PATH" ;;
        esac
        ;;
    *)
        echo "TVS_WINE_ARCH must be win32 or win64, not \"$TVS_WINE_ARCH\"" >&2
        exit 2
        ;;
esac
WINEARCH=$TVS_WINE_ARCH
export TVS_WINE_ARCH TVS_WIN_TREE WINEARCH PATH

# Makes the prefix $1 with scripts/make-prefix.sh unless it is there already,
# made by the current set-up for this architecture.
tvs_ensure_prefix() {
    [ "$(cat "$1/.tvs-ready" 2>/dev/null)" = \
      "$(sed -n 's/^PREFIX_VERSION=//p' "$root/scripts/make-prefix.sh") $TVS_WINE_ARCH" ] ||
        sh "$root/scripts/make-prefix.sh" "$1"
}
