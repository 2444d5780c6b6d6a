#!/bin/bash
# Runs a Windows program under Wine as on a display of DPI dots per inch:
# in a Wine prefix of its own (WINEPREFIX with -DPI appended) whose
# HKCU\Control Panel\Desktop LogPixels says so.
#   wine_at_dpi.sh DPI WINE PROGRAM [ARGS...]
set -u
dpi=$1 wine=$2
shift 2
export WINEPREFIX=${WINEPREFIX:?}-$dpi WINEDEBUG=${WINEDEBUG:--all}
wineserver=$(dirname "$wine")/wineserver
"$wineserver" -k 2>/dev/null
out=$("$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f 2>&1) ||
    { echo "$0: LogPixels not set in $WINEPREFIX: $out" >&2; exit 1; }
"$wineserver" -w 2>/dev/null
# A screen as much larger as the display is denser, so that the window fits.
scale=$(( (dpi + 95) / 96 ))
SCREEN=$((1024 * scale))x$((768 * scale))x24 exec "$(dirname "$0")/wine_on_virtual_display.sh" "$wine" "$@"
