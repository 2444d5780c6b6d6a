#!/bin/bash
# The calculator as a program: no display, an unreachable display, one of 256
# colours, a Wayland session, and a real X server where it is closed by its
# exit button and by the window system.
set -u
app=$1 tool=$2
# The window is found as a desktop finds it: by the class its menu entry names.
class=$(sed -n 's/^StartupWMClass=//p' "$(dirname "$0")/../ui/desktop/org.kvorn.Calculator.desktop")
failures=0 passes=0
check() {  # check NAME CONDITION...
    local name=$1; shift
    if "$@"; then passes=$((passes + 1)); echo "ok   $name"; else failures=$((failures + 1)); echo "FAIL $name"; fi
}
one_line() { [ "$(printf '%s\n' "$1" | wc -l)" -eq 1 ]; }
mapped() { timeout 10 xdotool search --sync --onlyvisible --class "^$class\$" 2>/dev/null | head -1 | grep .; }

out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$app" 2>&1); rc=$?
check "no display: non-zero exit" [ $rc -ne 0 ]
check "no display: one clear line" one_line "$out"
check "no display: says so" grep -q "no display" <<<"$out"

# A window system the user names is theirs to judge: it runs on, unrefused.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 5 "$app" >/dev/null 2>&1; rc=$?
check "no display, a window system named: runs" [ $rc -eq 124 ]

# A Wayland session's display alone is one to try: no compositor answers.
plugins=QT_LOGGING_RULES=qt.qpa.plugin=true  # Qt then says which window systems it tries
out=$(env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=kvorn-no-compositor $plugins "$app" 2>&1); rc=$?
check "Wayland display only: non-zero exit" [ $rc -ne 0 ]
check "Wayland display only: tried" grep -q 'load Qt platform plugin "wayland"' <<<"$out"

out=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:97 "$app" 2>&1); rc=$?
check "unreachable display: non-zero exit" [ $rc -ne 0 ]
check "unreachable display: one clear line" one_line "$out"
check "unreachable display: names it" grep -q "cannot open the display :97" <<<"$out"

# Private X servers on free display numbers: one of 256 colours, then the
# one the rest runs on.
xvfbs="" log=$(mktemp)
trap 'kill $xvfbs 2>/dev/null; rm -f "$log"' EXIT
start_x() {  # start_x DEPTH: an X server's display number
    exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x$1 -nolisten tcp 2>/dev/null & echo "pid $!")
    read -r _ xvfb <&3
    xvfbs="$xvfbs $xvfb"
    read -r number <&3  # once it takes connections; nothing if it cannot start
}
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
start_x 8
out=$(DISPLAY=":$number" timeout 15 "$app" 2>&1); rc=$?  # one that tries to draw runs on, or crashes
check "256 colours: refused, not crashed" [ $rc -eq 1 ]
check "256 colours: says so" grep -q "the display shows 8 bits a pixel" <<<"$out"
start_x 24
export DISPLAY=":$number"

# A Wayland session with an X server too: X alone, where the window can be
# placed and kept on top.
XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=kvorn-no-compositor env $plugins "$app" >/dev/null 2>"$log" &
pid=$!
mapped >/dev/null
kill $pid
wait $pid 2>/dev/null
check "Wayland and X: X alone asked for" grep -q 'pluginNamesWithArguments "xcb"' "$log"

run_and_close() {  # run_and_close HOW: start the app, close it, report its exit code
    "$app" 2>/dev/null &
    local pid=$! window
    window=$(mapped) || { kill $pid; echo "no-window"; return; }
    if [ "$1" = button ]; then
        # The exit button: left 104 + 39, top 288 + 9, in a window at 444,196.
        xdotool mousemove 587 493 click 1
    else
        "$tool" close "$window"
    fi
    for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.05; done
    if kill -0 $pid 2>/dev/null; then kill $pid; echo "still-running"; return; fi
    wait $pid
    echo $?
}
check "X server found" [ -n "$number" ]
check "exit button ends the program with 0" [ "$(run_and_close button)" = 0 ]
check "window system closing it ends the program with 0" [ "$(run_and_close protocol)" = 0 ]
# Laid out in the described pixels whatever the display's dots per inch.
check "at 192 dpi the exit button where described" [ "$(QT_FONT_DPI=192 run_and_close button)" = 0 ]
# 65,536 colours are enough.
depth24=$DISPLAY
start_x 16
check "65536 colours: the window opens" [ "$(DISPLAY=":$number" run_and_close protocol)" = 0 ]
export DISPLAY=$depth24

# The titles the program itself sets: the window's caption, followed on
# X11 by the application title as Qt names every window, and the
# application title alone on the not-selected message. Every figure typed and a
# caliber picked, no ship type: the message opens.
titles() {
    "$app" 2>/dev/null &
    local pid=$! window box=""
    window=$(mapped) || { kill $pid; return; }
    echo "window: $(xdotool getwindowname "$window")"
    # The fields' centres, in a window at 444,196: Edit1, Edit3, Edit4, Edit5,
    # Edit2, then the crew figures.
    for at in "606 245" "606 276" "606 306" "606 337" "606 369" "576 400" "613 400"; do
        xdotool mousemove $at click 1 type 1
    done
    xdotool mousemove 600 431 click 1 key Down  # the caliber selector's text
    for _ in $(seq 100); do
        box=$(xdotool search --onlyvisible --name '^Kvorn calculator$' 2>/dev/null | head -1)
        [ -n "$box" ] && break
        sleep 0.05
    done
    [ -n "$box" ] && echo "box: $(xdotool getwindowname "$box")"
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
}
seen=$(titles)
check "the window's caption" grep -qx "window: Кворн калькулятор v1.1.1 c12a — Kvorn calculator" <<<"$seen"
check "the message is captioned with the application title" grep -qx "box: Kvorn calculator" <<<"$seen"

echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
