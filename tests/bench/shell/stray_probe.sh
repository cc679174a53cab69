#!/usr/bin/env bash
# CPU cost (probe + wineserver + X server + explorer) of each way of showing a walking shaped
# window, one mode after the other on one private display.  usage: stray_probe.sh [SECS] [MODES..]
set -u
root=$(cd "$(dirname "$0")/../../.." && pwd)
secs=${1:-8}; shift || true
modes=${*:-none move map park parknz rgn key ulwkey ulwalpha}
out=${PROBE_OUT:-$root/build/bench-probe}
mkdir -p "$out"
x86_64-w64-mingw32-g++ -O2 -static -mwindows "$root/tests/bench/shell/StrayWindowProbe.cpp" -o "$out/probe.exe" || exit 1
# shellcheck source=tests/bench/shell/bench_lib.sh
. "$root/tests/bench/shell/bench_lib.sh"
bench_start_prefix "$out/state" >"$out/harness.log" 2>&1 || { cat "$out/harness.log"; exit 1; }
xvfb=$(cat "$out/state/xvfb.pid")
# shellcheck disable=SC2119  # every process of the prefix
pids() { echo "$xvfb"; prefix_pids; }
# "role microseconds" per line
total() {
    for p in $(pids); do
        r=$(cat /proc/$p/comm 2>/dev/null)
        [ "$p" = "$xvfb" ] && r=xserver
        cat /proc/$p/task/*/schedstat 2>/dev/null | awk -v r="$r" '{s+=$1} END {printf "%s %d\n", r, s/1000}'
    done | awk '{u[$1]+=$2} END {for (r in u) print r, u[r]}'
}
for m in $modes; do
    (cd "$out" && wine ./probe.exe "$m" $((secs + 5)) >"$out/$m.log" 2>&1) &
    sleep 3
    a=$(total); t0=$(date +%s.%N); sleep "$secs"; b=$(total); t1=$(date +%s.%N)
    wait
    dt=$(echo "$t1 - $t0" | bc)
    awk -v m="$m" -v dt="$dt" 'NR == FNR { a[$1] = $2; next } { d = ($2 - a[$1]) / 1e4 / dt; if (d > 0.005) { line = line sprintf(" %s=%.2f", $1, d); t += d } }
        END { printf "%-9s total %.2f %% :%s\n", m, t, line }' <(echo "$a") <(echo "$b")
done
