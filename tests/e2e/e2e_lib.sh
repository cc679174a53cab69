#!/usr/bin/env bash
# Shared steps of the end-to-end scripts: a fresh working directory with kirelo.exe (and the help
# file) copied in, starting and ending the program by process id, finding its windows on the
# virtual display, pointer and keys through xdotool, screenshots kept under the build tree.
# Usage from a script:  source e2e_lib.sh NAME KIRELO_EXE HELP_FILE ARTIFACT_ROOT [BENCH_EXE]
# BENCH_EXE is the program with the start-up hook that sets when the stray ant comes out
# (hold_stray_ant).
set -u

E2E_NAME=$1
E2E_EXE=$2
E2E_HELP=$3
E2E_BENCH_EXE=${5:-}
mkdir -p "$4"
E2E_ART="$(cd "$4" && pwd)/$E2E_NAME"
E2E_DIR="$(dirname "${BASH_SOURCE[0]}")"
E2E_IMAGE="python3 $E2E_DIR/e2e_image.py"
rm -rf "$E2E_ART"
mkdir -p "$E2E_ART"
WORK=$(mktemp -d "$E2E_ART/work.XXXXXX")
cp "$E2E_EXE" "$WORK/kirelo.exe"
[ -f "$E2E_HELP" ] && cp "$E2E_HELP" "$WORK/KireloHelp.chm"
[ -f "${E2E_HELP%.chm}En.chm" ] && cp "${E2E_HELP%.chm}En.chm" "$WORK/KireloHelpEn.chm"
PIDS=()
# The whole-pixel scale the program is expected to show at (its windows SCALE times as large); a
# script that changes the display's DPI sets it.
SCALE=1
SCREEN_W=$(xdpyinfo | awk '/dimensions:/{split($2, d, "x"); print d[1]}')
SCREEN_H=$(xdpyinfo | awk '/dimensions:/{split($2, d, "x"); print d[2]}')

log() { echo "[$E2E_NAME $(date +%T)] $*"; }

# The desktop colour of every end-to-end test: light, so that anything the program leaves black
# (an unpainted box, a shape drawn as a rectangle) shows in the screenshots.
DESKTOP_RGB=d8d0c0
DESKTOP_PIXEL="216 208 192"

cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do
        if kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null
            for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
            kill -9 "$pid" 2>/dev/null
        fi
    done
    xdotool mouseup 1 2>/dev/null
    xdotool mouseup 3 2>/dev/null
    # A script that brings servers of its own stops them last.
    if declare -F e2e_stop_own >/dev/null; then e2e_stop_own; fi
}
trap cleanup EXIT

# Starts the light desktop: one full-screen window kept below all others. Waits until it is on
# the screen (its pixels read back in the framebuffer).
start_desktop() {
    cc -O1 -o "$E2E_ART/backdrop" "$E2E_DIR/backdrop.c" -lX11 || { echo "cannot build backdrop"; exit 1; }
    local attempt t
    for attempt in 1 2 3; do
        "$E2E_ART/backdrop" "$DESKTOP_RGB" >/dev/null 2>>"$E2E_ART/backdrop.log" &
        PIDS+=($!)
        for t in $(seq 1 50); do
            [ "$(screen_pixel 5 5)" = "$DESKTOP_PIXEL" ] && return 0
            kill -0 "${PIDS[-1]}" 2>/dev/null || break
            sleep 0.1
        done
    done
    echo "the light desktop did not come up"
    exit 1
}

fail() {
    log "FAIL: $*"
    shot "failure"
    exit 1
}

check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then log "ok: $what"; else fail "$what"; fi
}

shot() {  # shot NAME: the whole screen as $E2E_ART/NAME.png
    # The virtual screen's framebuffer is read directly. xwd -root is not used: with Wine's windows
    # (their own colormap) it takes its slow path that reads every top-level window on its own,
    # ignoring window shapes and what covers a window, and shows a shaped window's outside and a
    # message box over it as black although the screen shows them right.
    local attempt
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        if [ -n "${KIRELO_SCREEN_FILE:-}" ] && [ -f "$KIRELO_SCREEN_FILE" ]; then
            convert "xwd:$KIRELO_SCREEN_FILE" "$E2E_ART/$1.png" 2>/dev/null && break
        else
            import -silent -window root "$E2E_ART/$1.png" 2>/dev/null && break
        fi
        sleep 0.05
    done
    echo "$E2E_ART/$1.png"
}

