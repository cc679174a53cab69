#!/usr/bin/env bash
# The program on a Western system (Wine in en_US.UTF-8: code page 1252) as a user there meets it:
# the start-up warning and the reset notice read in English, a picture whose name holds Japanese
# characters can be dropped and is remembered, and a second start is still refused.
source "$(dirname "$0")/e2e_lib.sh" codepage "$@"
export KIRELO_WINE_LOCALE=en_US.UTF-8  # read by the harness's wine wrapper

# What Wine's system code page is in this locale, asked of Wine itself.
printf '#include <windows.h>\n#include <stdio.h>\nint main(void) { printf("%%u", GetACP()); return 0; }\n' \
    >"$E2E_ART/acp.c"
x86_64-w64-mingw32-gcc -o "$E2E_ART/acp.exe" "$E2E_ART/acp.c" || fail "cannot build acp.exe"
wine "$E2E_ART/acp.exe" >"$E2E_ART/acp.txt" 2>&1 </dev/null
log "system code page: $(cat "$E2E_ART/acp.txt")"
check "Wine runs with code page 1252" test "$(cat "$E2E_ART/acp.txt")" = 1252

cc -O1 -o "$E2E_ART/xdnd_drop" "$E2E_DIR/xdnd_drop.c" -lX11 || fail "cannot build the drop tool"
picture="$WORK/蟻の庭.bmp"
python3 "$E2E_DIR/make_bmp.py" "$picture" 320 240 30 120 200
printf 'not a picture\r\n' >"$WORK/notes.txt"
write_ini "[BackBitmapTexture]" "FileName=notes.txt"

start_kirelo
check "the start-up warning has its English caption, is painted and closes" \
    expect_box "Not a picture" warning 25
check "so has the reset notice" expect_box "Background reset" reset-notice
check "the reset is written to the settings file" test "$(ini BackBitmapTexture FileName)" = Resource
find_main 30 || fail "no magnifier after the warning"

check "the leaves show after the refused start-up picture" \
    test "$(echo "$(lagoon_share "$(shot leaves)") < 0.05" | bc)" = 1
check "the drop of a Japanese-named BMP is accepted" \
    "$E2E_ART/xdnd_drop" "$MAIN" $((LENS_X + 100)) $((LENS_Y + 100)) "$picture"
check "the Japanese-named picture is the field" wait_share lagoon_share dropped
remembered=$(ini BackBitmapTexture FileName)
log "remembered as: $remembered"
check "a name the settings file can hold is remembered" \
    test "$remembered" != "Resource" -a "$remembered" != "<none>"
check "the remembered name has no lost characters" eval '! echo "$remembered" | grep -q "?"'

second_start_refused
restart_shows_lagoon
end_with_escape "Escape ends the second run with code 0"
log "passed"
