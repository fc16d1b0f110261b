#!/bin/sh
# End to end: a batch install of the demo kit by its own DISK01\SETUP.EXE in
# the test prefix, then everything it left is checked against the kit's
# description (demo/kit.ini) and its source files: the installed files byte
# for byte, the install log's file lines and state sections, the App Paths
# and Uninstall entries, the file associations, the program item links and
# the shared counts of the System files. Everything is removed afterwards
# and the earlier log and associations are put back.
#
# Run by CTest inside the test prefix (wine_up has started the server);
# WINEPREFIX is set. Needs build/host (tvkit) and build/ship (the shipped
# programs) of scripts/build.sh, or the tree TVS_KIT_PROGRAMS_DIR names. Exit code 0 when all checks pass, 1 when
# one fails, 77 when the demo kit cannot be made here (no kit script).
root=$(cd "$(dirname "$0")/.." && pwd)
prefix="${WINEPREFIX:?WINEPREFIX must name the test prefix}"
kitini="$root/demo/kit.ini"
[ -f "$root/scripts/make-demo-kit.sh" ] && [ -f "$kitini" ] || {
    echo "SKIP: no demo kit script in this tree"
    exit 77
}

# Wine's shell would mirror the new Start-menu links into the host's desktop
# menus, outside the prefix, where nothing removes them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}winemenubuilder.exe=d"

drive_c="$prefix/drive_c"
kit="$drive_c/tvs-demo-e2e"
main="$drive_c/TYVIEWER"
windir="$drive_c/windows"
sysdir="$windir/system32"
log="$windir/TYViewer.log"
aside="$log.demo-aside"
extensions=".msl .pdb .ent .mol .mdl .sd .car .csd .fdat .msf .mol2 .tyd .cpd .xyz .skc"
version='Software\Microsoft\Windows\CurrentVersion'
failures=0

