#!/usr/bin/env bash
# The package as a user gets it: scripts/package.sh makes the zip from this build, it unzips into
# a fresh folder holding the program, the help, the browser pages and the read-me, the program
# starts from there and keeps its settings file in that folder.
source "$(dirname "$0")/e2e_lib.sh" package "$@"

build=$(cd "$(dirname "$E2E_HELP")" && pwd)
bash "$E2E_DIR/../../scripts/package.sh" --from "$build" --out "$E2E_ART/dist" \
    >"$E2E_ART/package.log" 2>&1 || { cat "$E2E_ART/package.log"; fail "package.sh failed"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zipfile="$E2E_ART/dist/kirelo-$version-win64.zip"
check "the zip is named with the version ($version)" test -f "$zipfile"

unpacked="$E2E_ART/unpacked"
mkdir -p "$unpacked"
unzip -q "$zipfile" -d "$unpacked" || fail "the zip does not unpack"
WORK="$unpacked/kirelo-$version-win64"
for f in kirelo.exe KireloHelp.chm KireloHelp/index.html KireloHelp/style.css KireloHelpEn.chm \
    KireloHelpEn/index.html KireloHelpEn/style.css README.txt; do
    check "the package holds $f" test -s "$WORK/$f"
done
check "the packed program is the built one" cmp -s "$WORK/kirelo.exe" "$E2E_EXE"
check "the read-me is in Japanese" grep -q "遊び方" "$WORK/README.txt"
check "the read-me is in English" grep -q "How to play" "$WORK/README.txt"
check "the read-me says where the settings go" grep -q "kirelo.ini" "$WORK/README.txt"
check "the read-me has Windows line ends" grep -q $'\r$' "$WORK/README.txt"
check "no settings file before the first start" test ! -e "$WORK/kirelo.ini"

start_kirelo
find_main 30 || fail "no magnifier from the unpacked folder"
# "Back to the standard background" writes the settings file at once.
open_rim_menu || fail "the rim menu did not open"
xdotool key --delay 120 Down Down Down Return
check "the settings file is kept in the unpacked folder" wait_until 3 ini_is BackBitmapTexture FileName Resource
end_with_escape "Escape ends with code 0"
log "passed"
