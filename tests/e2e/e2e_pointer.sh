#!/usr/bin/env bash
# The pointer in the lens as a user meets it: a drag pans the view with the pointer, a right
# click brings the view back to the ball, a flick on the ball throws it away, a double click on
# the rim hides the magnifier and a left click on the tray icon brings it back where it was.
source "$(dirname "$0")/e2e_lib.sh" pointer "$@"

start_kirelo
find_main 30 || fail "no magnifier"

# Where the ball is decides which way there is room: the view follows the ball and stops at the
# field edges, so a ball left of the lens centre means the view is at the field's left edge. It
# is looked for at once: the longer the run, the more resting ants crowd over it.
ball_in_lens() { find_ball "$1"; }
ball_in_lens start || fail "no ball in the lens"
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
# The first move after the press starts the throw's clock; the quick long move right after it
# and the release make it a fast flick, whatever the load on the machine.
xdotool mousemove $((LENS_X + BX)) $((LENS_Y + BY))
sleep 0.2
xdotool mousedown 1
sleep 0.2
xdotool mousemove_relative -- "$DIR" 0
sleep 0.05
xdotool mousemove_relative -- $((DIR * 120)) 0 mouseup 1
sleep 2.5
thrown=$(shot throw-after)
s=$(shot throw-ball)
read -r BX BY BN <<<"$($E2E_IMAGE ball "$s" "$LENS_X" "$LENS_Y")"
moved_view=$($E2E_IMAGE diffat "$still" "$pcx" "$pcy" "$thrown" "$pcx" "$pcy" 40 30)
log "after the throw: ball at lens ($BX, $BY) ($BN px), view patch difference $moved_view"
check "the thrown ball went the way of the flick" test \
    "$(( (BN >= 8 && (BX - bx0) * DIR >= 20) || $(echo "$moved_view > 8" | bc) ))" = 1
check "the thrown ball kept its height" test "$(( BN < 8 || (BY - by0) ** 2 <= 100 ))" = 1

# Double click on the rim hides the magnifier; the program runs on in the tray.
rim_point
xdotool mousemove "$RIM_X" "$RIM_Y"
sleep 0.2
xdotool click --repeat 2 --delay 80 1
t=0
while main_visible && [ $t -lt 30 ]; do sleep 0.1; t=$((t + 1)); done
check "a double click on the rim hides the magnifier" eval '! main_visible'
check "the program runs on" kill -0 "$KIRELO_PID"
shot hidden >/dev/null

# The tray icon (the first and only one in Wine's tray window) brings it back.
wait_titled "Wine System Tray" 5 || fail "no tray window"
tray=$WIN
read -r tx ty <<<"$(xdotool getwindowgeometry "$tray" | awk '/Position/{split($2, p, ","); print p[1], p[2]}')"
click_at 1 $((tx + 10)) $((ty + 10))
find_main 5 || fail "the tray click did not bring the magnifier back"
check "it comes back where it was" test "$MAIN_X $MAIN_Y" = "$(((SCREEN_W - 300) / 2)) $(((SCREEN_H - 360) / 2))"
shot shown-again >/dev/null
click_at 1 $((tx + 10)) $((ty + 10))
t=0
while main_visible && [ $t -lt 30 ]; do sleep 0.1; t=$((t + 1)); done
check "a second tray click hides it again" eval '! main_visible'
log "passed"
