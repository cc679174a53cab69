#!/usr/bin/env bash
# CPU cost of the running program against the floor (the cheapest program showing the same kind of
# window), one after the other on one private virtual display, phase by phase: before the stray ant
# comes out, while it walks, while its heart rises, and with the magnifier hidden.
#   usage: measure_cpu.sh [-s SHARED_DIR] [-p PHASE_SECONDS] [-b BUILD_DIR] [-e EXE] [-o OUT_DIR]
#                         [-x SCALE]
#     SHARED_DIR     holds bench/floor.cpp, used as it is (default: the repository's ../shared)
#     PHASE_SECONDS  length of each measured phase but the heart's (default 18)
#     BUILD_DIR      the Windows build tree (default build/windows); kirelo_bench is built in it
#     EXE            a kirelo_bench.exe built before (for instance of an older commit), not built
#     SCALE          whole-pixel scale 1..4 (default 1): the floor draws at it (floor.exe SCALE),
#                    and the program runs on a display of 96 x SCALE DPI (the prefix's LogPixels)
# Counted per phase: the program, wineserver, the X server and Wine's explorer.exe, as CPU time
# from /proc (nanoseconds of every thread, from schedstat), in % of one core.
set -u
root=$(cd "$(dirname "$0")/../../.." && pwd)
shared=$root/../shared
phase=18
build=$root/build/windows
out=$root/build/bench-cpu
bench_exe=""
scale=1
while getopts "s:p:b:e:o:x:" opt; do
    case "$opt" in
        s) shared=$OPTARG ;;
        p) phase=$OPTARG ;;
        b) build=$OPTARG ;;
        e) bench_exe=$(cd "$(dirname "$OPTARG")" && pwd)/$(basename "$OPTARG") ;;
        o) out=$OPTARG ;;
        x) scale=$OPTARG ;;
        *) sed -n '5,13p' "$0" >&2; exit 2 ;;
    esac
done
case "$phase" in '' | *[!0-9]*) echo "measure_cpu: PHASE_SECONDS must be a whole number" >&2; exit 2 ;; esac
case "$scale" in [1-4]) ;; *) echo "measure_cpu: SCALE must be 1..4" >&2; exit 2 ;; esac
# The window sizes on the screen at that scale.
main_w=$((300 * scale)) main_h=$((360 * scale)) splash=$((100 * scale))
ant=$((8 * scale)) heart=$((16 * scale))
floor_src=$shared/bench/floor.cpp
[ -f "$floor_src" ] || { echo "measure_cpu: no $floor_src (give the shared directory with -s)" >&2; exit 2; }
harness=$root/scripts/wine-harness.sh
settle=3          # seconds after a window shows before anything is measured
heart_max=3.5     # the heart rises for about 4 s (50 frames): the part measured, at most
mkdir -p "$out"
out=$(cd "$out" && pwd)
state=$out/state

log() { echo "measure_cpu: $*" >&2; }

# --- the two programs -------------------------------------------------------------------------
log "building the floor from $floor_src"
x86_64-w64-mingw32-g++ -O2 -static -mwindows "$floor_src" -o "$out/floor.exe" 2>"$out/floor-build.log" ||
    { cat "$out/floor-build.log" >&2; exit 1; }
if [ -z "$bench_exe" ]; then
    log "building kirelo_bench in $build"
    [ -f "$build/CMakeCache.txt" ] || { echo "measure_cpu: configure $build first (scripts/build.sh windows)" >&2; exit 2; }
    nice -n 10 cmake --build "$build" --target kirelo_bench -j 2 >"$out/kirelo-build.log" 2>&1 ||
        { tail -n 30 "$out/kirelo-build.log" >&2; exit 1; }
    bench_exe=$build/tests/bench/cpu/kirelo_bench.exe
fi
[ -f "$bench_exe" ] || { echo "measure_cpu: kirelo_bench.exe was not built" >&2; exit 1; }

# --- display and prefix ------------------------------------------------------------------------
launcher="" prog=""
stop_program() {
    local p
    for p in $prog $launcher; do
        kill "$p" 2>/dev/null || continue
        for _ in $(seq 1 25); do kill -0 "$p" 2>/dev/null || break; sleep 0.2; done
        kill -9 "$p" 2>/dev/null
    done
    [ -z "$launcher" ] || wait "$launcher" 2>/dev/null
    prog="" launcher=""
}
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
    stop_program
    bash "$harness" stop "$state" >/dev/null 2>&1
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

