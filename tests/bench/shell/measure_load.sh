#!/usr/bin/env bash
# Measures the load of the real kirelo.exe under Wine on a private virtual display: CPU share,
# peak and final resident memory and thread count, with the frame wait on and with it off.
#   usage: measure_load.sh [SECONDS [EXE]]   (SECONDS also from KIRELO_BENCH_SECONDS, default 60)
set -u
root=$(cd "$(dirname "$0")/../../.." && pwd)
secs=${1:-${KIRELO_BENCH_SECONDS:-60}}
exe=${2:-$root/build/windows/shell/kirelo.exe}
warmup=8   # the splash and start-up are left out of the CPU figure
bench=$root/build/bench-shell
state=$bench/state

case "$secs" in '' | *[!0-9]*) echo "measure_load: SECONDS must be a whole number" >&2; exit 2 ;; esac
if [ "$secs" -le $((warmup + 2)) ]; then
    echo "measure_load: SECONDS must be more than $((warmup + 2))" >&2; exit 2
fi
if [ ! -f "$exe" ]; then echo "measure_load: no program at $exe" >&2; exit 2; fi
exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
mkdir -p "$bench"

# shellcheck source=tests/bench/shell/bench_lib.sh
. "$root/tests/bench/shell/bench_lib.sh"
pid="" launcher=""
# Stops the program (kill, then kill -9) and the wine command that started it.
stop_program() {
    local p
    for p in $pid $launcher; do
        kill "$p" 2>/dev/null || continue
        for _ in $(seq 1 25); do kill -0 "$p" 2>/dev/null || break; sleep 0.2; done
        kill -9 "$p" 2>/dev/null
    done
    [ -z "$launcher" ] || wait "$launcher" 2>/dev/null
    pid="" launcher=""
}
# shellcheck disable=SC2317  # run by the EXIT trap
bench_cleanup() { stop_program; }

echo "measure_load: starting display and Wine prefix in $state"
bench_start_prefix "$state" || exit 1
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
tck=$(getconf CLK_TCK)

# The kirelo.exe process of this prefix.
find_program() { prefix_pids kirelo.exe | head -n 1 | grep .; }
now() { date +%s.%N; }
ticks() { sed 's/^.*) //' "/proc/$pid/stat" 2>/dev/null | awk '{ print $12 + $13 }'; }
status_kb() { awk -v k="$1:" '$1 == k { print $2 }' "/proc/$pid/status" 2>/dev/null; }

rows=()
failed=0
measure() {   # NAME WAIT_SETTING(on|off)
    local name=$1 dir=$bench/run-$1 t0 t base_t="" base_k="" end_t end_k hwm rss threads cpu
    rm -rf "$dir" && mkdir -p "$dir" && cp "$exe" "$dir/kirelo.exe"
    if [ "$2" = off ]; then printf '[Status]\r\nWait ON=0\r\n' >"$dir/kirelo.ini"; fi
    (cd "$dir" && exec env LC_ALL=ja_JP.UTF-8 wine ./kirelo.exe >"$dir/wine.log" 2>&1 </dev/null) &
    launcher=$!   # LC_ALL=ja_JP.UTF-8 makes Wine use code page 932, as the program expects
    for _ in $(seq 1 150); do pid=$(find_program) && break; sleep 0.2; done
    if [ -z "$pid" ]; then
        echo "measure_load: $name: kirelo.exe did not start (see $dir/wine.log)" >&2
        failed=1; stop_program; return
    fi
    echo "measure_load: $name: pid $pid, measuring for ${secs}s"
    t0=$(now)
    while :; do
        sleep 1
        t=$(now); end_k=$(ticks); end_t=$t
        if [ -z "$end_k" ]; then
            echo "measure_load: $name: kirelo.exe ended early (see $dir/wine.log)" >&2
            failed=1; stop_program; return
        fi
        hwm=$(status_kb VmHWM); rss=$(status_kb VmRSS); threads=$(status_kb Threads)
        if [ -z "$base_t" ] && awk -v a="$t" -v b="$t0" -v w="$warmup" 'BEGIN { exit !(a - b >= w) }'; then
            base_t=$t; base_k=$end_k
        fi
        awk -v a="$t" -v b="$t0" -v s="$secs" 'BEGIN { exit !(a - b >= s) }' && break
    done
    stop_program
    cpu=$(awk -v k=$((end_k - base_k)) -v hz="$tck" -v a="$end_t" -v b="$base_t" \
        'BEGIN { printf "%.1f", 100 * k / hz / (a - b) }')
    rows+=("$(printf '%-10s %8s %14.1f %15.1f %8s' "$name" "$cpu" \
        "$(awk -v v="$hwm" 'BEGIN { print v / 1024 }')" \
        "$(awk -v v="$rss" 'BEGIN { print v / 1024 }')" "$threads")")
}

measure wait-on on
measure wait-off off

echo
echo "kirelo.exe load over ${secs}s per run (CPU after the first ${warmup}s, % of one core)"
printf '%-10s %8s %14s %15s %8s\n' run "CPU %" "peak RSS MiB" "final RSS MiB" threads
for r in "${rows[@]}"; do echo "$r"; done
exit "$failed"