# The test display is a desktop with a window manager (openbox, started with the display), and the
# program's windows are managed there as on a user's desktop. A prefix kept from an older run may
# still hold the setting that once left them unmanaged.
wine reg delete "HKCU\\Software\\Wine\\AppDefaults\\kirelo.exe\\X11 Driver" /v Managed /f \
    >/dev/null 2>&1

# The program started next keeps its stray ant in for the whole test: the build with the
# start-up hook (the same program otherwise) takes kirelo.exe's place in the working directory.
hold_stray_ant() {
    [ -f "$E2E_BENCH_EXE" ] || fail "no program with the stray ant's start-up hook: $E2E_BENCH_EXE"
    cp "$E2E_BENCH_EXE" "$WORK/kirelo.exe"
    export KIRELO_BENCH_STRAY_MS=3600000
}

# Starts kirelo.exe in the working directory; KIRELO_PID is its process.
start_kirelo() {
    (cd "$WORK" && exec wine ./kirelo.exe >>"$E2E_ART/wine.log" 2>&1) &
    KIRELO_PID=$!
    PIDS+=("$KIRELO_PID")
    KIRELO_START=$(date +%s.%N)
    SPLASH_SEEN=0
}

seconds_since() { echo "$(date +%s.%N) - $1" | bc; }

# Asks COMMAND every tenth of a second for up to SECONDS; true as soon as it holds.
wait_until() {  # wait_until SECONDS COMMAND...
    local t=0 tenths=$(($1 * 10))
    shift
    until "$@"; do
        [ $t -ge $tenths ] && return 1
        sleep 0.1
        t=$((t + 1))
    done
}
not() { ! "$@"; }

# Waits up to SECONDS for the program to end; EXIT_CODE is its exit code, or "running". (Not in
# a command substitution: only this shell can wait for its own children.)
wait_exit() {
    wait_until "$2" not kill -0 "$1" 2>/dev/null
    if kill -0 "$1" 2>/dev/null; then EXIT_CODE=running; return; fi
    wait "$1"
    EXIT_CODE=$?
}

# "x y w h" of a window: its absolute upper-left corner on the screen and its size, from xwininfo
# (the window itself, inside any frame the manager puts round it; xdotool getwindowgeometry adds
# the frame's offset a second time). Nothing when the window is gone.
geometry() {  # geometry WINDOW
    xwininfo -id "$1" 2>/dev/null | awk '
        /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
        /^  Width:/ { w = $2 } /^  Height:/ { h = $2 }
        END { if (w != "") print x, y, w, h }'
}

# The absolute top-left corner of a window, as the X server has it: "X Y".
corner() {  # corner WINDOW
    geometry "$1" | awk '{ print $1, $2 }'
}

# Visible windows of kirelo.exe with the given size: "id x y" per line.
windows_of_size() {
    local id x y w h
    for id in $(xdotool search --onlyvisible --class kirelo.exe 2>/dev/null); do
        read -r x y w h <<<"$(geometry "$id")"
        if [ "${w:-}" = "$1" ] && [ "${h:-}" = "$2" ]; then
            echo "$id $x $y"
        fi
    done
}

