#!/usr/bin/env bash
# The run command: installs what is missing, builds kirelo.exe and its help file, and starts the
# toy under Wine from build/run (its working directory: kirelo.ini and KireloHelp.chm live there).
# Without an X display it starts a virtual one, lets the toy play for a while, saves a screenshot
# and ends it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" windows
run="$root/build/run"
mkdir -p "$run"
cp "$root/build/windows/shell/kirelo.exe" "$run/"
[ -f "$root/build/windows/KireloHelp.chm" ] && cp "$root/build/windows/KireloHelp.chm" "$run/"
cd "$run"
export WINEDEBUG=-all
# LC_ALL=ja_JP.UTF-8 makes Wine use code page 932; only Wine gets it (bash would warn about a
# locale the machine has not generated).
jp="LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8"
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-run}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -n "${DISPLAY:-}" ]; then
    echo "run: starting kirelo.exe in $run"
    exec env $jp wine ./kirelo.exe
fi
state="$root/build/run-display"
bash "$root/scripts/wine-harness.sh" start "$state"
export DISPLAY; DISPLAY=$(cat "$state/display")
trap 'bash "$root/scripts/wine-harness.sh" stop "$state" >/dev/null' EXIT
WINEPREFIX="$state/prefix"; export WINEPREFIX
echo "run: no display found; kirelo.exe plays in virtual display $DISPLAY for 20 seconds"
env $jp wine ./kirelo.exe &
pid=$!
sleep "${KIRELO_RUN_SECONDS:-20}"
shot="$run/kirelo-screenshot.png"
xwd -root -silent | convert xwd:- "$shot"
echo "run: screenshot saved to $shot"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
