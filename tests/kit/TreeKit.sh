# Sourced by the tree-kit install tests (TreeInstallTest.sh, ImageInstallTest.sh)
# after they have set `work` (their scratch directory) and `template` (the
# test prefix): the kit of 300 files in nested directories on 720 KB
# diskettes, a Wine prefix of the test's own, and the check of what was
# installed. Needs $root.
. "$root/scripts/wine-env.sh"
programs="${TVS_KIT_PROGRAMS_DIR:-$root/build/ship}"
tvkit="$root/build/host/tools/kitbuilder/tvkit"
prefix="$work/prefix"
failures=0
fail() {
    printf 'FAIL: %s\n' "$*"
    failures=$((failures + 1))
}
finish() {
    WINEPREFIX="$prefix" wineserver -k </dev/null >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w </dev/null >/dev/null 2>&1
    rm -rf "$work"
}

# A fresh scratch directory with the payload and $work/kit.ini describing it.
write_tree_kit() {
    rm -rf "$work"
    mkdir -p "$work"
    python3 "$root/tests/kit/TreePayload.py" "$work/payload" || { echo "FAIL: no payload"; exit 1; }
    cat > "$work/kit.ini" <<INI
[kit]
disk_size = 737280
setup_exe = $programs/app/SETUP.EXE
profile_reserve = 32768
label = Tree Test Disk %d

[destinations]
0 = TREEKIT|-1|

[groups]
Main = Tree test|Every file of the tree|1|1|1

[archive TREE.A1]
component = Main

[tree payload]
source = payload
archive = TREE.A1
destination = 0
subdirs = create
INI
}

# The test's own prefix, copied from the test prefix; removed at exit.
# The caller starts its server once the prefix's drives are set.
copy_prefix() {
    cp -a "$template" "$prefix" || { echo "FAIL: cannot copy the test prefix"; exit 1; }
    trap finish EXIT
    export WINEPREFIX="$prefix"
}

# Every payload file, byte for byte, under C:\TREEKIT, and 300 files there
# besides those named by the find(1) options given ("! -iname X").
check_tree_installed() {
    main="$prefix/drive_c/TREEKIT"
    missing=0
    for f in $(cd "$work/payload" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); do
        if [ ! -f "$main/$f" ]; then
            missing=$((missing + 1))
            [ $missing -le 5 ] && fail "$f is not in C:\\TREEKIT"
        elif ! cmp -s "$main/$f" "$work/payload/$f"; then
            fail "C:\\TREEKIT/$f differs from its source"
        fi
    done
    [ $missing -gt 5 ] && fail "... $missing files missing in all"
    installed=$(cd "$main" 2>/dev/null && find . -type f "$@" | wc -l)
    [ "$installed" = 300 ] || fail "C:\\TREEKIT holds $installed files, not 300"
}

# Exit with the verdict: 1 after any failure, else 0 and the PASS line.
report_and_exit() {
    if [ $failures -ne 0 ]; then
        echo "$failures check(s) failed"
        exit 1
    fi
    echo "PASS: $*"
    exit 0
}