# printf, not echo: dash's echo takes the "\t" of "C:\TYVIEWER\tyviewer.exe" for a tab.
say() { printf '%s\n' "$*"; }
fail() {
    say "FAIL: $*"
    failures=$((failures + 1))
}
w() { wine "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# The data of one registry value ("" when it is missing).
reg_value() {
    if [ "$2" = "" ]; then
        w reg query "$1" /ve | sed -n 's/^ *(Default) *REG_[A-Z_]* *//p'
    else
        # Through the environment: awk -v would take the "\t" of "\tyshared.dll" for a tab.
        w reg query "$1" /v "$2" | name="$2" awk '
            BEGIN { name = ENVIRON["name"] }
            { line = $0; sub(/^ +/, "", line) }
            index(line, name " ") == 1 { rest = substr(line, length(name) + 2); sub(/^ *REG_[A-Z_]+ */, "", rest); print rest }'
    fi
}
# A profile value of the log: section, key (case as written).
log_value() {
    tr -d '\r' <"$log" | awk -v section="[$1]" -v key="$2" '
        /^\[/ { inside = (tolower($0) == tolower(section)); next }
        inside && index($0, "=") { k = substr($0, 1, index($0, "=") - 1); if (tolower(k) == tolower(key)) print substr($0, index($0, "=") + 1) }'
}
has_section() { tr -d '\r' <"$log" | grep -qix "\[$1\]"; }
# A Windows path in the prefix as a host path.
host_path() {
    d=$(printf '%s' "$1" | cut -c1 | tr 'A-Z' 'a-z')
    printf '%s/dosdevices/%s:%s' "$prefix" "$d" "$(printf '%s' "$1" | cut -c3- | tr '\\' '/')"
}

programs=$(reg_value "HKCU\\$version\\Explorer\\Shell Folders" Programs)
group_dir="$(host_path "$programs")/Tessaly Viewer"

# What an install of the kit leaves, removed before the run (a failed
# earlier run) and after it.
remove_traces() {
    rm -rf "$main" "$group_dir"
    for name in $shared_names; do
        rm -f "$sysdir/$name"
        w reg delete "HKLM\\$version\\SharedDLLs" /v "C:\\windows\\system32\\$name" /f >/dev/null
    done
    w reg delete "HKLM\\$version\\App Paths\\tyviewer.exe" /f >/dev/null
    w reg delete "HKLM\\$version\\Uninstall\\Tessaly Viewer" /f >/dev/null
}
restore() {
    remove_traces
    rm -rf "$kit"
    rm -f "$log"
    [ -f "$aside" ] && mv "$aside" "$log"
    for ext in $extensions; do
        eval "old=\$assoc_$(printf '%s' "$ext" | tr -d .)"
        if [ "$old" = "<none>" ]; then
            w reg delete "HKCR\\$ext" /f >/dev/null
        elif [ "$old" = "<nodefault>" ]; then
            w reg delete "HKCR\\$ext" /ve /f >/dev/null
        else
            w reg add "HKCR\\$ext" /ve /d "$old" /f >/dev/null
        fi
    done
}

# The kit's files from its description: name, host source, component,
# destination directory (host path) and destination id, one line each.
files=$(tr -d '\r' <"$kitini" | awk -v kitdir="$root/demo" -v main="$main" -v sys="$sysdir" -v win="$windir" '
    function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t]+$/, "", s); return s }
    function dirof(id,   f) {
        if (id == "0") return main
        if (id == "-2") return win
        if (id == "-3") return sys
        split(dests[id], f, "|")
        return dirof(trim(f[2])) "/" trim(f[1])
    }
    function flush() {
        if (kind == "file") { n++; fname[n] = name; fsrc[n] = src; farc[n] = arc; fdest[n] = dest; fcomp[n] = comp }
        if (kind == "tree") tree()
    }
    # A [tree] of one directory (recurse = 0): its files that match, as files.
    function tree(   cmd, f, i, k, np, pats, re) {
        if (recurse != "0") { print "ERROR: a recursive [tree] is not expanded by this check"; exit 1 }
        np = split(pat == "" ? "*" : pat, pats, /[ ,\t]+/)
        cmd = "ls -1 \"" kitdir "/" src "\" | LC_ALL=C sort"
        while ((cmd | getline f) > 0) {
            for (i = 1; i <= np; i++) {
                re = tolower(pats[i]); gsub(/\./, "\\.", re); gsub(/\?/, ".", re); gsub(/\*/, ".*", re)
                if (tolower(f) ~ ("^" re "$")) {
                    n++; fname[n] = f; fsrc[n] = src "/" f; farc[n] = arc; fdest[n] = dest; fcomp[n] = comp
                    break
                }
            }
        }
        close(cmd)
    }
    /^[ \t]*[;#]/ || /^[ \t]*$/ { next }
    /^\[/ {
        flush()
        sec = $0; sub(/^\[/, "", sec); sub(/\].*$/, "", sec); sec = trim(sec)
        kind = sec; src = ""; arc = ""; dest = ""; comp = ""; pat = ""; recurse = "1"
        if (sec ~ /^file /) { kind = "file"; name = trim(substr(sec, 6)) }
        else if (sec ~ /^tree( |$)/) kind = "tree"
        else if (sec ~ /^archive /) { kind = "archive"; aname = trim(substr(sec, 9)) }
        next
    }
    index($0, "=") {
        k = trim(substr($0, 1, index($0, "=") - 1)); v = substr($0, index($0, "=") + 1)
        sub(/[ \t];.*$/, "", v); v = trim(v)
        if (kind == "file" || kind == "tree") {
            if (k == "source") src = v; else if (k == "archive") arc = v
            else if (k == "destination") dest = v; else if (k == "component") comp = v
            else if (k == "files") pat = v; else if (k == "recurse") recurse = v
        } else if (kind == "archive" && k == "component") acomp[aname] = v
        else if (kind == "kit" && k == "setup_exe") setup = v
        else if (kind == "destinations") dests[k] = v
    }
    END {
        flush()
        for (i = 1; i <= n; i++) {
            if (fdest[i] == "-1") continue
            c = fcomp[i]; if (c == "") c = acomp[farc[i]]
            s = fsrc[i]; if (s == "" && toupper(fname[i]) == "SETUP.EXE") s = setup
            print fname[i] "|" kitdir "/" s "|" c "|" dirof(fdest[i]) "|" fdest[i]
        }
    }')
# make-demo-kit.sh takes the programs from TVS_KIT_PROGRAMS_DIR when it is set.
programs="${TVS_KIT_PROGRAMS_DIR:-$root/build/ship}"
files=$(say "$files" | awk -v from="$root/demo/../build/ship/" -v to="$programs/" '
    { i = index($0, from); if (i) $0 = substr($0, 1, i - 1) to substr($0, i + length(from)); print }')
[ -n "$files" ] || { say "FAIL: no files read from $kitini"; exit 1; }
shared_names=$(say "$files" | awk -F'|' '$5 == "-3" { print $1 }')

# Saved before anything is touched.
for ext in $extensions; do
    if [ -z "$(w reg query "HKCR\\$ext")" ]; then
        old="<none>"
    elif w reg query "HKCR\\$ext" /ve | grep -q 'REG_'; then
        old=$(reg_value "HKCR\\$ext" "")
    else
        old="<nodefault>"
    fi
    eval "assoc_$(printf '%s' "$ext" | tr -d .)=\"\$old\""
done
rm -f "$aside"
[ -f "$log" ] && mv "$log" "$aside"
trap restore EXIT
remove_traces

rm -rf "$kit"
sh "$root/scripts/make-demo-kit.sh" "$kit" >/dev/null || { say "FAIL: the demo kit could not be made"; exit 1; }

status=0
wine 'C:\tvs-demo-e2e\DISK01\SETUP.EXE' /B </dev/null >/dev/null 2>&1 || status=$?
[ "$status" = 0 ] || fail "SETUP.EXE /B exited with $status"

# Every installed file, by size and content, and its log line.
say "$files" | {
    bad=0
    while IFS='|' read -r name src comp dir dest; do
        if [ ! -f "$dir/$name" ]; then
            say "FAIL: $name is not in $dir"; bad=1; continue
        fi
        [ "$(wc -c <"$dir/$name")" = "$(wc -c <"$src")" ] ||
            { say "FAIL: $name has $(wc -c <"$dir/$name") bytes, its source $(wc -c <"$src")"; bad=1; }
        cmp -s "$dir/$name" "$src" || { say "FAIL: $name differs from $src"; bad=1; }
        line=$(log_value "$comp" "$name")
        [ "$line" = "$dest|1|0" ] || { say "FAIL: log [$comp] $name=\"$line\", expected \"$dest|1|0\""; bad=1; }
    done
    exit $bad
} || failures=$((failures + 1))

# The state sections, as the uninstall reads them back.
[ "$(log_value destinations 0)" = 'TYVIEWER|-1|C:\TYVIEWER\' ] || fail "log destinations 0=$(log_value destinations 0)"
[ "$(log_value destinations 1)" = 'SAMPLES|0|C:\TYVIEWER\SAMPLES\' ] || fail "log destinations 1=$(log_value destinations 1)"
[ "$(log_value groups Viewer)" = 'Tessaly Viewer|The viewer and its shared library|1|1|1' ] ||
    fail "log groups Viewer=$(log_value groups Viewer)"
[ "$(log_value groups Samples)" = 'Sample molecules|Three molecules to open|0|1|1' ] ||
    fail "log groups Samples=$(log_value groups Samples)"
[ "$(log_value targets TYVIEWER.EXE)" = '0|1|0|Tessaly Viewer||tyviewer.exe|C:\TYVIEWER\tyviewer.exe' ] ||
    fail "log targets TYVIEWER.EXE=$(log_value targets TYVIEWER.EXE)"
[ "$(log_value targets README.TXT)" = '0|2|0|Tessaly Viewer Read Me|||C:\TYVIEWER\README.TXT' ] ||
    fail "log targets README.TXT=$(log_value targets README.TXT)"
has_section Events || fail "log has no Events section"

# Registration.
[ "$(reg_value "HKLM\\$version\\App Paths\\tyviewer.exe" "")" = 'C:\TYVIEWER\tyviewer.exe' ] ||
    fail "App Paths default: $(reg_value "HKLM\\$version\\App Paths\\tyviewer.exe" "")"
[ "$(reg_value "HKLM\\$version\\App Paths\\tyviewer.exe" Path)" = 'C:\TYVIEWER' ] ||
    fail "App Paths Path: $(reg_value "HKLM\\$version\\App Paths\\tyviewer.exe" Path)"
[ "$(reg_value "HKLM\\$version\\Uninstall\\Tessaly Viewer" UninstallString)" = 'C:\TYVIEWER\SETUP.EXE /U' ] ||
    fail "UninstallString: $(reg_value "HKLM\\$version\\Uninstall\\Tessaly Viewer" UninstallString)"
[ "$(reg_value "HKLM\\$version\\Uninstall\\Tessaly Viewer" DisplayName)" = 'Tessaly Viewer' ] ||
    fail "DisplayName: $(reg_value "HKLM\\$version\\Uninstall\\Tessaly Viewer" DisplayName)"
for ext in $extensions; do
    [ "$(reg_value "HKCR\\$ext" "")" = TessalyViewer.Molecule ] || fail "association of $ext: $(reg_value "HKCR\\$ext" "")"
done

# Program items: the links in the default group start the installed files.
for item in 'Tessaly Viewer|C:\TYVIEWER\tyviewer.exe' 'Tessaly Viewer Read Me|C:\TYVIEWER\README.TXT'; do
    link="$group_dir/${item%%|*}.lnk"
    if [ ! -f "$link" ]; then
        fail "no link $link"
    elif ! tr -c '[:print:]' '\n' <"$link" | grep -qixF "${item#*|}"; then
        fail "$link does not start ${item#*|}"
    fi
done

# Shared counts: one install, one reference each.
for name in $shared_names; do
    count=$(reg_value "HKLM\\$version\\SharedDLLs" "C:\\windows\\system32\\$name")
    [ "$count" = 0x1 ] || fail "SharedDLLs count of $name: \"$count\", expected 0x1"
done

if [ "$failures" -ne 0 ]; then
    say "$failures check(s) failed"
    exit 1
fi
say "demo kit installed and checked: $(say "$files" | wc -l) files"
exit 0