# Visible windows of the program other than the magnifier, the stray ant (8 x 8, or its 16 x 16
# heart: it may come out at any time) and windows titled TITLE: the open menus.
menu_windows() {  # menu_windows [TITLE]
    local id x y w h
    for id in $(xdotool search --onlyvisible --class kirelo.exe 2>/dev/null); do
        [ "$id" = "$MAIN" ] && continue
        [ -n "${1:-}" ] && [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && continue
        read -r x y w h <<<"$(geometry "$id")"
        [ -z "${w:-}" ] && continue
        [ "$w $h" = "8 8" ] || [ "$w $h" = "16 16" ] && continue
        echo "$id"
    done
}

# True when a visible window of W x H is up; sets WIN, WIN_X, WIN_Y to the first.
shown_of_size() {  # shown_of_size W H
    local found
    found=$(windows_of_size "$1" "$2" | head -n1)
    [ -n "$found" ] && read -r WIN WIN_X WIN_Y <<<"$found"
}
size_shown() { [ -n "$(windows_of_size "$1" "$2")" ]; }  # size_shown W H, changing nothing

# Waits up to SECONDS for a visible window of WxH; sets WIN, WIN_X, WIN_Y.
wait_window() { wait_until "$3" shown_of_size "$1" "$2"; }

# Waits up to SECONDS for a visible window whose title is NAME; sets WIN.
wait_titled() { wait_until "$2" titled_set "$1"; }
titled_set() { WIN=$(titled "$1"); [ -n "$WIN" ]; }
titled_shown() { [ -n "$(titled "$1")" ]; }

# The first visible window titled NAME, compared as bytes: xdotool's own name search goes by the
# locale and misses the Japanese titles of the program's message boxes.
titled() {
    local id
    for id in $(xdotool search --onlyvisible --name "" 2>/dev/null); do
        if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ]; then
            echo "$id"
            return 0
        fi
    done
}

main_visible() { size_shown $((300 * SCALE)) $((360 * SCALE)); }

# Waits up to SECONDS for the magnifier to leave the screen; true when it has.
wait_hidden() { wait_until "$1" not main_visible; }  # wait_hidden SECONDS

# A menu of the program is open (windows titled TITLE not counted).
menu_up() { [ -n "$(menu_windows "${1:-}")" ]; }  # menu_up [TITLE]

# The program's icon, the first and only one in Wine's tray window: sets TRAY_X, TRAY_Y (a screen
# point on it).
tray_point() {
    wait_titled "Wine System Tray" 5 || return 1
    read -r TRAY_X TRAY_Y _ <<<"$(geometry "$WIN")"
    TRAY_X=$((TRAY_X + 10))
    TRAY_Y=$((TRAY_Y + 10))
}

# Opens the tray icon's menu with a right click on the icon, the button held HOLD seconds (0: a
# quick click); true when a menu other than one titled TITLE is up within 3 s. Under the window
# manager a first right click on Wine's tray window now and then opens nothing (the log tells); a
# user clicks once more, and so does this.
tray_menu() {  # tray_menu [TITLE] [HOLD]
    local attempt
    for attempt in 1 2; do
        xdotool mousemove "$TRAY_X" "$TRAY_Y"
        sleep 0.2
        xdotool mousedown 3
        sleep "${2:-0}"
        xdotool mouseup 3
        wait_until 3 menu_up "${1:-}" && return 0
        log "no tray menu after right click $attempt"
    done
    return 1
}

# A double click at window point (X, Y) of the magnifier, as a user makes it; true when the
# magnifier has gone within 3 s.
double_click_hides() {  # double_click_hides X Y
    xdotool mousemove $((MAIN_X + $1)) $((MAIN_Y + $2))
    sleep 0.2
    xdotool click --repeat 2 --delay 80 1
    wait_hidden 3
}

# The main window on the screen: sets MAIN, MAIN_X, MAIN_Y, LENS_X, LENS_Y (lens top-left, on the
# screen).
find_main() {
    local secs=${1:-15} t=0
    # Only a glass that stays up after the splash has gone counts.
    local splash=$((100 * SCALE))
    [ "${SPLASH_SEEN:-0}" = 1 ] || { wait_window "$splash" "$splash" "$secs" && SPLASH_SEEN=1; }
    while [ "$t" -lt $((secs * 10)) ]; do
        if [ -z "$(windows_of_size "$splash" "$splash")" ] && main_visible; then
            sleep 0.5
            [ -z "$(windows_of_size "$splash" "$splash")" ] && main_visible && break
        fi
        sleep 0.1
        t=$((t + 1))
    done
    wait_window $((300 * SCALE)) $((360 * SCALE)) 1 || return 1
    MAIN=$WIN
    MAIN_X=$WIN_X
    MAIN_Y=$WIN_Y
    LENS_X=$((MAIN_X + 20 * SCALE))
    LENS_Y=$((MAIN_Y + 20 * SCALE))
    [ "${READY_PID:-}" = "$KIRELO_PID" ] || glass_takes_clicks || return 1
}

