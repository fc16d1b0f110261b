#!/bin/sh
# End-to-end check of tvsdriver against real report windows in another
# process. Run by CTest inside the test prefix (wine_up has started the
# server). Arguments: the driver and the probe executable.
driver="$1"
probe="$2"
d() { wine "$driver" "$@" </dev/null; }
# A probe left open is closed (its output is detached, so it cannot keep
# CTest waiting; wine_down ends whatever remains).
fail() {
    echo "FAIL: $*"
    TVSDRIVER_TIMEOUT=0 d close Warning >/dev/null 2>&1
    exit 1
}
expect_text() {
    got=$(d text "$1" "$2") || fail "text $1 $2"
    [ "$got" = "$3" ] || fail "control $2 of \"$1\": \"$got\", expected \"$3\""
}

# OK-only form: collapsed, More expands, Escape ends it.
wine "$probe" </dev/null >/dev/null 2>&1 &
pid=$!
d wait Warning 15000 152 || fail "no Warning dialog"
expect_text Warning 140 "Disk full"
expect_text Warning 144 "9.13 (CXFileException)"
d visible Warning 2 && fail "Cancel is visible in the OK-only form"
d enabled Warning 152 && fail "the explanation is enabled while collapsed"
d click Warning 119 || fail "click More"
expect_text Warning 119 "&More<<"
d enabled Warning 152 || fail "the explanation is disabled while expanded"
d key Warning escape || fail "key escape"
d gone Warning 10000 || fail "Escape did not end the report"
wait $pid || fail "probe exit code $?"

# Ask form: the caption click reaches "Continue Operation".
wine "$probe" /ask </dev/null >/dev/null 2>&1 &
pid=$!
d wait Warning 15000 152 || fail "no Warning dialog (ask)"
expect_text Warning 1 "Continue Operation"
d click Warning "Continue Operation" || fail "click by caption"
wait $pid
[ $? = 1 ] || fail "Continue did not give true"

# Message boxes are answered by caption or id.
wine "$probe" /box </dev/null >/dev/null 2>&1 &
pid=$!
d answer "Tessaly Viewer Setup" "&No" 15000 || fail "answer by caption"
wait $pid
[ $? = 7 ] || fail "the box did not answer No"
wine "$probe" /box </dev/null >/dev/null 2>&1 &
pid=$!
d answer "Tessaly Viewer Setup" 6 15000 || fail "answer by id"
wait $pid
[ $? = 6 ] || fail "the box did not answer Yes"

# Failures say so and exit non-zero.
TVSDRIVER_TIMEOUT=200 d text "No such window" 1 2>/dev/null && fail "a missing window was found"
echo "tvsdriver end-to-end: OK"
