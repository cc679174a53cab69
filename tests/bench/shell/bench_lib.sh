#!/usr/bin/env bash
# What the Wine benchmarks share, sourced with $root set: a private display and Wine prefix that
# go away when the script ends (after the caller's bench_cleanup, if any), and its processes.
# shellcheck disable=SC2154  # root comes from the sourcing script
bench_start_prefix() {   # STATE
    bench_state=$1
    bash "$root/scripts/wine-harness.sh" start "$bench_state" || return 1
    trap bench_exit EXIT
    trap 'exit 130' INT TERM HUP
    export WINEPREFIX="$bench_state/prefix" WINEDEBUG=-all
    DISPLAY=$(cat "$bench_state/display") && export DISPLAY
}
# shellcheck disable=SC2317  # run by the EXIT trap
bench_exit() {
    if declare -F bench_cleanup >/dev/null; then bench_cleanup; fi
    bash "$root/scripts/wine-harness.sh" stop "$bench_state" >/dev/null 2>&1
}
# The processes of this prefix only (other runs on the machine are skipped), named NAME if given.
prefix_pids() {   # [NAME]
    local d
    for d in /proc/[0-9]*; do
        [ -z "${1:-}" ] || [ "$(cat "$d/comm" 2>/dev/null)" = "$1" ] || continue
        { tr '\0' '\n' <"$d/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null && echo "${d#/proc/}"
    done
}
