#!/bin/sh
# Installs Tessaly Viewer under Wine, in the prefix given by WINEPREFIX, from
# the demo kit, and shows what the install left behind. The kit
# (scripts/make-demo-kit.sh, two 720 KB diskettes) is made anew in
# C:\tvs-demo-kit\DISK01, DISK02; the shipped SETUP.EXE starts from DISK01
# and moves on to DISK02 by itself. With TVS_RUN_BATCH=1 (no display) Setup
# runs in batch mode (/B), which needs no input. Arguments go to SETUP.EXE.
# Exit code: Setup's.
root=$(cd "$(dirname "$0")/.." && pwd)
kit="$WINEPREFIX/drive_c/tvs-demo-kit"
rm -rf "$kit"
if ! sh "$root/scripts/make-demo-kit.sh" "$kit" >/dev/null; then
    say "run-setup: the demo kit could not be made" >&2
    exit 1
fi

# dash's echo would take the "\t" of "C:\tvs-demo-kit" for a tab.
say() { printf '%s\n' "$*"; }
# A Windows path in the prefix as a host path.
host_path() {
    drive=$(printf '%s' "$1" | cut -c1 | tr 'A-Z' 'a-z')
    printf '%s/dosdevices/%s:%s' "$WINEPREFIX" "$drive" "$(printf '%s' "$1" | cut -c3- | tr '\\' '/')"
}
# Files below a host directory: size and Windows path (prefix $2).
list_files() {
    [ -d "$1" ] || { say "    (none: $2 does not exist)"; return; }
    files=$( (cd "$1" && find . -type f | sort) | while IFS= read -r f; do
        f=${f#./}
        printf '    %9s  %s\\%s\n' "$(wc -c < "$1/$f" | tr -d ' ')" "${2%\\}" "$(printf '%s' "$f" | tr '/' '\\')"
    done)
    [ -n "$files" ] && say "$files" || say "    (no files)"
}
# A registry key's values (wine reg query output without its blank lines).
show_key() {
    say "  HKLM\\$1"
    out=$(wine reg query "HKLM\\$1" </dev/null 2>/dev/null | tr -d '\r' | sed -n 's/^ \{4\}/      /p')
    [ -n "$out" ] && say "$out" || say "      (missing)"
}

say "Demo kit C:\\tvs-demo-kit:"
list_files "$kit" 'C:\tvs-demo-kit' | grep -v 'listing\.txt$'

# The server stays up, detached, while output of wine commands is read.
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
mode=""
[ "$TVS_RUN_BATCH" = 1 ] && mode="/B"
say "Running C:\\tvs-demo-kit\\DISK01\\SETUP.EXE" $mode "$@"
status=0
wine 'C:\tvs-demo-kit\DISK01\SETUP.EXE' $mode "$@" </dev/null >/dev/null 2>&1 || status=$?
say "SETUP.EXE exited with code $status (0: success, 1: failed or cancelled)"

log="$WINEPREFIX/drive_c/windows/TYViewer.log"
main=$(tr -d '\r' < "$log" 2>/dev/null | sed -n '/^\[destinations\]/,/^\[/ s/^0=[^|]*|[^|]*|//p' | tail -n 1)
[ -n "$main" ] || main='C:\TYVIEWER'
echo
say "Installed in the main directory $main:"
list_files "$(host_path "$main")" "$main"
echo
sysdir='C:\windows\system32'
say "Installed in the System directory $sysdir (shared, with their SharedDLLs counts):"
shared=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs' </dev/null 2>/dev/null | tr -d '\r')
names=$(tr -d '\r' < "$log" 2>/dev/null | sed -n 's/^\([^=[]*\)=-3|[01]|[01]$/\1/p' | sort -u)
[ -n "$names" ] || say "    (none)"
for name in $names; do
    file=$(find "$(host_path "$sysdir")" -maxdepth 1 -iname "$name" | head -n 1)
    size="missing"
    [ -n "$file" ] && size=$(wc -c < "$file" | tr -d ' ')
    count=$(printf '%s\n' "$shared" | grep -i "\\\\$name " | awk '{ print $NF }')
    [ -n "$count" ] && count=$(printf '%d' "$count")
    printf '    %9s  %s\\%s  count %s\n' "$size" "$sysdir" "$name" "${count:-none}"
done
echo
say "Registry:"
show_key 'Software\Microsoft\Windows\CurrentVersion\App Paths\tyviewer.exe'
show_key 'Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly Viewer'
echo
say "Program items (shell links that start the installed files):"
items=$(find "$WINEPREFIX/drive_c/users" "$WINEPREFIX/drive_c/ProgramData" -iname '*.lnk' 2>/dev/null | sort |
    while IFS= read -r link; do
        target=$(tr -c '[:print:]' '\n' < "$link" | grep -i -m 1 '^[a-z]:\\')
        case "$target" in
            "${main%\\}"*) ;;
            *) continue ;;
        esac
        rel=$(printf '%s' "${link#*/Start Menu/}" | tr '/' '\\')
        printf '    Start Menu\\%s -> %s\n' "$rel" "$target"
    done)
[ -n "$items" ] && say "$items" || say "    (none)"
echo
say "Install log C:\\windows\\TYViewer.log:"
if [ -f "$log" ]; then
    sed 's/\r$//; s/^/    /' "$log"
else
    say "    (missing)"
fi
wineserver -k </dev/null >/dev/null 2>&1 || true
exit $status
