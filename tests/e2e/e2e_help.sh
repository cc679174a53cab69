#!/usr/bin/env bash
# Help as a user on Linux meets it: "ヘルプを表示(&H)" hands the index page of the help folder
# beside KireloHelp.chm to the desktop's opener (a recording stand-in for xdg-open here), and no
# viewer window comes up; without the help files nothing is shown and the program goes on.
source "$(dirname "$0")/e2e_lib.sh" help "$@"

folder="$(dirname "$E2E_HELP")/KireloHelp"
[ -f "$folder/index.html" ] || fail "no help pages at $folder"
cp -r "$folder" "$WORK/KireloHelp"
opened="$E2E_ART/opened.txt"
mkdir -p "$E2E_ART/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s"\n' "$opened" >"$E2E_ART/bin/xdg-open"
chmod +x "$E2E_ART/bin/xdg-open"
export PATH="$E2E_ART/bin:$PATH"

# The rim menu's help item: the fifth item, the separators skipped.
choose_help() {
    open_rim_menu || fail "the rim menu did not open"
    xdotool key --delay 120 Down Down Down Down Down Return
}

start_kirelo
find_main 30 || fail "no magnifier"
choose_help
check "the opener is called within 10 s" wait_until 10 test -s "$opened"
log "opener got: $(cat "$opened")"
check "it gets the index page of the help folder" \
    test "$(cat "$opened")" = "file://$WORK/KireloHelp/index.html"
sleep 1
shot after-help >/dev/null
check "no viewer window of the program comes up" test -z "$(menu_windows)"
check "the program goes on" kill -0 "$KIRELO_PID"

# Without the help files: nothing opened, nothing shown, the program goes on.
rm -rf "$WORK/KireloHelp" "$WORK/KireloHelp.chm"
: >"$opened"
choose_help
sleep 3
shot no-help >/dev/null
check "nothing is handed to the opener without the pages" test ! -s "$opened"
check "no window comes up without the help files" test -z "$(menu_windows)"
check "the program goes on without the help files" kill -0 "$KIRELO_PID"
check "the magnifier is still shown" main_visible

end_with_escape "Escape ends with code 0"
log "passed"
