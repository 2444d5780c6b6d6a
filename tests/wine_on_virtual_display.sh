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
xvfb-run ${DISPLAY_FROM:+-n "$DISPLAY_FROM"} -a -s "-screen 0 ${SCREEN:-1024x768x24} -nolisten tcp" "$@"
status=$?
"$wineserver" -k 2>/dev/null
exit $status
