#!/bin/sh
# Fails when a shipped program is larger than its share of the diskette:
#   sh scripts/check-size.sh <max bytes> <program> ...
# The programs are stripped at link time, so the size on disk is what the
# diskette holds.
max="$1"
shift
status=0
for f in "$@"; do
    if [ ! -f "$f" ]; then echo "$f: missing"; status=1; continue; fi
    size=$(wc -c <"$f" | tr -d ' ')
    if [ "$size" -le "$max" ]; then
        echo "$f: $size bytes (at most $max)"
    else
        echo "$f: $size bytes, more than $max"; status=1
    fi
done
exit $status
