#!/usr/bin/env bash
# The rim: dragging it moves the window, a right click opens the context menu beside the window,
# the trail, z-order and wait commands write kirelo.ini as they should, and Exit from the menu
# ends the program with code 0.
source "$(dirname "$0")/e2e_lib.sh" menu "$@"

start_kirelo
find_main 30 || fail "no magnifier"
check "no settings file before any command" test "$(ini Status PFlag)" = "<no file>"

rim_point
x0=$MAIN_X
y0=$MAIN_Y
drag 1 "$RIM_X" "$RIM_Y" 10 5 6
sleep 0.3
find_main 5 || fail "magnifier lost after the drag"
log "window moved from ($x0, $y0) to ($MAIN_X, $MAIN_Y)"
check "dragging the rim moves the window with the pointer" \
    test "$((MAIN_X - x0)) $((MAIN_Y - y0))" = "60 30"
shot dragged >/dev/null

# The rim menu or its submenu is open.
menu_open() { [ -n "$(menu_windows)" ]; }

open_menu() {
    rim_point
    click_at 3 "$RIM_X" "$RIM_Y"
    local t=0
    while ! menu_open && [ $t -lt 30 ]; do sleep 0.1; t=$((t + 1)); done
    menu_open
}

choose() {  # choose KEYS...: open the rim menu and walk it with the keys
    open_menu || fail "the rim menu did not open"
    sleep 0.2
    xdotool key --delay 120 "$@"
    sleep 0.5
}

wait_ini() {  # wait_ini SECTION KEY VALUE
    local t=0
    while [ "$(ini "$1" "$2")" != "$3" ] && [ $t -lt 30 ]; do sleep 0.1; t=$((t + 1)); done
    [ "$(ini "$1" "$2")" = "$3" ]
}

open_menu || fail "the rim menu did not open"
shot menu >/dev/null
menu_id=$(menu_windows | head -n1)
menu_x=$(xdotool getwindowgeometry "$menu_id" | awk '/Position/{split($2, p, ","); print p[1]}')
menu_w=$(xdotool getwindowgeometry "$menu_id" | awk '/Geometry/{split($2, g, "x"); print g[1]}')
check "menu opens to the left of a press on the left half" test $((menu_x + menu_w)) -le "$RIM_X"
menu_y=$(xdotool getwindowgeometry "$menu_id" | awk '/Position/{split($2, p, ","); print p[2]}')
check "menu opens at the height of the press" test "$menu_y" -ge $((RIM_Y - 2)) -a "$menu_y" -le $((RIM_Y + 2))
xdotool key Escape
t=0
while menu_open && [ $t -lt 30 ]; do sleep 0.1; t=$((t + 1)); done
check "Escape closes the menu" eval '! menu_open'
check "Escape that closes the menu does not end the program" kill -0 "$KIRELO_PID"

choose Down Right Down Return  # View > do not show the trails
check "trail hide writes PFlag=1" wait_ini Status PFlag 1
choose Down Right Return  # View > show the trails
check "trail show writes PFlag=0" wait_ini Status PFlag 0
choose Down Right Down Down Return  # View > in front of all others
check "topmost writes Window Z_Order=1" wait_ini Status "Window Z_Order" 1
choose Down Right Down Down Down Return  # View > normally
check "normal writes Window Z_Order=0" wait_ini Status "Window Z_Order" 0
choose Down Right Down Down Down Down Down Return  # View > no frame wait
check "wait off writes Wait ON=0" wait_ini Status "Wait ON" 0
choose Down Right Down Down Down Down Return  # View > frame wait
check "wait on writes Wait ON=1" wait_ini Status "Wait ON" 1
check "no background written by these commands" test "$(ini BackBitmapTexture FileName)" = "<none>"
cp "$WORK/kirelo.ini" "$E2E_ART/kirelo.ini"

choose Up Return  # the last item: Exit
wait_exit "$KIRELO_PID" 10
code=$EXIT_CODE
check "Exit from the menu ends with code 0 (got $code)" test "$code" = 0
log "passed"
