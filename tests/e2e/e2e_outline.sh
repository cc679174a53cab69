#!/usr/bin/env bash
# The outside of the magnifier's outline on a light desktop shows the desktop. Judged from the
# screen's own pixels (shot): xwd -root paints black there for any shaped window with a colormap
# of its own, as a plain Xlib window shows (outline_repro.c), and is kept only to show that.
source "$(dirname "$0")/e2e_lib.sh" outline "$@"

cc -O1 -o "$E2E_ART/outline_repro" "$E2E_DIR/outline_repro.c" -lX11 -lXext ||
    fail "cannot build outline_repro"
REPRO="$E2E_ART/outline_repro"
light="$DESKTOP_PIXEL"  # the library's light desktop is up already
rgb() { $E2E_IMAGE pixel "$1" "$2" "$3"; }
desktop_up() { [ "$(rgb "$(shot backdrop)" 5 5)" = "$light" ]; }
check "the light desktop is up" wait_until 3 desktop_up

# A plain X window with its own colormap: the screen shows the desktop outside its shape.
"$REPRO" shaped own &
pid=$!
sleep 1.5
screen=$(rgb "$(shot repro-screen)" 505 105)
inside=$(rgb "$E2E_ART/repro-screen.png" 600 200)
xwd -root -silent | convert xwd:- "$E2E_ART/repro-xwd.png"
xwd_view=$(rgb "$E2E_ART/repro-xwd.png" 505 105)
wait "$pid"
log "plain X shaped window with its own colormap: screen $screen, xwd $xwd_view, inside $inside"
check "the screen shows the desktop outside a plain shaped window" test "$screen" = "$light"
check "and the window inside its shape" test "$inside" = "200 30 30"

start_kirelo
find_main 30 || fail "no magnifier"
id=$(printf '0x%x' "$MAIN")
check "the magnifier's X window has its outline as shape" \
    test "$(xwininfo -shape -id "$id" | grep -c "Window shape extents")" = 1
s=$(shot magnifier)
for spot in "2 2" "296 2" "2 356" "296 356"; do
    read -r cx cy <<<"$spot"
    check "the desktop shows at window ($cx, $cy)" \
        test "$(rgb "$s" $((MAIN_X + cx)) $((MAIN_Y + cy)))" = "$light"
done
lens=$($E2E_IMAGE colour "$s" $((LENS_X + 40)) $((LENS_Y + 40)) 120 120 216 208 192 6)
check "the lens shows the field, not the desktop (desktop share $lens)" \
    test "$(echo "$lens < 0.05" | bc)" = 1
end_with_escape "Escape ends with code 0"
log "passed"
