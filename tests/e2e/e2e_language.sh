#!/usr/bin/env bash
# Kirelo speaks its user's language: in English (en_US.UTF-8) and in Japanese (ja_JP.UTF-8) the
# rim menu shows exactly the expected items (pixel for pixel a menu made of them) and the box of a
# picture that is too small reads back, as wide text, exactly as expected. A Japanese UI on a
# Western system (code page 1252) shows its Japanese as glyphs, not as empty squares.
source "$(dirname "$0")/e2e_lib.sh" language "$@"

x86_64-w64-mingw32-gcc -O1 -o "$E2E_ART/readback.exe" "$E2E_DIR/readback.c" -luser32 -lshell32 ||
    fail "cannot build readback.exe"
cc -O1 -o "$E2E_ART/xdnd_drop" "$E2E_DIR/xdnd_drop.c" -lX11 || fail "cannot build the drop tool"
python3 "$E2E_DIR/make_bmp.py" "$WORK/small.bmp" 120 240 30 120 200

readback_box() {  # readback_box NAME: the caption and the text of the box on show, a line each
    rm -f "$E2E_ART/$1.txt"
    wine "$E2E_ART/readback.exe" box "$(windows_path "$E2E_ART/$1.txt")" >/dev/null 2>&1 </dev/null
    cat "$E2E_ART/$1.txt" 2>/dev/null
}

# The program's open menu against a menu made of the expected items, shown by readback.exe at
# the same place: the same size and the same pixels. Sets MENU_UNLIKE.
menu_reads() {  # menu_reads TAG ITEMS
    local mx my mw mh rx ry rw rh s ref
    read -r mx my mw mh <<<"$(geometry "$(menu_windows | head -n1)")"
    s=$(shot "menu-$1")
    xdotool key Escape
    wait_until 3 not menu_up
    wine "$E2E_ART/readback.exe" menu "$mx" "$my" "$2" >/dev/null 2>&1 </dev/null &
    PIDS+=($!)
    reference_up() { ref=$(xdotool search --onlyvisible --class readback.exe 2>/dev/null | head -n1); [ -n "$ref" ]; }
    wait_until 5 reference_up || return 1
    sleep 0.3
    read -r rx ry rw rh <<<"$(geometry "$ref")"
    log "[$1] menu ${mw}x$mh at ($mx, $my), expected ${rw}x$rh at ($rx, $ry)"
    # The faces inside the frames (the frame's outer column shows what lies beside the menu).
    MENU_UNLIKE=$($E2E_IMAGE unlike "$s" $((mx + 3)) $((my + 3)) "$(shot "expected-menu-$1")" \
        $((rx + 3)) $((ry + 3)) $((mw - 6)) $((mh - 6)))
    kill "${PIDS[-1]}" 2>/dev/null
    log "[$1] pixels unlike the expected menu: $MENU_UNLIKE"
    test "$mw $mh" = "$rw $rh" && test "$MENU_UNLIKE" = 0
}

# One run in a language: LANG_TAG names the screenshots; the rest are the expected texts.
run_in() {  # run_in TAG LOCALE EXPECTED_MENU BOX_CAPTION BOX_TEXT
    local tag=$1 box caption
    export KIRELO_WINE_LOCALE=$2
    start_kirelo
    find_main 30 || fail "[$tag] no magnifier"
    open_rim_menu || fail "[$tag] the rim menu did not open"
    sleep 0.3
    check "[$tag] the rim menu reads as expected" menu_reads "$tag" "$3"

    "$E2E_ART/xdnd_drop" "$MAIN" $((LENS_X + 100)) $((LENS_Y + 100)) "$WORK/small.bmp" ||
        fail "[$tag] the drop was not taken"
    wait_titled "$4" 20 || fail "[$tag] no box titled '$4' for a picture too narrow"
    box=$WIN
    check "[$tag] the box is painted" box_painted "$box" 5
    caption=$(readback_box "box-$tag")
    log "[$tag] box read back: $(echo "$caption" | tr '\n' '|')"
    check "[$tag] the box reads as expected" test "$caption" = "$4"$'\n'"$5"
    shot "box-$tag" >/dev/null
    close_box "$box" "$4" || fail "[$tag] the box did not close"
    end_with_escape "[$tag] Escape ends with code 0"
}

run_in en en_US.UTF-8 \
    "&View>|&Size>|&Back to dry leaves|&Center the window||&Help||E&xit" \
    "Picture too small" "That picture is too narrow."
run_in ja ja_JP.UTF-8 \
    "表示(&V)>|大きさ(&S)>|背景を標準に戻す(&B)|ウインドウを中央に表示(&C)||ヘルプを表示(&H)||終了(&X)" \
    "警告" "ビットマップの幅が小さすぎます。"

# A Japanese UI on a Western system: the box's Japanese text is drawn in glyphs, no empty squares.
export KIRELO_WINE_MESSAGES=ja_JP.UTF-8  # read by the harness's wine wrapper
export KIRELO_WINE_LOCALE=en_US.UTF-8
start_kirelo
find_main 30 || fail "[ja-on-1252] no magnifier"
"$E2E_ART/xdnd_drop" "$MAIN" $((LENS_X + 100)) $((LENS_Y + 100)) "$WORK/small.bmp" ||
    fail "[ja-on-1252] the drop was not taken"
wait_titled "警告" 20 || fail "[ja-on-1252] no Japanese box"
box=$WIN
check "[ja-on-1252] the box is painted" box_painted "$box" 5
s=$(shot box-ja-on-1252)
geo=$(xdotool getwindowgeometry "$box")
read -r bx by <<<"$(echo "$geo" | awk '/Position/{split($2, p, ","); print p[1], p[2]}')"
read -r bw bh <<<"$(echo "$geo" | awk '/Geometry/{split($2, g, "x"); print g[1], g[2]}')"
# The text row: right of the icon, above the button.
read -r shapes empty <<<"$($E2E_IMAGE glyphs "$s" $((bx + 50)) $((by + 4)) $((bw - 54)) $((bh - 44)))"
log "[ja-on-1252] text shapes $shapes, empty squares $empty"
check "[ja-on-1252] the Japanese text is drawn" test "$shapes" -ge 16
check "[ja-on-1252] no empty squares" test "$empty" = 0
close_box "$box" "警告" || fail "[ja-on-1252] the box did not close"
end_with_escape "[ja-on-1252] Escape ends with code 0"
log "passed"
