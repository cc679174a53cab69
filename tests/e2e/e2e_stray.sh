#!/usr/bin/env bash
# The stray ant as a user meets it: some seconds into the run a tiny ant-shaped window walks over
# the desktop; a click on it says "みつかっちまった", the found ant stands still while its box is up,
# and once the box is closed (by its close button) the ant becomes a heart that rises from where
# it was clicked and vanishes. Escape on the magnifier afterwards ends the program.
source "$(dirname "$0")/e2e_lib.sh" stray "$@"

# The middle of a window's close button: in the frame a window manager puts round it (its
# _NET_FRAME_EXTENTS), or in the caption Wine draws itself inside the window when none does.
close_button() {  # close_button WINDOW: prints "X Y"
    local x y w extents left right top
    read -r x y <<<"$(corner "$1")"
    w=$(xwininfo -id "$1" | awk '/Width:/{print $NF}')
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ',')
    if [ -n "$extents" ]; then
        read -r left right top _ <<<"$extents"
        echo $((x + w + right - top / 2 - 2)) $((y - top / 2))
    else
        echo $((x + w - 12)) $((y + 10))
    fi
}

# Without the frame wait the frames come quickly, and so does the stray ant's chance.
write_ini "[Status]" "Wait ON=0"
start_kirelo
find_main 30 || fail "no magnifier"

wait_window 8 8 45 || fail "no stray ant within 45 s"
log "stray ant out at ($WIN_X, $WIN_Y), $(seconds_since "$KIRELO_START") s after the start"
s=$(shot stray-out)
# Its window has the shape of an ant: where it walks on the light desktop, the desktop shows
# around it, and the ant itself is drawn (not a black or empty square). Over the magnifier there
# is no desktop to see, and the check waits for another outing.
over_magnifier() {
    [ "$WIN_X" -ge $((MAIN_X - 20)) ] && [ "$WIN_X" -le $((MAIN_X + 308)) ] &&
        [ "$WIN_Y" -ge $((MAIN_Y - 20)) ] && [ "$WIN_Y" -le $((MAIN_Y + 368)) ]
}
if over_magnifier; then
    log "the stray ant came out over the magnifier: its shape on the desktop is not judged"
else
    desk=$($E2E_IMAGE colour "$s" $((WIN_X - 4)) $((WIN_Y - 4)) 16 16 216 208 192 6)
    log "stray ant: share of desktop pixels in the 16 x 16 square around it $desk"
    check "the stray ant is drawn in its shape on the desktop" \
        test "$(echo "$desk > 0.5 && $desk < 0.97" | bc)" = 1
fi
x1=$WIN_X
y1=$WIN_Y

# Slow the frames down with the frame wait (rim menu: View, sixth item) so the ant can be caught.
open_rim_menu || fail "the rim menu did not open"
xdotool key --delay 120 Down Right Down Down Down Down Return
sleep 0.5
check "the frame wait is back on" test "$(ini Status "Wait ON")" = 1

wait_window 8 8 5 || fail "the stray ant went away"
moved=$(( (WIN_X - x1) ** 2 + (WIN_Y - y1) ** 2 ))
log "the stray ant walked to ($WIN_X, $WIN_Y)"
check "the stray ant walks" test "$moved" -gt 0
# On the screen the ant is exactly one cell of the ant sprites, pixel for pixel, with the desktop
# showing all around it and between its legs. The pointer may stand over it in one screenshot, so
# a few are tried; over the magnifier there is no plain desktop to judge it against.
shapes="$E2E_DIR/../../resources/art/128.bmp"
exact=none
for attempt in 1 2 3 4 5 6; do
    wait_window 8 8 2 || break
    if over_magnifier; then
        exact=magnifier
        break
    fi
    s=$(shot "stray-exact-$attempt")
    # shellcheck disable=SC2086  # the desktop pixel is three numbers
    exact=$($E2E_IMAGE antcell "$s" "$WIN_X" "$WIN_Y" 3 "$shapes" $DESKTOP_PIXEL)
    [ "$exact" != none ] && break
done
if [ "$exact" = magnifier ]; then
    log "the stray ant walks over the magnifier: its exact picture on the desktop is not judged"
else
    log "stray ant on the screen near ($WIN_X, $WIN_Y): cell, offset $exact"
    check "the stray ant shows exactly an ant cell with the desktop around it" \
        test "$exact" != none
fi
check "a click on the stray ant opens its box" catch_stray 8
box=$WIN ant=$ANT click_x=$CLICK_X click_y=$CLICK_Y caught_y=$((CLICK_Y - 4))
check "its box is painted" box_painted "$box" 5
shot found >/dev/null
check "the box is the only one shown" test "$(titled "はぐれありさん")" = "$box"

