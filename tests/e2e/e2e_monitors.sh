#!/usr/bin/env bash
# Every monitor as a user meets it, on a desktop of two monitors of different sizes side by side:
# the primary 1024 x 768 on the left, 1280 x 800 on its right, so a 32-pixel gap lies below the
# primary. Over several starts the stray ant comes out on either monitor, walks on the second one,
# and never stands in the gap or off the monitors; the glass starts centred on the primary (the
# splash where it shows), and Centre centres it on the monitor it has been dragged to.
# The test brings its own X server (Xorg with the dummy driver: Xvfb cannot show Wine two
# monitors), a window manager and its own Wine prefix (the harness's wineserver is tied to the
# harness's display). It runs kirelo_bench.exe, the program with the start-up hook that lets the
# stray ant out right after a short splash.
set -u
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$3"
root=$(cd "$3" && pwd)
setup_log="$root/e2e_monitors.setup.log"
: >"$setup_log"
say() { echo "[monitors setup $(date +%T)] $*" | tee -a "$setup_log"; }
die() { say "FAIL: $*"; exit 1; }

PRIMARY_W=1024 PRIMARY_H=768 SECOND_W=1280 SECOND_H=800

# A display number no X server holds: no lock file, no socket, no server answering (one started
# from another /tmp may share the socket names). The search starts at a number of this process
# so that tests started together try different ones.
XORG_PID=""
first=$((200 + $$ % 500))
for n in $(seq "$first" $((first + 30))); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    xdpyinfo -display ":$n" >/dev/null 2>&1 && continue
    XORG_PID=$(bash /work/shared/displays/two-monitors.sh ":$n" "${PRIMARY_W}x$PRIMARY_H" \
        "${SECOND_W}x$SECOND_H" 2>>"$setup_log" | tail -n1)
    # Only a server of our own counts: another may have taken the number meanwhile.
    if [ -n "$XORG_PID" ] && kill -0 "$XORG_PID" 2>/dev/null &&
        [ "$(tr -d ' ' <"/tmp/.X$n-lock" 2>/dev/null)" = "$XORG_PID" ]; then
        break
    fi
    [ -n "$XORG_PID" ] && kill "$XORG_PID" 2>/dev/null
    XORG_PID=""
done
[ -n "$XORG_PID" ] || die "the two-monitor X server (Xorg, dummy driver) did not start"
export DISPLAY=":$n"
unset KIRELO_SCREEN_FILE  # the harness's Xvfb framebuffer: screenshots come from this server
say "two monitors on $DISPLAY (Xorg pid $XORG_PID): $(xrandr | grep -c ' connected') outputs"

openbox --sm-disable >>"$setup_log" 2>&1 &
OPENBOX_PID=$!
export WINEPREFIX="$root/e2e_monitors.prefix"
e2e_stop_own() {
    timeout -k 2 20 wineserver -k >/dev/null 2>&1
    kill "$OPENBOX_PID" 2>/dev/null
    kill "$XORG_PID" 2>/dev/null
    for _ in $(seq 20); do kill -0 "$XORG_PID" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$XORG_PID" 2>/dev/null
}
trap e2e_stop_own EXIT
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.1; done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" ||
    die "openbox did not come up (openbox $(kill -0 "$OPENBOX_PID" 2>/dev/null && echo runs || echo ended), Xorg $(kill -0 "$XORG_PID" 2>/dev/null && echo runs || echo ended))"

# The prefix is kept beside the artefacts and made once (wineboot; about 20 s here).
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    t0=$SECONDS
    rm -rf "$WINEPREFIX"
    timeout -k 5 100 wineboot -i >>"$setup_log" 2>&1 || die "wineboot of the test's own prefix failed"
    timeout -k 5 40 wineserver -w >/dev/null 2>&1
    say "new Wine prefix in $((SECONDS - t0)) s"
fi

source "$here/e2e_lib.sh" monitors "$1" "$2" "$root"
cp "$setup_log" "$E2E_ART/setup.log"
check "the test's screen is both monitors" test "$SCREEN_W x $SCREEN_H" = \
    "$((PRIMARY_W + SECOND_W)) x $SECOND_H"

# Which monitor holds the 8 x 8 cell at X Y wholly: 1, 2, "both" when it straddles the seam on
# both, or "none" when any pixel of it lies in the gap or off the screen.
monitor_of() {
    local x=$1 y=$2
    if [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + 8)) -le "$PRIMARY_W" ] && [ $((y + 8)) -le "$PRIMARY_H" ]; then
        echo 1
    elif [ "$x" -ge "$PRIMARY_W" ] && [ "$y" -ge 0 ] && [ $((x + 8)) -le "$SCREEN_W" ] && [ $((y + 8)) -le "$SECOND_H" ]; then
        echo 2
    elif [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + 8)) -le "$SCREEN_W" ] && [ $((y + 8)) -le "$PRIMARY_H" ]; then
        echo both
    else
        echo none
    fi
}

stop_kirelo() {
    kill "$KIRELO_PID" 2>/dev/null
    wait_exit "$KIRELO_PID" 5
    [ "$EXIT_CODE" = running ] && kill -9 "$KIRELO_PID" 2>/dev/null
}