# A screen point on the magnifier's rim, left of the lens top (x <= 150 in the window).
rim_point() { RIM_X=$((MAIN_X + 120 * SCALE)); RIM_Y=$((MAIN_Y + 8 * SCALE)); }

# A right click on the rim; true when the rim menu is up within 3 s.
open_rim_menu() {
    rim_point
    click_at 3 "$RIM_X" "$RIM_Y"
    wait_until 3 menu_up
}

# Under the window manager the first click on a glass that has just come up now and then reaches
# nothing (Wine has not yet taken in where the manager put the window; the log tells). Once per
# program: the rim menu is opened until it shows (a few tries), then closed with Escape.
glass_takes_clicks() {
    local attempt
    for attempt in 1 2 3 4; do
        if open_rim_menu; then
            xdotool key Escape
            READY_PID=$KIRELO_PID
            wait_until 3 not menu_up
            return
        fi
        log "readiness: no rim menu after right click $attempt"
        probe_glass "readiness-$attempt"
        # Wine under a reparenting manager on a busy machine now and then keeps the glass's
        # place as the manager's frame had it while mapping it, (0, 0), though X shows it where
        # the program put it; its hit-testing then gives the rim's clicks to the desktop. A
        # configure request for the place X already has makes the manager confirm it, and Wine
        # takes it in.
        xdotool windowmove "$MAIN" "$MAIN_X" "$MAIN_Y"
    done
    return 1
}

# What Wine and X each believe about the glass, into the log: Wine's own view from inside the
# prefix (foreground thread, capture, the window at the rim point, the glass's rectangle), X's
# from xwininfo and the focus.
probe_glass() {  # probe_glass NAME
    local out="$E2E_ART/probe-$1.txt"
    if [ ! -f "$E2E_ART/wine_probe.exe" ]; then
        x86_64-w64-mingw32-gcc -O1 -o "$E2E_ART/wine_probe.exe" "$E2E_DIR/wine_probe.c" ||
            { log "cannot build wine_probe"; return 0; }
    fi
    {
        timeout 20 wine "$E2E_ART/wine_probe.exe" "$RIM_X" "$RIM_Y" 2>/dev/null
        echo "--- xwininfo of the glass $MAIN"
        xwininfo -id "$MAIN" 2>&1 | grep -E 'Absolute|Relative|Width|Height|Map State'
        echo "--- X focus: $(xdotool getwindowfocus 2>&1) active: $(xdotool getactivewindow 2>&1)"
        xwininfo -root -tree 2>/dev/null | grep -E 'kirelo|Wine|explorer' | head -20
    } >"$out" 2>&1
    sed 's/^/    /' "$out"
}

# Presses, drags and releases with pauses between: Wine reads the pointer in its own time, and a
# press that arrives together with the move before it lands where the pointer was.
drag() {  # drag BUTTON X Y DX DY STEPS: press at (X, Y), move by (DX, DY) STEPS times, release
    local button=$1 x=$2 y=$3 dx=$4 dy=$5 steps=$6 i
    xdotool mousemove "$x" "$y"
    sleep 0.2
    xdotool mousedown "$button"
    sleep 0.2
    for ((i = 0; i < steps; i++)); do xdotool mousemove_relative -- "$dx" "$dy"; sleep 0.08; done
    sleep 0.2
    xdotool mouseup "$button"
    sleep 0.2
}

