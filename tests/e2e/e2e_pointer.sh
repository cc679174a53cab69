#!/usr/bin/env bash
# The pointer as a user meets it: a drag in the lens pans the view with the pointer, a right
# click brings the view back to the ball, a flick on the ball throws it away; a drag by the handle
# moves the window pixel for pixel with the pointer while a click leaves it be; a double click
# anywhere on the rim or the handle hides the magnifier, every time, and a left click on the tray
# icon brings it back where it was.
source "$(dirname "$0")/e2e_lib.sh" pointer "$@"

start_kirelo
find_main 30 || fail "no magnifier"

# Where the ball is decides which way there is room: the view follows the ball and stops at the
# field edges, so a ball left of the lens centre means the view is at the field's left edge. It
# is looked for at once: the longer the run, the more resting ants crowd over it.
find_ball start || fail "no ball in the lens"
log "ball at lens ($BX, $BY)"
BX0=$BX
BY0=$BY
if [ "$BX" -le 100 ]; then DIR=1; else DIR=-1; fi

# Pan: press away from the ball, drag 60 px sideways. The view moves with the pointer, so what
# was up to 60 px further in that direction is now under the old place; less only where the view
# stops at the field's edge. Dragging back then always moves it the full 60 px: either it comes
# back from the edge or it goes back where it started.
before=$(shot pan-before)
px=$((LENS_X + 100 - DIR * 60))
py=$((LENS_Y + (BY < 100 ? 150 : 50)))
# A 40 x 30 patch above or below the ball (the resting ants crowd around it), inside the lens
# at every offset searched.
pcx=$((LENS_X + 80))
pcy=$((LENS_Y + (BY >= 100 ? 50 : 120)))
# The same view matches within a few units (ants and trails change a little); a view one pixel
# off already differs by more than 8, one elsewhere by 14 and more.
pan_shift() { $E2E_IMAGE shift "$1" "$2" "$pcx" "$pcy" 40 30 70; }
# pan FROM_X DIRECTION SHOT_BEFORE NAME: drags 60 px from (FROM_X, py), keeps the screenshot NAME
# and sets SHOT, MOVED (px the view moved) and DIFF (how well the moved patch matches).
pan() {
    drag 1 "$1" "$py" $(($2 * 12)) 0 5
    sleep 0.5
    SHOT=$(shot "$4")
    read -r MOVED DIFF <<<"$(pan_shift "$3" "$SHOT")"
    log "$4: the view moved $MOVED px (patch difference $DIFF)"
}
pan "$px" "$DIR" "$before" pan-after
after=$SHOT
check "the view moved with the pointer, at most 60 px" \
    test "$(( MOVED * DIR >= 0 && MOVED * DIR <= 61 ))$(echo "$DIFF < 8" | bc)" = 11
pan $((px + DIR * 60)) $((-DIR)) "$after" pan-again
check "dragging back moved the view 60 px the other way" \
    test "$(( MOVED * -DIR >= 59 && MOVED * -DIR <= 61 ))$(echo "$DIFF < 8" | bc)" = 11

# A right click in the lens returns the view to the ball: the lens looks as before the pan.
click_at 3 $((LENS_X + 100)) $((LENS_Y + 100))
sleep 0.6
back=$(shot pan-back)
read -r s3 d3 <<<"$(pan_shift "$before" "$back")"
log "after the right click: the view is $s3 px from the start (patch difference $d3)"
check "a right click brings the view back to the ball" test "$s3 $(echo "$d3 < 8" | bc)" = "0 1"
# The view is the one it was at the start, so the resting ball is where it was seen then (resting
# ants may hide most of it by now: it is not looked for again).
BX=$BX0
BY=$BY0

# Throw: press on the ball and flick it 120 px toward the room, then watch it go. Rested ants
# cluster around a resting ball; a thrown one leaves them and the view (following it) moves.
bx0=$BX
by0=$BY
still=$(shot throw-before)
flick $((LENS_X + BX)) $((LENS_Y + BY)) $((DIR * 120))
sleep 2.5
thrown=$(shot throw-after)
s=$(shot throw-ball)
read -r BX BY BN <<<"$($E2E_IMAGE ball "$s" "$LENS_X" "$LENS_Y")"
moved_view=$($E2E_IMAGE diffat "$still" "$pcx" "$pcy" "$thrown" "$pcx" "$pcy" 40 30)
log "after the throw: ball at lens ($BX, $BY) ($BN px), view patch difference $moved_view"
check "the thrown ball went the way of the flick" test \
    "$(( (BN >= 8 && (BX - bx0) * DIR >= 20) || $(echo "$moved_view > 8" | bc) ))" = 1
check "the thrown ball kept its height" test "$(( BN < 8 || (BY - by0) ** 2 <= 100 ))" = 1

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
