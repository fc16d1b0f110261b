#!/bin/sh
# Runs SETUP.EXE (the shipped build) in the prefix given by WINEPREFIX from a
# small kit directory C:\tvs-demo-kit, then prints the exit code and what the
# run left behind. The kit's profile names the product's directories,
# components and program item but no files yet: copying files from the
# diskettes comes with the install worker. Without a display Setup runs in
# batch mode (/B), which needs no input.
root=$(cd "$(dirname "$0")/.." && pwd)
setup="$root/build/ship/app/SETUP.EXE"
kit="$WINEPREFIX/drive_c/tvs-demo-kit"
rm -rf "$kit"
mkdir -p "$kit"
cp "$setup" "$kit/SETUP.EXE"
printf '%s\r\n' '[destinations]' '0=TYVIEWER|-1|' '3=SAMPLES|0|' \
    '[groups]' 'Viewer=Tessaly Viewer|The program|1|1|1' 'Samples=Sample molecules|Examples|0|1|1' \
    '[targets]' 'tyviewer.exe=0|1|0|Tessaly Viewer||tyviewer.exe|' \
    '[Viewer]' '[Samples]' \
    '[diskettes]' '1=Tessaly Viewer Disk 1|' > "$kit/SETUP.ini"

wine wineboot </dev/null >/dev/null 2>&1
mode=""
[ "$TVS_RUN_BATCH" = 1 ] && mode="/B"
status=0
wine 'C:\tvs-demo-kit\SETUP.EXE' $mode "$@" </dev/null >/dev/null 2>&1 || status=$?
echo "SETUP.EXE exited with code $status (0: success, 1: failed or cancelled)"
echo "Registered application path:"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\tyviewer.exe' </dev/null 2>/dev/null | sed -n 's/^ *//p'
echo "Install log C:\\windows\\TYViewer.log:"
sed 's/\r$//; s/^/    /' "$WINEPREFIX/drive_c/windows/TYViewer.log" 2>/dev/null
wineserver -k </dev/null >/dev/null 2>&1 || true
exit $status
