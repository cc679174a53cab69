#!/usr/bin/env bash
# Dropped pictures as a user meets them, dragged from a file manager (XDND) onto the magnifier:
# a BMP becomes the field at once and is remembered in kirelo.ini for the next start, an OS/2
# bitmap as well as a Windows one; a 6000 x 4000 photo comes scaled down to the size limit; a file
# cut short, a file that is not a bitmap and a picture narrower than 200 pixels are refused with
# their warnings and the field and the settings stay; "back to the standard background" brings the dry leaves back; Exit from the tray
# menu while a warning is open ends the program cleanly.
source "$(dirname "$0")/e2e_lib.sh" drop "$@"

cc -O1 -o "$E2E_ART/xdnd_drop" "$E2E_DIR/xdnd_drop.c" -lX11 || fail "cannot build the drop tool"
DROP="$E2E_ART/xdnd_drop"
python3 "$E2E_DIR/make_bmp.py" "$WORK/lagoon.bmp" 320 240 30 120 200
python3 "$E2E_DIR/make_bmp.py" "$WORK/narrow.bmp" 150 300 200 40 40
python3 "$E2E_DIR/make_bmp.py" "$WORK/tiny.bmp" 150 150 40 200 40
python3 "$E2E_DIR/make_bmp.py" "$WORK/ember.bmp" 320 240 200 60 40 os2
python3 "$E2E_DIR/make_bmp.py" "$WORK/photo.bmp" 6000 4000 200 60 40
python3 "$E2E_DIR/make_bmp.py" "$WORK/whole.bmp" 640 480 30 120 200
head -c 5000 "$WORK/whole.bmp" >"$WORK/cut.bmp"
printf 'not a picture\r\n' >"$WORK/notes.txt"

# The same as lagoon_share for the OS/2 picture's two colours.
ember_share() { $E2E_IMAGE colour "$1" $((LENS_X + 40)) $((LENS_Y + 40)) 120 120 206 66 46 10; }

drop_file() {  # drop_file PATH: onto the middle of the lens
    "$DROP" "$MAIN" $((LENS_X + 100)) $((LENS_Y + 100)) "$1" 2>>"$E2E_ART/xdnd.log"
}

start_kirelo
find_main 30 || fail "no magnifier"
check "the leaves show at first" test "$(echo "$(lagoon_share "$(shot leaves)") < 0.05" | bc)" = 1

check "the drop of a BMP is accepted" drop_file "$WORK/lagoon.bmp"
sleep 1
share=$(lagoon_share "$(shot lagoon)")
log "lens share in the dropped picture's colours: $share"
check "the dropped picture is the field" test "$(echo "$share > 0.5" | bc)" = 1
check "its name is remembered" test "$(ini BackBitmapTexture FileName)" = "$(windows_path "$WORK/lagoon.bmp")"

# An OS/2 1.x bitmap (8 bits, 12-byte header, 3-byte colours) is taken the same way.
check "the drop of an OS/2 bitmap is accepted" drop_file "$WORK/ember.bmp"
check "the OS/2 picture is the field" wait_share ember_share ember
check "its name is remembered" test "$(ini BackBitmapTexture FileName)" = "$(windows_path "$WORK/ember.bmp")"
check "the Windows picture comes back on its drop" drop_file "$WORK/lagoon.bmp"
check "the Windows picture is the field again" wait_share lagoon_share lagoon-again

# A photo of 6000 x 4000 (past the 4096 limit) is no damaged file: scaled down, it is the field,
# its own colours averaged over the ripple, and its name is remembered.
check "the drop of a 6000 x 4000 picture is accepted" drop_file "$WORK/photo.bmp"
check "the large picture is the field" wait_share ember_share photo
check "its name is remembered" test "$(ini BackBitmapTexture FileName)" = "$(windows_path "$WORK/photo.bmp")"
check "no box came up for it" test -z "$(titled "ビットマップデータエラー")"
# The first 5000 bytes of a 640 x 480 picture: refused as damaged, the field and the settings stay.
drop_file "$WORK/cut.bmp"
check "a file cut short is refused with the damaged-data box" expect_box "ビットマップデータエラー" refused-cut
check "the field stays after the cut file" wait_share ember_share after-cut
check "the remembered name stays after the cut file" \
    test "$(ini BackBitmapTexture FileName)" = "$(windows_path "$WORK/photo.bmp")"
check "the Windows picture comes back once more" drop_file "$WORK/lagoon.bmp"
check "the Windows picture is the field once more" wait_share lagoon_share lagoon-once-more

drop_file "$WORK/notes.txt"
check "a file that is no bitmap is refused with its warning" expect_box "ファイルタイプエラー" refused-text
check "the picture stays after the refusal" \
    test "$(echo "$(lagoon_share "$(shot after-text)") > 0.5" | bc)" = 1

drop_file "$WORK/narrow.bmp"
check "a picture narrower than 200 pixels is refused with its warning" expect_box "警告" refused-narrow
check "the picture stays after the narrow one" \
    test "$(echo "$(lagoon_share "$(shot after-narrow)") > 0.5" | bc)" = 1
check "the remembered name is still the good picture" \
    test "$(ini BackBitmapTexture FileName)" = "$(windows_path "$WORK/lagoon.bmp")"

# A 150 x 150 picture: a painted warning, and once it is closed the lens goes on living.
drop_file "$WORK/tiny.bmp"
check "a 150 x 150 picture is refused with a painted warning" expect_box "警告" refused-tiny
check "the lens goes on after the warning" lens_alive 5

restart_shows_lagoon

# Context menu on the rim, third item: back to the standard background.
open_rim_menu || fail "the rim menu did not open"
xdotool key --delay 120 Down Down Down Return
sleep 1.5
check "the standard background is written at once" test "$(ini BackBitmapTexture FileName)" = "Resource"
check "the leaves are back" test "$(echo "$(lagoon_share "$(shot leaves-again)") < 0.05" | bc)" = 1

# Exit from the tray menu while the simulation waits in one of its message boxes: the program
# still ends, cleanly, with code 0.
drop_file "$WORK/notes.txt"
wait_titled "ファイルタイプエラー" 10 || fail "no warning for the second text drop"
tray_point || fail "no tray window"
tray_menu "ファイルタイプエラー" || fail "the tray menu did not open"
sleep 0.3
shot tray-menu >/dev/null
# The keys stay with the open warning: pick the last item, Exit, with the pointer.
menu=$(menu_windows "ファイルタイプエラー" | tail -n1)
read -r mx my mw mh <<<"$(geometry "$menu")"
t_exit=$(date +%s.%N)
click_at 1 $((mx + mw / 3)) $((my + mh - 12))
wait_exit "$KIRELO_PID" 15
took=$(seconds_since "$t_exit")
log "the program ended ${took}s after the click on Exit"
check "Exit from the tray during the warning ends with code 0 (got $EXIT_CODE)" test "$EXIT_CODE" = 0
# The program itself ends within a few frames (the message-level tests time it); here Wine adds
# its wait for a window manager, up to two seconds for each active window that goes (the box,
# the menu, the magnifier), which the test display does not have.
check "and without hanging" test "$(echo "$took < 10" | bc)" = 1
log "passed"
