#!/usr/bin/env bash
# The rim: dragging it moves the window, a right click opens the context menu beside the window,
# Escape or a click elsewhere closes it, the tray icon's menu comes up at the pointer and closes
# on a click elsewhere or Escape, the trail, z-order and wait commands write kirelo.ini as they
# should, and Exit from the menu ends the program with code 0.
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

choose() {  # choose KEYS...: open the rim menu and walk it with the keys
    open_rim_menu || fail "the rim menu did not open"
    sleep 0.2
    xdotool key --delay 120 "$@"
    sleep 0.5
}

wait_ini() { wait_until 3 ini_is "$@"; }

open_rim_menu || fail "the rim menu did not open"
shot menu >/dev/null
read -r menu_x menu_y menu_w _ <<<"$(geometry "$(menu_windows | head -n1)")"
check "menu opens to the left of a press on the left half" test $((menu_x + menu_w)) -le "$RIM_X"
check "menu opens at the height of the press" test "$menu_y" -ge $((RIM_Y - 2)) -a "$menu_y" -le $((RIM_Y + 2))
# Menus close as Windows menus do: with Escape, and with a click anywhere else.
menu_closes() { wait_until "$1" not menu_up; }  # menu_closes SECONDS
xdotool key Escape
check "Escape closes the menu" menu_closes 3
check "Escape that closes the menu does not end the program" kill -0 "$KIRELO_PID"
open_rim_menu || fail "the rim menu did not open again"
click_at 1 $((SCREEN_W - 40)) $((SCREEN_H - 40))
check "a click on the desktop closes the menu" menu_closes 3
check "and changes nothing" test "$(ini Status PFlag)" = "<no file>"

# The tray icon's menu comes up at the pointer, on the side the system drops menus to, and above
# the pointer where the screen has room (Wine's tray window sits at the top, so there it is held
# at the screen's upper edge); a click elsewhere closes it, after a quick click or a held press.
tray_point || fail "no tray window"
tray_menu || fail "the tray menu did not open"
shot tray-menu >/dev/null
read -r menu_x menu_y menu_w menu_h <<<"$(geometry "$(menu_windows | head -n1)")"
log "tray menu at ($menu_x, $menu_y), $menu_w x $menu_h, for a press at ($TRAY_X, $TRAY_Y)"
check "the tray menu's side edge is at the pointer" \
    test "$menu_x" = "$TRAY_X" -o $((menu_x + menu_w)) = "$TRAY_X"
check "it ends at the pointer's height, or at the top when there is no room above" \
    test $((menu_y + menu_h)) = "$TRAY_Y" -o \( "$menu_y" = 0 -a "$menu_h" -gt "$TRAY_Y" \)
click_at 1 $((SCREEN_W - 40)) $((SCREEN_H - 40))
check "a click on the desktop closes the tray menu" menu_closes 3
check "the program runs on" kill -0 "$KIRELO_PID"
# A user holds the button a moment, and the tray window holds the pointer until it comes up.
tray_menu "" 0.4 || fail "the tray menu did not open on a held press"
click_at 1 $((SCREEN_W - 40)) $((SCREEN_H - 40))
check "a click on the desktop closes the menu of a held press" menu_closes 3
# Escape closes it too, though the keyboard focus stays on Wine's tray window (explorer's).
tray_menu || fail "the tray menu did not open again"
xdotool key Escape
check "Escape closes the tray menu" menu_closes 3
check "Escape that closes the tray menu does not end the program" kill -0 "$KIRELO_PID"

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
