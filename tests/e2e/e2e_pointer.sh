#!/usr/bin/env bash
# The pointer as a user meets it: a drag in the lens pans the view with the pointer, a right
# click brings the view back to the ball, a flick on the ball throws it away; a drag by the handle
# moves the window pixel for pixel with the pointer while a click leaves it be; a double click
# anywhere on the rim or the handle hides the magnifier, every time, and a left click on the tray
# icon brings it back where it was.
source "$(dirname "$0")/e2e_lib.sh" pointer "$@"

start_kirelo
find_main 30 || fail "no magnifier"

# The ball is looked for at once: the longer the run, the more resting ants crowd over it.
find_ball start || fail "no ball in the lens"
log "ball at lens ($BX, $BY)"
pan_setup
# Pan and back: dragging back always moves the view the full 60 px, either back from the edge or
# back where it started.
pan_away
pan $((PX + DIR * 60)) $((-DIR)) "$SHOT" pan-again
check "dragging back moved the view 60 px the other way" \
    test "$(( MOVED * -DIR >= 59 && MOVED * -DIR <= 61 ))$(echo "$DIFF < 8" | bc)" = 11
pan_back_to_ball
# The view is the one it was at the start, so the resting ball is where it was seen then (resting
# ants may hide most of it by now: it is not looked for again).
throw_ball
check "the thrown ball kept its height" test "$(( BN < 8 || (BY - BY0) ** 2 <= 100 ))" = 1

# The magnifier's upper-left corner on the screen now.
main_corner() { corner "$MAIN"; }
corner_at() { [ "$(main_corner)" = "$1 $2" ]; }  # corner_at X Y
wait_corner() { wait_until "$3" corner_at "$1" "$2"; }  # wait_corner X Y SECONDS

# A drag by the handle: nothing moves while the pointer stays within the system's drag threshold
# of the press; past it the window follows the pointer pixel for pixel, keeping the offset it had
# at the press, while the button is still down, and stays where the release leaves it.
x0=$MAIN_X
y0=$MAIN_Y
xdotool mousemove $((x0 + 228)) $((y0 + 282))
sleep 0.2
xdotool mousedown 1
sleep 0.2
xdotool mousemove_relative -- 2 1
sleep 0.4
check "a move within the drag threshold leaves the window where it is" test "$(main_corner)" = "$x0 $y0"
for i in 1 2 3 4 5; do xdotool mousemove_relative -- 9 -5; sleep 0.08; done
check "with the button down the window follows the pointer (+47, -24)" \
    wait_corner $((x0 + 47)) $((y0 - 24)) 3
for i in 1 2 3 4; do xdotool mousemove_relative -- -15 10; sleep 0.08; done
check "and follows it back the other way (-13, +16)" wait_corner $((x0 - 13)) $((y0 + 16)) 3
xdotool mouseup 1
sleep 0.3
check "the release leaves it there" wait_corner $((x0 - 13)) $((y0 + 16)) 1
shot dragged >/dev/null
find_main 5 || fail "magnifier lost after the drag"
# A single click on the rim neither moves nor hides it.
click_at 1 $((MAIN_X + 120)) $((MAIN_Y + 8))
sleep 0.6
check "a click on the rim leaves the magnifier shown where it was" \
    test "$(main_visible && main_corner)" = "$MAIN_X $MAIN_Y"
DRAGGED="$MAIN_X $MAIN_Y"

# A double click on the rim or the handle hides the magnifier, wherever it is made: the top and
# the left of the rim, its lower left and the handle, five times each. The tray icon brings it
# back between the tries, where it was; the program runs on meanwhile.
tray_point || fail "no tray window"
hidden=0
tries=0
for place in "120 8" "9 120" "44 196" "228 282"; do
    for round in 1 2 3 4 5; do
        read -r px py <<<"$place"
        tries=$((tries + 1))
        if double_click_hides "$px" "$py"; then
            hidden=$((hidden + 1))
            click_at 1 "$TRAY_X" "$TRAY_Y"
            wait_window 300 360 5 || fail "the tray click did not bring the magnifier back"
        else
            log "the double click at ($px, $py), round $round, left the magnifier shown"
            shot "not-hidden-$px-$py-$round" >/dev/null
            wait_window 300 360 1 || fail "the magnifier is neither hidden nor shown"
        fi
        read -r MAIN MAIN_X MAIN_Y <<<"$WIN $WIN_X $WIN_Y"
    done
done
log "double clicks that hid the magnifier: $hidden of $tries"
check "every double click on the rim and the handle hid the magnifier" test "$hidden" = "$tries"
check "it comes back where it was dragged" test "$MAIN_X $MAIN_Y" = "$DRAGGED"
check "the program runs on" kill -0 "$KIRELO_PID"
shot shown-again >/dev/null
click_at 1 "$TRAY_X" "$TRAY_Y"
check "a tray click hides it again" wait_hidden 3
log "passed"
