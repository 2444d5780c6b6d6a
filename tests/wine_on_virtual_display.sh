#!/bin/bash
# Runs a Windows program under Wine on a virtual X display of its own.
#   [SCREEN=WxHxD] [DISPLAY_FROM=N] wine_on_virtual_display.sh WINE PROGRAM [ARGS...]
# DISPLAY_FROM: the first display number to try (before -a, which starts
# its search from it).
# A Wine server left by an earlier program (one run with no display) would
# hand this one its desktop without a display: stop it first, and stop this
# one's afterwards, when the display is gone.
set -u
wine=$1
wineserver=$(dirname "$wine")/wineserver
"$wineserver" -k 2>/dev/null
"$wineserver" -w 2>/dev/null
# A run that fails says how it ended, and what the X server said.
xlog=$(mktemp)
xvfb-run ${DISPLAY_FROM:+-n "$DISPLAY_FROM"} -a -e "$xlog" -s "-screen 0 ${SCREEN:-1024x768x24} -nolisten tcp" "$@"
status=$?
"$wineserver" -k 2>/dev/null
if [ $status -ne 0 ]; then
    echo "$(basename "$0"): $(basename "${2:-$1}") ended with status $status; the X server said:" >&2
    cat "$xlog" >&2
fi
rm -f "$xlog"
exit $status