# While the box is up the found ant stands still, where it was clicked (about a dozen frames).
read -r fx fy <<<"$(corner "$ant")"
still=1
for _ in 1 2 3 4 5 6 7 8 9 10; do
    sleep 0.1
    read -r nx ny <<<"$(corner "$ant")"
    [ "$nx $ny" = "$fx $fy" ] || still=0
done
log "the found ant stood at ($fx, $fy), clicked at ($click_x, $click_y); last seen at ($nx, $ny)"
check "the found ant does not move while its box is up" test "$still" = 1
check "it stands where it was clicked" \
    test $((fx + 4 - click_x)) -ge -2 -a $((fx + 4 - click_x)) -le 2 -a \
    $((fy + 4 - click_y)) -ge -2 -a $((fy + 4 - click_y)) -le 2

# The box's close button, as a user clicks it: half a second later the ant is gone and its heart
# stands where the ant was clicked.
read -r cx cy <<<"$(close_button "$box")"
xdotool mousemove "$cx" "$cy"
sleep 0.2
t_ok=$(date +%s.%N)
xdotool click 1
first_heart=""
while [ -z "$first_heart" ] && [ "$(echo "$(seconds_since "$t_ok") < 2" | bc)" = 1 ]; do
    heart=$(windows_of_size 16 16 | head -n1)
    [ -n "$heart" ] && first_heart=$(corner "${heart%% *}")
done
sleep "$(echo "0.5 - $(seconds_since "$t_ok")" | bc | sed 's/^-.*/0/')"
ants_after=$(windows_of_size 8 8)
hearts_after=$(windows_of_size 16 16)
shot after-ok >/dev/null
log "0.5 s after the close button: ant windows [${ants_after}], heart windows [${hearts_after}]"
check "within 0.5 s of the close button the ant window is gone" test -z "$ants_after"
# The heart may not rise above row 16: found near the top edge, its rise is cut short (in its
# first frame right at the edge); lower down it shows and rises for about four seconds.
at_top=$(( caught_y < 30 ? 1 : 0 ))
rises_long=$(( caught_y >= 70 ? 1 : 0 ))
if [ "$at_top" = 0 ]; then
    check "within 0.5 s of the close button the heart is shown" test -n "$hearts_after"
    read -r hx hy <<<"$first_heart"
    log "the heart came up at ($hx, $hy): its middle $((hx + 8 - click_x)), $((hy + 8 - click_y)) from the click"
    check "the heart's first place is within a few pixels of the click" \
        test $((hx + 8 - click_x)) -ge -8 -a $((hx + 8 - click_x)) -le 8 -a \
        $((hy + 8 - click_y)) -ge -8 -a $((hy + 8 - click_y)) -le 8
else
    log "found at the top edge (row $caught_y): the heart ends at once"
fi
# The box itself may stay a moment longer: Wine waits up to two seconds for a window manager
# when it hides an active window, and the test display has none.
check "the box closed" wait_until 4 not titled_shown "はぐれありさん"
if [ "$rises_long" = 1 ]; then
    wait_window 16 16 3 || fail "no heart after the box"
    hy=$WIN_Y
    # It keeps rising while the screenshot is taken: look at a 32 x 32 square around it, in a few
    # screenshots (Wine may show the window a moment before its first paint reaches the screen).
    red=0
    for attempt in 1 2 3 4 5 6; do
        sleep 0.2
        wait_window 16 16 1 || break
        h=$(shot heart)
        red=$($E2E_IMAGE colour "$h" $((WIN_X - 8)) $((WIN_Y - 16)) 32 32 200 60 80 65)
        [ "$(echo "$red > 0.04" | bc)" = 1 ] && break
    done
    log "heart: share of red pixels around it $red"
    check "the heart is red" test "$(echo "$red > 0.04" | bc)" = 1
    sleep 0.5
    if wait_window 16 16 1; then
        check "the heart rises (or stays at the top edge)" test "$WIN_Y" -lt "$hy" -o "$hy" = 0
    fi
fi
check "the heart vanishes" wait_until 10 not size_shown 16 16
check "and no ant comes back" test -z "$(windows_of_size 8 8)"

# The click hands the focus back to the magnifier inside the program, but Wine without a window
# manager leaves the X keyboard focus on the desktop when the hidden ant window had it; a click
# in the lens gives the keys to the magnifier, as a user would do.
end_with_escape "Escape after the find ends the program with code 0"
log "passed"
