#!/bin/bash
# The calculator as a program: no display, an unreachable display, and a real
# X server where it is closed by its exit button and by the window system.
set -u
app=$1 tool=$2
failures=0 passes=0
check() {  # check NAME CONDITION...
    local name=$1; shift
    if "$@"; then passes=$((passes + 1)); echo "ok   $name"; else failures=$((failures + 1)); echo "FAIL $name"; fi
}
one_line() { [ "$(printf '%s\n' "$1" | wc -l)" -eq 1 ]; }

out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$app" 2>&1); rc=$?
check "no display: non-zero exit" [ $rc -ne 0 ]
check "no display: one clear line" one_line "$out"
check "no display: says so" grep -q "no display" <<<"$out"

# A Wayland session's display alone is one to try: no compositor answers.
out=$(env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=kvorn-no-compositor "$app" 2>&1); rc=$?
check "Wayland display only: non-zero exit" [ $rc -ne 0 ]
check "Wayland display only: tried" grep -q "cannot open the display" <<<"$out"

out=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:97 "$app" 2>&1); rc=$?
check "unreachable display: non-zero exit" [ $rc -ne 0 ]
check "unreachable display: one clear line" one_line "$out"
check "unreachable display: names it" grep -q "cannot open the display :97" <<<"$out"

# A private X server on a free display number.
exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ xvfb <&3
number=""
for _ in $(seq 50); do read -r -t 0.2 number <&3 && [ -n "$number" ] && break; done
trap 'kill $xvfb 2>/dev/null' EXIT
export DISPLAY=":$number"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

run_and_close() {  # run_and_close HOW: start the app, close it, report its exit code
    "$app" 2>/dev/null &
    local pid=$! window
    window=$("$tool" wait kvorn-calculator 10000) || { kill $pid; echo "no-window"; return; }
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

# The titles the program itself sets: the window's caption, followed on
# X11 by the application title as Qt names every window, and the
# application title alone on the not-selected message. Every figure typed and a
# caliber picked, no ship type: the message opens.
titles() {
    "$app" 2>/dev/null &
    local pid=$! window box=""
    window=$("$tool" wait kvorn-calculator 10000) || { kill $pid; return; }
    echo "window: $(xdotool getwindowname "$window")"
    # The fields' centres, in a window at 444,196: Edit1, Edit3, Edit4, Edit5,
    # Edit2, then the crew figures.
    for at in "606 245" "606 276" "606 306" "606 337" "606 369" "576 400" "613 400"; do
        xdotool mousemove $at click 1 type 1
    done
    xdotool mousemove 600 431 click 1 key Down  # the caliber selector's text
    for _ in $(seq 100); do
        box=$(xdotool search --name '^Kvorn calculator$' 2>/dev/null | head -1)
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
