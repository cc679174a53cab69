#!/usr/bin/env bash
# The run command: installs what is missing, builds kirelo.exe and its help file, and starts the
# toy under Wine from build/run (its working directory: kirelo.ini, KireloHelp.chm and the help
# pages for the browser, KireloHelp/, live there).
# Without an X display it starts a virtual one, lets the toy play for a while, saves a screenshot
# and ends it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" windows
run="$root/build/run"
mkdir -p "$run"
cp "$root/build/windows/shell/kirelo.exe" "$run/"
# The help in Japanese and in English, each also as plain files: under Wine the help opens in the
# desktop's browser from here.
for help in KireloHelp KireloHelpEn; do
    [ -f "$root/build/windows/$help.chm" ] && cp "$root/build/windows/$help.chm" "$run/"
    if [ -d "$root/build/windows/$help" ]; then
        rm -rf "${run:?}/$help"
        cp -r "$root/build/windows/$help" "$run/"
    fi
done
cd "$run"
export WINEDEBUG=-all
# The program speaks Japanese in a Japanese locale and English in any other: KIRELO_LOCALE picks
# Wine's locale, ja_JP.UTF-8 (the default) or, say, en_US.UTF-8 or your own $LANG. Only Wine gets
# it. Japanese glyphs are linked to the UI fonts of the prefix, so they show under any locale.
loc=${KIRELO_LOCALE:-ja_JP.UTF-8}
jp="LC_ALL=$loc LANG=$loc"
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-run}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -n "${DISPLAY:-}" ]; then
    env $jp bash "$root/scripts/wine-fontlink.sh"
    echo "run: starting kirelo.exe in $run"
    exec env $jp wine ./kirelo.exe
fi
state="$root/build/run-display"
bash "$root/scripts/wine-harness.sh" start "$state"
export DISPLAY; DISPLAY=$(cat "$state/display")
trap 'bash "$root/scripts/wine-harness.sh" stop "$state" >/dev/null' EXIT
WINEPREFIX="$state/prefix"; export WINEPREFIX
# The virtual display has no window manager for Wine to wait for.
wine reg add 'HKCU\Software\Wine\AppDefaults\kirelo.exe\X11 Driver' /v Managed /d N /f \
    >/dev/null 2>&1 || true
echo "run: no display found; kirelo.exe plays in virtual display $DISPLAY for ${KIRELO_RUN_SECONDS:-20} seconds"
env $jp wine ./kirelo.exe &
pid=$!
sleep "${KIRELO_RUN_SECONDS:-20}"
shot="$run/kirelo-screenshot.png"
# The screen's own pixels (xwd -root draws Wine's shaped windows with black around them).
convert "xwd:$state/fb/Xvfb_screen0" "$shot" 2>/dev/null || import -window root "$shot"
echo "run: screenshot saved to $shot"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
