#!/bin/sh
# Install and uninstall under Wine, end to end. The demo kit
# (scripts/make-demo-kit.sh) is installed in batch mode; the installed Setup
# copy is then started from the main directory with "/U /B", and the script
# checks what is left: no installed file, no App Paths or Uninstall entry,
# no program item or group, no install directory but the main one, which
# keeps a file the user made there; the shared counts are back where they
# were; the file associations stay; the clean-up program removed the Setup
# copy after Setup exited. Then two installs and one uninstall: the shared
# files stay, counted once.
#
# Runs in a Wine prefix of its own, copied from the test prefix (WINEPREFIX),
# so that nothing of the install reaches the other tests. Needs the trees of
# scripts/build.sh. Exit code: 0 passed, 1 failed, 77 when the demo kit
# cannot be made (the test is then reported as skipped).
#
#   sh scripts/roundtrip-e2e.sh [DRIVER [WINDOWS_VERSION]]
#
# With DRIVER (tvsdriver.exe) the round trip is also done interactively,
# clicking through the pages as a user would. WINDOWS_VERSION (win95, nt40,
# win7, win10, or win31 for the Program Manager path) is the version Wine
# reports to Setup and the clean-up program; the shorter platform runs leave
# out the double install.
set -u
driver="${1:-}"
windows_version="${2:-}"
root=$(cd "$(dirname "$0")/.." && pwd)
template="${WINEPREFIX:?WINEPREFIX must name the test prefix}"
. "$root/scripts/wine-env.sh"
prefix="${TVS_BINARY_DIR:-$TVS_WIN_TREE}/roundtrip-prefix"
failures=0

fail() {
    printf 'FAIL: %s\n' "$*"
    failures=$((failures + 1))
}
note() { printf '  %s\n' "$*"; }

finish() {
    WINEPREFIX="$prefix" wineserver -k </dev/null >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w </dev/null >/dev/null 2>&1
    rm -rf "$prefix"
}

# Setup's windows need a display even in batch mode.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi

if [ ! -f "$root/scripts/make-demo-kit.sh" ]; then
    echo "SKIP: scripts/make-demo-kit.sh is not there yet"
    exit 77
fi

rm -rf "$prefix"
cp -a "$template" "$prefix" || { echo "FAIL: cannot copy the test prefix"; exit 1; }
trap finish EXIT
export WINEPREFIX="$prefix"
kit="$prefix/drive_c/tvs-rt-kit"
if ! sh "$root/scripts/make-demo-kit.sh" "$kit" >/dev/null; then
    echo "SKIP: the demo kit could not be made"
    exit 77
fi

# Our own server, detached from the pipe CTest reads (see tests/CMakeLists.txt).
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
if [ -n "$windows_version" ]; then
    # Only Setup and the clean-up program see the older system: the test's
    # own tools keep running as usual.
    for exe in setup.exe _qzdinst.exe; do
        wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe" /v Version /d "$windows_version" /f \
            </dev/null >/dev/null 2>&1 || { echo "FAIL: cannot set the Windows version $windows_version"; exit 1; }
    done
    echo "Setup sees Windows version: $windows_version"
fi

drive_c="$prefix/drive_c"
main="$drive_c/TYVIEWER"
system32="$drive_c/windows/system32"
shared_key='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
app_paths_key='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\tyviewer.exe'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly Viewer'
shared_files="tyshared.dll _qzdinst.exe"

# The SharedDLLs count of a System-directory file; 0 when it has no value.
shared_count() {
    hex=$(wine reg query "$shared_key" </dev/null 2>/dev/null | tr -d '\r' |
        grep -i "\\\\$1 *REG_DWORD" | awk '{ print $NF }')
    [ -n "$hex" ] && printf '%d\n' "$hex" || echo 0
}
key_exists() { wine reg query "$1" </dev/null >/dev/null 2>&1; }
# The default value of an HKCR key.
class_default() {
    wine reg query "HKCR\\$1" /ve </dev/null 2>/dev/null | tr -d '\r' | awk '/REG_SZ/ { print $NF }'
}
# The program group's folder under any user's Start Menu.
group_folder() {
    find "$drive_c/users" -type d -path '*Start Menu/Programs/Tessaly Viewer' 2>/dev/null | head -n 1
}
install_kit() {
    status=0
    wine 'C:\tvs-rt-kit\DISK01\SETUP.EXE' /B </dev/null >/dev/null 2>&1 || status=$?
    [ "$status" = 0 ] || fail "install $1 exited with $status"
    [ -f "$main/tyviewer.exe" ] || fail "install $1 placed no C:\\TYVIEWER\\tyviewer.exe"
}
# Starts the installed Setup copy from the main directory, as the uninstall
# entry does, then waits for the clean-up program to take the copy away.
uninstall_installed() {
    status=0
    (cd "$main" && wine 'C:\TYVIEWER\SETUP.EXE' /U /B </dev/null >/dev/null 2>&1) || status=$?
    [ "$status" = 0 ] || fail "uninstall $1 exited with $status"
    waited=0
    while [ -f "$main/SETUP.EXE" ] && [ $waited -lt 120 ]; do
        sleep 0.5
        waited=$((waited + 1))
    done
    [ -f "$main/SETUP.EXE" ] && fail "uninstall $1: the clean-up program did not remove the Setup copy"
}

echo "Round trip in $prefix"
for f in $shared_files; do
    eval "before_$(echo "$f" | tr -c 'a-z0-9\n' '_')=$(shared_count "$f")"
