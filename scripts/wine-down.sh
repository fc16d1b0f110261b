#!/bin/sh
export WINEPREFIX="$1" WINEARCH=win32
wineserver -k </dev/null >/dev/null 2>&1 || true
