#!/usr/bin/env bash
# Runs Windows test programs under Wine in a private virtual X display and a private Wine prefix.
#   wine-harness.sh start STATE_DIR [openbox] start Xvfb (with the openbox window manager on it
#                                            when asked) + wineserver, initialise the prefix
#   wine-harness.sh run STATE_DIR SECS CMD.. run one program (exe or script) with a hard timeout
#   wine-harness.sh stop STATE_DIR           stop wineserver and Xvfb by process id
# A stuck program is killed by its timeout; a stuck display or server is killed at stop.
set -u
cmd=${1:?usage}; state=${2:?usage}
mkdir -p "$state"
state=$(cd "$state" && pwd)

wine_env() {
    export WINEPREFIX="$state/prefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # LC_ALL=ja_JP.UTF-8 is what makes Wine pick code page 932. Only Wine gets it, through the
    # wrappers below: a bash that inherits a locale this machine has not generated warns on
    # every start, and the test scripts start many. KIRELO_WINE_LOCALE picks another locale for
    # one test (en_US.UTF-8: code page 1252); Wine reads the name, the locale need not exist.
    # KIRELO_WINE_MESSAGES sets the language of the user interface alone (LC_MESSAGES), the code
    # page staying the locale's: a Japanese UI on a Western system.
    [ -d "$state/bin" ] || write_wrappers
    export PATH="$state/bin:$PATH"
    export DISPLAY
    DISPLAY=$(cat "$state/display" 2>/dev/null || true)
    # The virtual screen's framebuffer, for screenshots that show exactly what is on it.
    export KIRELO_SCREEN_FILE="$state/fb/Xvfb_screen0"
}

write_wrappers() {
    mkdir -p "$state/bin"
    local tool real
    for tool in wine wineboot; do
        real=$(PATH=${PATH//"$state/bin:"/} command -v "$tool") || continue
        printf '#!/bin/sh\nloc=${KIRELO_WINE_LOCALE:-ja_JP.UTF-8}\n[ -n "${KIRELO_WINE_MESSAGES:-}" ] && unset LC_ALL && LANG=$loc LC_CTYPE=$loc LC_MESSAGES=$KIRELO_WINE_MESSAGES exec %s "$@"\nLC_ALL=$loc LANG=$loc exec %s "$@"\n' \
            "$real" "$real" >"$state/bin/$tool"
        chmod +x "$state/bin/$tool"
    done
}

kill_pidfile() {
    local f=$1
    [ -f "$f" ] || return 0
    local pid; pid=$(cat "$f")
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null
        for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
        kill -9 "$pid" 2>/dev/null
    fi
    rm -f "$f"
}

# Starts openbox on the display and waits until it has taken the screen (it names itself on the
# root window). Its own configuration, not the user's: every run sees the same desktop. On a
# loaded machine openbox now and then finds the new display not yet answering and gives up at
# once; it is started again then.
start_wm() {
    local attempt t
    for attempt in 1 2 3; do
        DISPLAY=$(cat "$state/display") openbox --sm-disable --config-file /etc/xdg/openbox/rc.xml \
            >"$state/openbox.log" 2>&1 &
        echo $! >"$state/wm.pid"
        for t in $(seq 1 100); do
            DISPLAY=$(cat "$state/display") xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null |
                grep -q 'window id' && return 0
            kill -0 "$(cat "$state/wm.pid")" 2>/dev/null || break
            sleep 0.1
        done
        echo "wine-harness: openbox did not start (attempt $attempt):"; cat "$state/openbox.log"
        kill_pidfile "$state/wm.pid"
        sleep 0.5
    done
    exit 1
}

case "$cmd" in
start)
    "$0" stop "$state" >/dev/null 2>&1
    rm -f "$state/display"
    rm -rf "$state/bin"  # the wrappers are written afresh
    exec 3>"$state/display.tmp"
    # -fbdir: the screen's own pixels as a file (XWD format), which is what screenshots read.
    rm -rf "$state/fb"
    mkdir -p "$state/fb"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -fbdir "$state/fb" >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    exec 3>&-
    for _ in $(seq 1 100); do [ -s "$state/display.tmp" ] && break; sleep 0.1; done
    if [ ! -s "$state/display.tmp" ]; then
        echo "wine-harness: Xvfb did not start:"; cat "$state/xvfb.log"; exit 1
    fi
    echo ":$(head -n1 "$state/display.tmp")" >"$state/display"
    # The manager comes before Wine: Wine's own windows (the tray) are managed from their start.
    [ "${3:-}" = openbox ] && start_wm
    wine_env
    echo "wine-harness: display $DISPLAY, prefix $WINEPREFIX"
    t0=$(date +%s)
    if ! timeout -k 5 150 wineboot -i >"$state/wineboot.log" 2>&1; then
        echo "wine-harness: wineboot failed or timed out:"; tail -n 20 "$state/wineboot.log"; exit 1
    fi
    # Japanese glyphs in menus and boxes under any locale a test picks.
    timeout -k 5 60 bash "$(dirname "$0")/wine-fontlink.sh" || exit 1
    # Let the first boot finish its background work before the tests start.
    timeout -k 5 90 wineserver -w >/dev/null 2>&1 || true
    # A persistent server keeps every test from paying for a fresh wineserver start.
    wineserver -p >/dev/null 2>&1
    pgrep -n -f "wineserver -p" >"$state/wineserver.pid" 2>/dev/null || true
    echo "wine-harness: ready after $(( $(date +%s) - t0 ))s"
    ;;
run)
    secs=${3:?usage}; shift 3
    wine_env
    if [ -z "$DISPLAY" ]; then echo "wine-harness: fixture not started"; exit 1; fi
    prog=$1; shift
    limit=$((secs > 10 ? secs - 5 : secs))
    # Wine starts helper processes (explorer, services) that outlive the program; they must not
    # inherit CTest's pipes, or CTest waits for them. The output goes through a file instead.
    out=$(mktemp "$state/run.XXXXXX")
    case "$prog" in
        *.exe)
            timeout -k 5 "$limit" wine "$prog" "$@" >"$out" 2>&1 </dev/null; rc=$?
            # A test program always prints before it can fail; one that ended with an error and
            # not a byte of output never ran (Wine once in many starts refuses a start on a
            # loaded machine, silently). It is started once more, and the log says so.
            if [ "$rc" != 0 ] && [ ! -s "$out" ]; then
                echo "wine-harness: $prog ended with $rc before printing anything; starting it again"
                timeout -k 5 "$limit" wine "$prog" "$@" >"$out" 2>&1 </dev/null; rc=$?
            fi
            ;;
        *) timeout -k 5 "$limit" "$prog" "$@" >"$out" 2>&1 </dev/null; rc=$? ;;
    esac
    cat "$out"; rm -f "$out"
    if [ "$rc" = 124 ] || [ "$rc" = 137 ]; then
        echo "wine-harness: TIMEOUT after ${limit}s: $prog $*"
    elif [ "$rc" != 0 ]; then
        echo "wine-harness: FAILED with exit code $rc: $prog $*"
    fi
    exit "$rc"
    ;;
stop)
    wine_env
    if [ -d "$WINEPREFIX" ]; then timeout -k 2 20 wineserver -k >/dev/null 2>&1 || true; fi
    kill_pidfile "$state/wineserver.pid"
    kill_pidfile "$state/wm.pid"
    kill_pidfile "$state/xvfb.pid"
    rm -f "$state/display" "$state/display.tmp"
    echo "wine-harness: stopped"
    ;;
*) echo "usage: $0 start|run|stop STATE_DIR ..."; exit 2 ;;
esac
