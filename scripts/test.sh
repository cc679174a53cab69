#!/usr/bin/env bash
# The one test command: installs what is missing, builds every configuration and runs every test
# (native, Wine, fuzz) with one CTest run over all build trees.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" native windows fuzz
cat >"$root/build/CTestTestfile.cmake" <<CT
subdirs("native")
subdirs("windows")
subdirs("fuzz")
CT
cd "$root/build"
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" "$@"