done
before() { eval "echo \$before_$(echo "$1" | tr -c 'a-z0-9\n' '_')"; }

# 1. One install, one uninstall.
install_kit 1
installed=$(cd "$main" 2>/dev/null && find . -type f | sort)
note "installed under C:\\TYVIEWER: $(echo $installed)"
[ -f "$main/SETUP.EXE" ] || fail "the install put no Setup copy into C:\\TYVIEWER"
key_exists "$app_paths_key" || fail "no App Paths entry after the install"
key_exists "$uninstall_key" || fail "no Uninstall entry after the install"
group=$(group_folder)
[ -n "$group" ] && [ -n "$(find "$group" -name '*.lnk')" ] || fail "no program items after the install"
for f in $shared_files; do
    [ "$(shared_count "$f")" = $(($(before "$f") + 1)) ] || fail "$f: count $(shared_count "$f") after one install"
done
association=$(class_default .xyz)
[ "$association" = "TessalyViewer.Molecule" ] || fail ".xyz is \"$association\" after the install"

printf 'mine\r\n' > "$main/my notes.txt"
uninstall_installed 1

left=$(cd "$main" 2>/dev/null && find . | sort | tr '\n' ' ')
[ "$left" = ". ./my notes.txt " ] || fail "C:\\TYVIEWER should hold only the user's file, holds: $left"
for f in $installed; do
    [ -e "$main/$f" ] && fail "installed file $f is still there"
done
[ -d "$main/SAMPLES" ] && fail "C:\\TYVIEWER\\SAMPLES is still there"
# The install log is Setup's record of what it did; the uninstall reads it
# and leaves it in place.
[ -f "$drive_c/windows/TYViewer.log" ] || fail "the install log C:\\windows\\TYViewer.log is gone after the uninstall"
key_exists "$app_paths_key" && fail "the App Paths entry is still there"
key_exists "$uninstall_key" && fail "the Uninstall entry is still there"
[ -n "$(group_folder)" ] && fail "the program group is still there: $(find "$(group_folder)")"
for f in $shared_files; do
    [ "$(shared_count "$f")" = "$(before "$f")" ] || fail "$f: count $(shared_count "$f"), was $(before "$f")"
    [ -f "$system32/$f" ] || fail "shared file $f was deleted"
done
association=$(class_default .xyz)
[ "$association" = "TessalyViewer.Molecule" ] || fail ".xyz is \"$association\" after the uninstall"

# 2. Two installs, one uninstall: the shared files stay, counted once. The
# platform runs leave this out: it tests counting, not the platform.
if [ -z "$windows_version" ]; then
install_kit 2
install_kit 3
for f in $shared_files; do
    [ "$(shared_count "$f")" = $(($(before "$f") + 2)) ] || fail "$f: count $(shared_count "$f") after two installs"
done
uninstall_installed 2
for f in $shared_files; do
    [ "$(shared_count "$f")" = $(($(before "$f") + 1)) ] || fail "$f: count $(shared_count "$f") after two installs and one uninstall"
    [ -f "$system32/$f" ] || fail "shared file $f was deleted while still counted"
done
[ -f "$main/tyviewer.exe" ] && fail "tyviewer.exe is still there after the second uninstall"
fi

# 3. The same, driven through the pages: Next on every question, Finished
# at the end; then the uninstall's Next and Finished.
if [ -n "$driver" ]; then
    d() { wine "$driver" "$@" </dev/null 2>/dev/null; }
    # Presses a button of the page titled $1 once the page shows it.
    press() {
        d wait "$1" 60000 "$2" >/dev/null || { fail "no page \"$1\" with control $2"; return 1; }
        d click "$1" "$2" >/dev/null || fail "cannot press $2 on \"$1\""
    }
    rm -f "$main/my notes.txt"
    status=0
    wine 'C:\tvs-rt-kit\DISK01\SETUP.EXE' </dev/null >/dev/null 2>&1 &
    setup=$!
    press "Welcome" 1020 && press "Select Directory" 1020 && press "Select Program Item Group" 1020 &&
        press "Tessaly Viewer Setup" 1
    wait $setup || status=$?
    [ "$status" = 0 ] || fail "interactive install exited with $status"
    for f in $installed; do
        [ -f "$main/$f" ] || fail "interactive install: $f is missing"
    done
    [ -n "$(group_folder)" ] || fail "interactive install: no program group"
    note "interactive install: $(cd "$main" 2>/dev/null && find . -type f | wc -l) files, items: $(find "$(group_folder)" -name '*.lnk' 2>/dev/null | wc -l)"

    status=0
    (cd "$main" && wine 'C:\TYVIEWER\SETUP.EXE' /U </dev/null >/dev/null 2>&1) &
    setup=$!
    press "Removing Tessaly Viewer" 1020 && press "Tessaly Viewer Setup" 1
    wait $setup || status=$?
    [ "$status" = 0 ] || fail "interactive uninstall exited with $status"
    waited=0
    while [ -d "$main" ] && [ $waited -lt 120 ]; do
        sleep 0.5
        waited=$((waited + 1))
    done
    [ -d "$main" ] && fail "interactive uninstall left C:\\TYVIEWER: $(cd "$main" && find . | tr '\n' ' ')"
    key_exists "$uninstall_key" && fail "interactive uninstall left the Uninstall entry"
    [ -n "$(group_folder)" ] && fail "interactive uninstall left the program group"
fi

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "PASS: install, uninstall and the clean-up program left what they should"
exit 0
