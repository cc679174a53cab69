#!/usr/bin/env bash
# The program on a 192-DPI display as a user meets it: everything twice as large in whole pixels
# (the glass 600 x 720, its outline the mask doubled, every picture pixel a 2 x 2 block), the
# pointer working as at 1x (a pan, a throw), the stray ant found with a click, and the size menu
# changing the size at once and keeping it in kirelo.ini (no key: automatic).
source "$(dirname "$0")/e2e_lib.sh" scale "$@"

# The display's DPI is the prefix's LogPixels; the one it had comes back at the end.
DPI_KEY='HKCU\Control Panel\Desktop'
old_dpi=$(wine reg query "$DPI_KEY" /v LogPixels 2>/dev/null | tr -d '\r' |
    awk '/LogPixels/{print $3}')
restore_dpi() {
    cleanup
    if [ -n "$old_dpi" ]; then
        wine reg add "$DPI_KEY" /v LogPixels /t REG_DWORD /d "$((old_dpi))" /f >/dev/null 2>&1
    else
        wine reg delete "$DPI_KEY" /v LogPixels /f >/dev/null 2>&1
    fi
}
trap restore_dpi EXIT
wine reg add "$DPI_KEY" /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1 ||
    fail "cannot set the display's DPI"
SCALE=2

# Without the frame wait the frames come quickly, and so does the stray ant's chance.
write_ini "[Status]" "Wait ON=0"
start_kirelo
find_main 30 || fail "no 600 x 720 magnifier at 192 DPI"
log "magnifier at ($MAIN_X, $MAIN_Y)"
geo=$(xwininfo -id "$(printf '0x%x' "$MAIN")")
check "xwininfo: the glass is 600 x 720" test "$(echo "$geo" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')" = 600x720

# Read from the screen: every pixel of the glass a 2 x 2 block (aligned at its corner), the
# desktop outside exactly the doubled mask and the glass inside it. Wine's tray window may cover
# the glass's top: only the rows below it are judged. A screenshot taken while the lens is being
# redrawn may catch half a block: a few are tried.
xdotool mousemove 0 0
mask="$E2E_DIR/../../resources/art/125.bmp"
top=0
if wait_titled "Wine System Tray" 2; then
    tray_bottom=$(xdotool getwindowgeometry "$WIN" | awk '/Position/{split($2, p, ","); y = p[2]}
        /Geometry/{split($2, g, "x"); h = g[2]} END{print y + h}')
    top=$(( tray_bottom > MAIN_Y ? (tray_bottom - MAIN_Y + 1) / 2 * 2 : 0 ))
fi
log "judged from row $top of the glass"
for attempt in 1 2 3 4; do
    s=$(shot "doubled-$attempt")
    uneven=$($E2E_IMAGE blocks "$s" "$MAIN_X" $((MAIN_Y + top)) 600 $((720 - top)) 2)
    [ "$uneven" = 0 ] && break
    sleep 0.2
done
check "every pixel of the glass is a 2 x 2 block ($uneven blocks uneven)" test "$uneven" = 0
# shellcheck disable=SC2086  # the desktop pixel is three numbers
read -r inside_desk outside_glass <<<"$($E2E_IMAGE outline "$s" "$MAIN_X" "$MAIN_Y" 2 "$mask" $DESKTOP_PIXEL "$top")"
log "outline: $inside_desk desktop pixels inside, $outside_glass glass pixels outside"
check "the desktop shows exactly outside the doubled outline" test "$outside_glass" = 0
check "and the glass inside it" test "$inside_desk" -le 8

# Pan: a drag of 60 screen pixels away from the ball moves the view 30 field pixels, which are
# 60 screen pixels: the patch moves with the pointer. (Doubled pixels of leaves a shade apart match
# one screen pixel off as well as on, so an odd shift is no fault here: the 2 x 2 check above
# already holds every pixel to its block.)
find_ball start || fail "no ball in the lens"
log "ball at lens ($BX, $BY) in field pixels"
pan_setup
pan_away
pan_back_to_ball
# Throw: a flick on the ball (where a 2x ball stands on the screen) sends it the flick's way.
throw_ball

# The stray ant at 2x: a 16 x 16 window; a click on it opens its box, and its heart is 32 x 32.
wait_window 16 16 45 || fail "no 16 x 16 stray ant within 45 s"
log "stray ant out at ($WIN_X, $WIN_Y)"
check "a click on the 2x stray ant opens its box" catch_stray 16
close_box "$WIN" "はぐれありさん" || fail "the box did not close"
check "the ant's window is gone after the box" wait_until 3 not size_shown 16 16

# The rim drag moves the glass in screen pixels, pixel for pixel with the pointer.
rim_point
x0=$MAIN_X
y0=$MAIN_Y
drag 1 "$RIM_X" "$RIM_Y" 8 -2 5
moved_off() { [ "$(windows_of_size 600 720 | awk '{print $2, $3}')" != "$x0 $y0" ]; }
wait_until 3 moved_off
find_main 2 || fail "no magnifier after the rim drag"
check "the rim drag moved the glass 40 right, 10 up (got $((MAIN_X - x0)), $((y0 - MAIN_Y)))" \
    test "$((MAIN_X - x0)) $((y0 - MAIN_Y))" = "40 10"

# The size menu (rim menu, second item): 1x at once, saved; automatic again, saved as 0.
# A click low in the lens first gives the magnifier the keys, which Wine without a window manager
# leaves on the desktop after the stray ant's box.
size_item() {  # size_item DOWNS: the rim menu's size submenu, DOWNS items below Automatic
    click_at 1 $((LENS_X + 100 * SCALE)) $((LENS_Y + 155 * SCALE))
    sleep 0.3
    rim_point
    click_at 3 "$RIM_X" "$RIM_Y"
    sleep 0.5
    shot "menu-$1" >/dev/null
    local keys=(Down Down Right) i
    for ((i = 0; i < $1; i++)); do keys+=(Down); done
    xdotool key --delay 120 "${keys[@]}" Return
    sleep 0.5
}
size_item 1
SCALE=1
check "1x makes the glass 300 x 360 at once" wait_until 3 main_visible
check "1x is saved" test "$(ini Status Scale)" = 1
find_main 2 || fail "no 1x magnifier"
size_item 0
SCALE=2
check "automatic makes it 600 x 720 again" wait_until 3 main_visible
check "automatic is saved as 0" test "$(ini Status Scale)" = 0
find_main 2 || fail "no 2x magnifier"
end_with_escape "Escape ends the program with code 0"
log "passed"
