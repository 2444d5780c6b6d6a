#!/bin/bash
# Runs a GoogleTest program under Wine on a virtual X display of its own.
#   [SCREEN=WxHxD] [DISPLAY_FROM=N] wine_on_virtual_display.sh WINE PROGRAM [ARGS...]
# DISPLAY_FROM: the first display number to try (before -a, which starts
# its search from it).
# A Wine server left by an earlier program (one run with no display) would
# hand this one its desktop without a display: stop it first, and stop this
# one's afterwards, when the display is gone.
set -u
wine=$1
wineserver=$(dirname "$wine")/wineserver
xlog=$(mktemp) out=$(mktemp)
trap 'rm -f "$xlog" "$out"' EXIT
run() {
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
    xvfb-run ${DISPLAY_FROM:+-n "$DISPLAY_FROM"} -a -e "$xlog" -s "-screen 0 ${SCREEN:-1024x768x24} -nolisten tcp" \
        "$@" 2>&1 | tee "$out"
    status=${PIPESTATUS[0]}
    "$wineserver" -k 2>/dev/null
}
report() {
    echo "$(basename "$0"): $(basename "$2") ended with status $status; the X server said:"
    cat "$xlog"
}
# A failed run says how it ended and what the X server said. One whose
# tests never started failed in Wine or the X server, not in a test: once
# more.
run "$@"
if [ $status -ne 0 ] && ! grep -q '^\[==========\] Running' "$out"; then
    report "$@"
    echo "$(basename "$0"): its tests never started; once more"
    : >"$xlog"
    run "$@"
fi
[ $status -eq 0 ] || report "$@"
exit $status
