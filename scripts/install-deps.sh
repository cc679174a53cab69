#!/usr/bin/env bash
# Installs with apt-get whatever the build, the tests and the run need and is not there yet.
# Idempotent and quiet when everything is present. Debian 12, run as root (or with sudo).
set -eu
packages=(
    cmake make g++ python3
    g++-mingw-w64-x86-64-win32
    wine wine64
    xvfb xdotool x11-apps x11-utils imagemagick fonts-ipafont-gothic bc libx11-dev procps
    fp-utils
    googletest libbenchmark-dev
    clang-14 libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
