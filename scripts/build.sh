#!/usr/bin/env bash
# Configures and builds the configurations under build/: native (portable code and its tests,
# with sanitizers), windows (kirelo.exe and the Win32 tests, MinGW-w64) and fuzz (clang, libFuzzer).
#   build.sh [native] [windows] [fuzz]     default: all three
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
configs=("$@")
[ ${#configs[@]} -eq 0 ] && configs=(native windows fuzz)
for c in "${configs[@]}"; do
    dir="$root/build/$c"
    case "$c" in
        native) args=(-DCMAKE_BUILD_TYPE=Debug) ;;
        windows) args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake") ;;
        fuzz) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIRELO_FUZZ=ON -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14) ;;
        *) echo "build.sh: unknown configuration $c"; exit 2 ;;
    esac
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$dir" "${args[@]}" >/dev/null
    fi
    echo "== building $c"
    if ! cmake --build "$dir" -j "$jobs" >"$dir/build.log" 2>&1; then
        grep -v -E '^\[ *[0-9]+%\]' "$dir/build.log" | tail -n 80
        echo "build.sh: the $c build failed (full log: $dir/build.log)"
        exit 1
    fi
done