# Without the frame wait the ant walks some forty pixels a second.
write_ini "[Status]" "Wait ON=0"
export KIRELO_BENCH_STRAY_MS=0 KIRELO_BENCH_SPLASH_MS=600

starts_on_1=0 starts_on_2=0 walked_on_2=0 crossed=0 samples=0 runs=0
deadline=$((SECONDS + 80))
while [ "$runs" -lt 12 ] && [ "$SECONDS" -lt "$deadline" ]; do
    runs=$((runs + 1))
    start_kirelo
    if [ "$runs" = 1 ]; then
        # The first start: the splash, then the glass, centred on the primary monitor.
        wait_window 100 100 30 || fail "no splash"
        SPLASH_SEEN=1
        check "the splash is centred on the primary monitor" \
            test "$WIN_X $WIN_Y" = "$(((PRIMARY_W - 100) / 2)) $(((PRIMARY_H - 100) / 2))"
        find_main 30 || fail "no magnifier"
        check "the glass starts centred on the primary monitor" \
            test "$(corner "$MAIN")" = "$(((PRIMARY_W - 300) / 2)) $(((PRIMARY_H - 360) / 2))"
    fi
    wait_window 8 8 30 || fail "no stray ant in run $runs"
    ant=$WIN
    read -r x y <<<"$(corner "$ant")"
    first=$(monitor_of "$x" "$y")
    log "run $runs: the stray ant came out at ($x, $y), monitor $first"
    case $first in 1) starts_on_1=$((starts_on_1 + 1)) ;; 2) starts_on_2=$((starts_on_2 + 1)) ;; none) fail "the stray ant came out off the monitors at ($x, $y)" ;; esac
    # Its walk, sampled for two seconds.
    seen1=0 seen2=0 x0=$x y0=$y
    end=$(date +%s.%N)
    while [ "$(echo "$(date +%s.%N) - $end < 2" | bc)" = 1 ]; do
        read -r x y <<<"$(corner "$ant")"
        [ -n "$x" ] || break
        samples=$((samples + 1))
        m=$(monitor_of "$x" "$y")
        [ "$m" = none ] && fail "the stray ant stands off the monitors at ($x, $y) (run $runs)"
        case $m in 1) seen1=1 ;; 2) seen2=1 ;; both) seen1=1 seen2=1 ;; esac
        if [ "$m" = 2 ] && [ "$x $y" != "$x0 $y0" ]; then walked_on_2=1; fi
        sleep 0.03
    done
    [ "$seen1$seen2" = 11 ] && crossed=$((crossed + 1))
    log "run $runs: walked to ($x, $y)"
    shot "run-$runs" >/dev/null
    if [ "$runs" = 1 ]; then
        # Centre: drag the glass by its rim onto the second monitor, then choose Centre.
        rim_point
        drag 1 "$RIM_X" "$RIM_Y" 55 5 20
        read -r gx gy <<<"$(corner "$MAIN")"
        log "the glass dragged to ($gx, $gy)"
        check "the glass was dragged onto the second monitor" test "$gx" -ge "$PRIMARY_W"
        MAIN_X=$gx MAIN_Y=$gy
        want="$((PRIMARY_W + (SECOND_W - 300) / 2)) $(((SECOND_H - 360) / 2))"
        centred() { [ "$(corner "$MAIN")" = "$want" ]; }
        # The rim menu, once it is up: a click on its fourth item. (Keys would go wherever the
        # window manager put the keyboard focus.) Its six items are of one height, its two
        # separators and its frame take 20 pixels.
        for attempt in 1 2 3; do
            rim_point
            click_at 3 "$RIM_X" "$RIM_Y"
            wait_until 3 menu_up
            menu=$(menu_windows | head -n1)
            [ -n "$menu" ] || continue
            sleep 0.3
            read -r mx my <<<"$(corner "$menu")"
            mw=$(xwininfo -id "$menu" | awk '/Width:/{print $2}')
            mh=$(xwininfo -id "$menu" | awk '/Height:/{print $2}')
            item=$(((mh - 20) / 6))
            click_at 1 $((mx + mw / 2)) $((my + 2 + 3 * item + item / 2))
            wait_until 2 centred && break
            log "Centre not chosen (attempt $attempt, menu ${mw}x$mh at $mx $my)"
            shot "centre-missed-$attempt" >/dev/null
            xdotool key Escape
            sleep 0.3
        done
        shot centred >/dev/null
        check "Centre centres the glass on the second monitor, its own (at $(corner "$MAIN"))" centred
    fi
    stop_kirelo
    if [ "$starts_on_1" -gt 0 ] && [ "$starts_on_2" -gt 0 ] && [ "$walked_on_2" = 1 ]; then
        break
    fi
done
log "$runs runs, $samples positions sampled: came out $starts_on_1 times on the primary and" \
    "$starts_on_2 times on the second monitor, seen on both in one run $crossed times"
check "the stray ant came out on the primary monitor in some run" test "$starts_on_1" -gt 0
check "the stray ant came out on the second monitor in some run" test "$starts_on_2" -gt 0
check "the stray ant walked on the second monitor" test "$walked_on_2" = 1
check "its position was sampled many times" test "$samples" -ge 40
log "passed"