log "starting display and Wine prefix in $state"
bash "$harness" start "$state" >"$out/harness.log" 2>&1 || { cat "$out/harness.log" >&2; exit 1; }
export WINEPREFIX="$state/prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
DISPLAY=$(cat "$state/display") && export DISPLAY
xvfb_pid=$(cat "$state/xvfb.pid")
# This display has no window manager: Wine would hold the window thread up to two seconds for one
# whenever the found-box comes or goes (frames included), which is not what a desktop costs. The
# windows are left unmanaged, as in the end-to-end tests.
wine reg add "HKCU\\Software\\Wine\\AppDefaults\\kirelo.exe\\X11 Driver" /v Managed /d N /f \
    >/dev/null 2>&1
# The display's DPI, which the program takes its scale from (the floor is told its scale).
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $((96 * scale)) /f \
    >/dev/null 2>&1

# --- CPU time ----------------------------------------------------------------------------------
# Processes of this prefix (Wine's own ones carry WINEPREFIX) and the X server, as "pid role".
roles() {
    local d p comm
    echo "$xvfb_pid xserver"
    for d in /proc/[0-9]*; do
        p=${d#/proc/}
        { tr '\0' '\n' <"$d/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null || continue
        comm=$(cat "$d/comm" 2>/dev/null) || continue
        case "$comm" in
            kirelo.exe | floor.exe) echo "$p program" ;;
            wineserver*) echo "$p wineserver" ;;
            explorer.exe) echo "$p explorer" ;;
            *) echo "$p other" ;;
        esac
    done
}
# "pid role nanoseconds" for each process: the CPU time of its live threads.
sample() {
    local p role ns
    while read -r p role; do
        ns=$(cat /proc/"$p"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }')
        [ -n "$ns" ] && echo "$p $role $ns"
    done <<<"$ROLES"
}
now() { date +%s.%N; }