# A flick as a user throws with the pointer: press at (X, Y), a one-pixel move that starts the
# throw's clock, then at once the long move and the release, so that it is fast whatever the load.
flick() {  # flick X Y DX
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool mousedown 1
    sleep 0.2
    xdotool mousemove_relative -- "$(($3 > 0 ? 1 : -1))" 0
    sleep 0.05
    xdotool mousemove_relative -- "$3" 0 mouseup 1
}

click_at() {  # click_at BUTTON X Y
    xdotool mousemove "$2" "$3"
    sleep 0.2
    xdotool click "$1"
    sleep 0.1
}

ini() {  # ini SECTION KEY: the value in the working directory's kirelo.ini
    [ -f "$WORK/kirelo.ini" ] || { echo "<no file>"; return; }
    tr -d '\r' <"$WORK/kirelo.ini" | awk -v s="[$1]" -v k="$2" '
        /^\[/ { in_s = ($0 == s) }
        in_s && index($0, k "=") == 1 { print substr($0, length(k) + 2); found = 1 }
        END { if (!found) print "<none>" }'
}

ini_is() { [ "$(ini "$1" "$2")" = "$3" ]; }  # ini_is SECTION KEY VALUE

write_ini() {  # write_ini LINES...: the settings file before the start
    printf '%s\r\n' "$@" >"$WORK/kirelo.ini"
}

# Closes a message box the way a user does, with a click on its OK button (the box's only button,
# centred near its bottom edge); true when the box has gone.
close_box() {  # close_box WINDOW CAPTION
    local bx by bw bh
    read -r bx by bw bh <<<"$(geometry "$1")"
    [ -n "${bh:-}" ] || return 0
    click_at 1 $((bx + bw / 2)) $((by + bh - 22))
    wait_until 3 not titled_shown "$2"
}

# The ball in the lens: sets BX, BY (lens pixels of the program, SCALE screen pixels each) and BN
# (pixels seen). Resting ants crowd round the ball and may cover most of it, so several
# screenshots are tried; true when it was seen.
find_ball() {  # find_ball SHOT_NAME
    local attempt s
    for attempt in 1 2 3 4 5 6 7 8; do
        s=$(shot "$1")
        read -r BX BY BN <<<"$($E2E_IMAGE ball "$s" "$LENS_X" "$LENS_Y" "$SCALE")"
        [ "$BN" -ge 8 ] && return 0
        sleep 0.3
    done
    [ "$BN" -ge 3 ]
}

# Share of the lens's inner square in the colours of make_bmp.py's blue picture (30 120 200).
lagoon_share() { $E2E_IMAGE colour "$1" $((LENS_X + 40)) $((LENS_Y + 40)) 120 120 36 126 206 10; }

# The run ends with Escape and the next start takes the remembered blue picture without a word.
restart_shows_lagoon() {
    end_with_escape "Escape ends the first run with code 0"
    start_kirelo
    find_main 30 || fail "no magnifier at the second start"
    check "the second start shows the remembered picture" \
        test "$(echo "$(lagoon_share "$(shot second-start)") > 0.5" | bc)" = 1
}

# Waits up to 10 s for the lens to show mostly the colours of a picture.
wait_share() {  # wait_share SHARE_FUNCTION SHOT_NAME
    local end=$((SECONDS + 10)) share
    while :; do
        share=$($1 "$(shot "$2")")
        [ "$(echo "$share > 0.5" | bc)" = 1 ] && return 0
        [ $SECONDS -ge $end ] && { log "lens share stayed at $share"; return 1; }
        sleep 0.5
    done
}

# The pointer in the lens, at any SCALE. Where the ball is decides which way there is room: the
# view follows the ball and stops at the field edges, so a ball left of the lens centre means the
# view is at the field's left edge. From the ball seen at (BX, BY) pan_setup keeps it as (BX0,
# BY0) and sets DIR (the side with room), PX, PY (a press away from the ball, 60 lens pixels from
# the centre against DIR) and PCX, PCY (a 40 x 30 patch above or below the ball, where the resting
# ants do not crowd, inside the lens at every offset searched), all on the screen.
pan_setup() {
    BX0=$BX BY0=$BY
    if [ "$BX" -le 100 ]; then DIR=1; else DIR=-1; fi
    PX=$((LENS_X + (100 - DIR * 60) * SCALE))
    PY=$((LENS_Y + (BY < 100 ? 150 : 50) * SCALE))
    PCX=$((LENS_X + 80 * SCALE))
    PCY=$((LENS_Y + (BY >= 100 ? 50 : 120) * SCALE))
}

# The same view matches within a few units (ants and trails change a little); a view one pixel
# off already differs by more than 8, one elsewhere by 14 and more.
pan_shift() { $E2E_IMAGE shift "$1" "$2" "$PCX" "$PCY" $((40 * SCALE)) $((30 * SCALE)) 70; }

# pan FROM_X DIRECTION SHOT_BEFORE NAME: drags 60 screen pixels from (FROM_X, PY), keeps the
# screenshot NAME and sets SHOT, MOVED (screen pixels the view moved) and DIFF (how well the moved
# patch matches).
pan() {
    drag 1 "$1" "$PY" $(($2 * 12)) 0 5
    sleep 0.5
    SHOT=$(shot "$4")
    read -r MOVED DIFF <<<"$(pan_shift "$3" "$SHOT")"
    log "$4: the view moved $MOVED px (patch difference $DIFF)"
}

# A drag away from the ball: the view moves with the pointer, so what was up to 60 screen pixels
# further that way is now under the old place; less only where the view stops at the field's edge.
# Sets BEFORE (the screenshot before) and SHOT.
pan_away() {
    BEFORE=$(shot pan-before)
    pan "$PX" "$DIR" "$BEFORE" pan-after
    check "the view moved with the pointer, at most 60 screen px" \
        test "$(( MOVED * DIR >= 0 && MOVED * DIR <= 61 ))$(echo "$DIFF < 8" | bc)" = 11
}

# A right click in the lens returns the view to the ball: the lens looks as before the pan.
pan_back_to_ball() {
    click_at 3 $((LENS_X + 100 * SCALE)) $((LENS_Y + 100 * SCALE))
    sleep 0.6
    read -r MOVED DIFF <<<"$(pan_shift "$BEFORE" "$(shot pan-back)")"
    log "after the right click: the view is $MOVED px from the start (patch difference $DIFF)"
    check "a right click brings the view back to the ball" test "$MOVED $(echo "$DIFF < 8" | bc)" = "0 1"
}

# Throw: press on the ball at (BX0, BY0) and flick it 120 lens pixels toward the room, then watch
# it go. Rested ants cluster around a resting ball; a thrown one leaves them, so it is seen moved
# the flick's way, or else the view (following it) has moved. Sets BX, BY, BN.
throw_ball() {
    local still thrown moved_view
    still=$(shot throw-before)
    flick $((LENS_X + BX0 * SCALE)) $((LENS_Y + BY0 * SCALE)) $((DIR * 120 * SCALE))
    sleep 2.5
    thrown=$(shot throw-after)
    read -r BX BY BN <<<"$($E2E_IMAGE ball "$thrown" "$LENS_X" "$LENS_Y" "$SCALE")"
    moved_view=$($E2E_IMAGE diffat "$still" "$PCX" "$PCY" "$thrown" "$PCX" "$PCY" \
        $((40 * SCALE)) $((30 * SCALE)))
    log "after the throw: ball at lens ($BX, $BY) ($BN px), view patch difference $moved_view"
    check "the thrown ball went the way of the flick" test \
        "$(( (BN >= 8 && (BX - BX0) * DIR >= 20) || $(echo "$moved_view > 8" | bc) ))" = 1
}

# Catches the stray ant (a SIDE x SIDE window): its place read and its middle clicked at once (it
# moves at most a pixel a frame), a few times over; true when its box has come up (WIN). Sets ANT,
# CLICK_X, CLICK_Y.
catch_stray() {  # catch_stray SIDE
    local attempt x y
    for attempt in 1 2 3 4 5; do
        wait_window "$1" "$1" 2 || return 1
        ANT=$WIN
        read -r x y <<<"$(corner "$ANT")"
        [ -n "$y" ] || continue
        CLICK_X=$((x + $1 / 2)) CLICK_Y=$((y + $1 / 2))
        xdotool mousemove "$CLICK_X" "$CLICK_Y" click 1
        wait_titled "はぐれありさん" 2 && return 0
    done
    return 1
}

# Windows path of a file in the working directory, as Wine's Z: drive shows it.
windows_path() { echo "Z:$1" | tr '/' '\\'; }

# "r g b" of one pixel of the screen as it is now.
screen_pixel() {  # screen_pixel X Y
    local s
    s=$(shot probe)
    $E2E_IMAGE pixel "$s" "$1" "$2"
}

# A message box as a user meets it: its face is painted (mostly light, as the system draws
# dialogs) and its text is there (enough dark pixels). True when both hold, within SECONDS.
box_painted() {  # box_painted WINDOW SECONDS
    local bx by bw bh t=0 s light dark
    read -r bx by bw bh <<<"$(geometry "$1")"
    [ -n "${bh:-}" ] || return 1
    while [ "$t" -lt $(($2 * 5)) ]; do
        s=$(shot box-check)
        light=$($E2E_IMAGE light "$s" "$bx" "$by" "$bw" "$bh" 160)
        dark=$($E2E_IMAGE dark "$s" "$bx" "$by" "$bw" "$bh" 80)
        if [ "$(echo "$light > 0.6 && $dark > 0.004" | bc)" = 1 ]; then
            log "box $1 painted: light share $light, dark share $dark"
            cp "$s" "$E2E_ART/box-painted-$1.png"
            return 0
        fi
        sleep 0.2
        t=$((t + 1))
    done
    log "box $1 not painted: light share $light, dark share $dark"
    cp "$s" "$E2E_ART/box-unpainted-$1.png"
    return 1
}

# A message box of the program: waits up to SECONDS (10) for its window by caption, checks that
# it is painted (face and text on the screen, not a black or empty rectangle), keeps a screenshot,
# closes it with its OK button and checks that it went.
expect_box() {  # expect_box CAPTION SHOT_NAME [SECONDS]
    wait_titled "$1" "${3:-10}" || { log "no box titled '$1'"; return 1; }
    local box=$WIN
    box_painted "$box" 5 || return 1
    shot "$2" >/dev/null
    close_box "$box" "$1"
}

# The lens changes (ants walk) between screenshots taken within SECONDS: the world is running.
lens_alive() {  # lens_alive SECONDS
    local a b n t=0
    a=$(shot alive-a)
    cp "$a" "$E2E_ART/alive-first.png"
    a="$E2E_ART/alive-first.png"
    while [ "$t" -lt $(($1 * 4)) ]; do
        sleep 0.25
        b=$(shot alive-b)
        n=$($E2E_IMAGE changed "$a" "$b" "$LENS_X" "$LENS_Y")
        [ "$n" -ge 20 ] && return 0
        t=$((t + 1))
    done
    return 1
}

# The user's way out: a click in the lens (low, away from the ball) gives the magnifier the keys,
# then Escape; the program must end with code 0.
end_with_escape() {  # end_with_escape DESCRIPTION
    click_at 1 $((LENS_X + 100 * SCALE)) $((LENS_Y + 155 * SCALE))
    sleep 0.3
    xdotool key Escape
    wait_exit "$KIRELO_PID" 10
    check "$1 (got $EXIT_CODE)" test "$EXIT_CODE" = 0
}

# A second start of the program while the first runs: it ends at once with code 0, and the first
# goes on.
second_start_refused() {
    local second
    (cd "$WORK" && exec wine ./kirelo.exe >>"$E2E_ART/wine-second.log" 2>&1) &
    second=$!
    PIDS+=("$second")
    wait_exit "$second" 10
    check "second start ends with code 0 (got $EXIT_CODE)" test "$EXIT_CODE" = 0
    check "first instance still runs" kill -0 "$KIRELO_PID"
}

# Every test runs on the light desktop.
start_desktop
