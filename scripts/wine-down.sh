#!/bin/sh
# Ends the test prefix's wineserver and everything running in it, and waits
# until the server is gone: a server still shutting down makes the next
# wine_up's start fail.
export WINEPREFIX="$1"
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w </dev/null >/dev/null 2>&1 || true