# measure NAME SECONDS: CPU shares per role over the next SECONDS, as one line "NAME secs role=% ..".
results=()
measure() {
    local name=$1 secs=$2 t0 t1 s0 s1
    ROLES=$(roles)
    s0=$(sample); t0=$(now)
    sleep "$secs"
    s1=$(sample); t1=$(now)
    results+=("$(awk -v name="$name" -v dt="$(echo "$t1 - $t0" | bc)" '
        NR == FNR { start[$1] = $3; next }
        ($1 in start) { use[$2] += $3 - start[$1] }
        END {
            line = sprintf("%s %.2f", name, dt)
            n = split("program wineserver xserver explorer other", r, " ")
            for (i = 1; i <= n; i++) line = line sprintf(" %s=%.3f", r[i], 100 * use[r[i]] / 1e9 / dt)
            print line
        }' <(echo "$s0") <(echo "$s1"))")
    log "  ${results[-1]}"
}

# --- windows on the display --------------------------------------------------------------------
# Visible windows of CLASS with size WxH: "id x y" per line.
windows_of() {  # windows_of CLASS W H
    local id geo
    for id in $(xdotool search --onlyvisible --class "$1" 2>/dev/null); do
        geo=$(xdotool getwindowgeometry "$id" 2>/dev/null) || continue
        echo "$geo" | grep -q "Geometry: $2x$3\$" || continue
        echo "$id $(echo "$geo" | awk '/Position/{split($2, p, ","); print p[1], p[2]}')"
    done
}
# wait_for CLASS W H SECONDS: sets WIN WIN_X WIN_Y; false when nothing showed in time.
wait_for() {
    local t=0 found
    while [ "$t" -lt $(($4 * 10)) ]; do
        found=$(windows_of "$1" "$2" "$3" | head -n1)
        if [ -n "$found" ]; then read -r WIN WIN_X WIN_Y <<<"$found"; return 0; fi
        sleep 0.1; t=$((t + 1))
    done
    return 1
}
# The first visible window titled NAME (compared as bytes: the titles are in code page 932 text).
titled() {
    local id
    for id in $(xdotool search --onlyvisible --name "" 2>/dev/null); do
        [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && { echo "$id"; return 0; }
    done
    return 1
}
start_program() {  # start_program DIR EXE ARGUMENT [ENV=VALUE..]
    local dir=$1 exe=$2 argument=$3
    shift 3
    (cd "$dir" && exec env LC_ALL=ja_JP.UTF-8 "$@" wine "./$exe" $argument >"$dir/wine.log" 2>&1 </dev/null) &
    launcher=$!
    local p
    for _ in $(seq 1 150); do
        for p in $(pgrep -x "$exe"); do
            tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && { prog=$p; return 0; }
        done
        sleep 0.2
    done
    log "$exe did not start (see $dir/wine.log)"
    return 1
}
fail() { log "FAIL: $*"; exit 1; }

# --- the floor ---------------------------------------------------------------------------------
dir=$out/floor && rm -rf "$dir" && mkdir -p "$dir" && cp "$out/floor.exe" "$dir/"
log "floor: running"
start_program "$dir" floor.exe "$scale" || exit 1
wait_for floor.exe "$main_w" "$main_h" 30 || fail "the floor's window did not show"
sleep "$settle"
measure floor "$phase"
stop_program

# --- the program -------------------------------------------------------------------------------
# The stray ant comes out at a known time: after the splash (about 5 s), the settling and the first
# phase, with a margin.
stray_ms=$(( (5 + settle + phase + 4) * 1000 ))
dir=$out/kirelo && rm -rf "$dir" && mkdir -p "$dir" && cp "$bench_exe" "$dir/kirelo.exe"
log "kirelo: running, the stray ant comes out ${stray_ms} ms into the run"
start_program "$dir" kirelo.exe "" "KIRELO_BENCH_STRAY_MS=$stray_ms" || exit 1
t_start=$(now)
# The magnifier shows when the splash goes.
t=0
while [ $t -lt 300 ]; do
    [ -z "$(windows_of kirelo.exe "$splash" "$splash")" ] &&
        [ -n "$(windows_of kirelo.exe "$main_w" "$main_h")" ] && break
    sleep 0.1; t=$((t + 1))
done
wait_for kirelo.exe "$main_w" "$main_h" 1 || fail "no magnifier"
main_x=$WIN_X main_y=$WIN_Y
sleep "$settle"
measure before "$phase"
[ -z "$(windows_of kirelo.exe "$ant" "$ant")" ] || fail "the stray ant came out before the first phase ended"

wait_for kirelo.exe "$ant" "$ant" $((stray_ms / 1000 + 10)) || fail "no stray ant"
log "stray ant out $(echo "$(now) - $t_start" | bc | cut -c1-5) s into the run"
sleep 1
measure walking "$phase"

# Found: a click on the ant (it moves a pixel a frame at most), then OK in its box.
box=""
for _ in 1 2 3 4 5 6; do
    wait_for kirelo.exe "$ant" "$ant" 2 || break
    xdotool mousemove $((WIN_X + ant / 2)) $((WIN_Y + ant / 2)) click 1
    for _ in $(seq 1 20); do box=$(titled "はぐれありさん") && break; sleep 0.1; done
    [ -n "$box" ] && break
done
[ -n "$box" ] || fail "the click did not find the stray ant"
sleep 0.5
geo=$(xdotool getwindowgeometry "$box")
read -r bx by <<<"$(echo "$geo" | awk '/Position/{split($2, p, ","); print p[1], p[2]}')"
read -r bw bh <<<"$(echo "$geo" | awk '/Geometry/{split($2, g, "x"); print g[1], g[2]}')"
xdotool mousemove $((bx + bw / 2)) $((by + bh - 22)) click 1
wait_for kirelo.exe "$heart" "$heart" 5 || fail "no heart after the box"
# It rises 50 frames, fewer when it starts near the top (it stops at y 16).
frames=$((WIN_Y - 16 < 50 ? WIN_Y - 16 : 50))
secs=$(echo "s = $frames * 0.08 - 0.5; if (s > $heart_max) s = $heart_max; s" | bc)
if [ "$(echo "$secs >= 1" | bc)" = 1 ]; then
    measure heart "$secs"
else
    log "the heart started too near the top to be measured"
fi
t=0
while [ -n "$(windows_of kirelo.exe "$heart" "$heart")" ] && [ $t -lt 100 ]; do sleep 0.1; t=$((t + 1)); done

# Hidden: a double click on the rim, as a user hides it (the tray click does the same).
xdotool mousemove $((main_x + 120 * scale)) $((main_y + 8 * scale))
sleep 0.3
xdotool click --repeat 2 --delay 80 1
t=0
while [ -n "$(windows_of kirelo.exe "$main_w" "$main_h")" ] && [ $t -lt 30 ]; do sleep 0.1; t=$((t + 1)); done
[ -z "$(windows_of kirelo.exe "$main_w" "$main_h")" ] || fail "the double click did not hide the magnifier"
sleep "$settle"
measure hidden "$phase"
stop_program

# --- report ------------------------------------------------------------------------------------
echo
echo "scale $scale; CPU in % of one core (program, wineserver, X server, explorer.exe; other Wine processes apart)"
printf '%-8s %6s %8s %10s %8s %9s %7s %7s %7s\n' phase secs program wineserver xserver explorer total other ratio
for r in "${results[@]}"; do
    echo "$r"
done | awk '{
        for (i = 3; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] }
        total = v["program"] + v["wineserver"] + v["xserver"] + v["explorer"]
        if ($1 == "floor") floor = total
        ratio = floor > 0 ? sprintf("%.2f", total / floor) : "-"
        printf "%-8s %6.1f %8.2f %10.2f %8.2f %9.2f %7.2f %7.2f %7s\n", $1, $2, v["program"],
               v["wineserver"], v["xserver"], v["explorer"], total, v["other"], ratio
    }'
