#!/usr/bin/env bash
# Installs with apt-get whatever the build, the tests and the run need and is not there yet.
# Idempotent and quiet when everything is present. Debian 12, run as root (or with sudo).
set -eu
packages=(
    cmake make g++ python3
    g++-mingw-w64-x86-64-win32
    wine wine64
    locales zip unzip
    xvfb xdotool x11-apps x11-utils imagemagick fonts-ipafont-gothic bc libx11-dev libxext-dev procps
    openbox
    fp-utils
    # Xorg with the dummy driver and xrandr: a desktop of two monitors of different sizes, which
    # Xvfb cannot make (../shared/displays/two-monitors.sh).
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    # The window manager of the end-to-end desktop.
    openbox
    googletest libbenchmark-dev
    clang-14 libclang-rt-14-dev
)
# Wine takes its code page from the locale's name, but names its Linux files in the locale's
# character set only when the locale exists: without them a file name outside ASCII cannot be
# made or opened. Japanese (932) is the program's own; en_US is the Western test (1252).
locales=(ja_JP.UTF-8 en_US.UTF-8)
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "install-deps: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
generate=()
for l in "${locales[@]}"; do
    echo "$have" | grep -qx "$(echo "$l" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')" || generate+=("$l")
done
if [ ${#generate[@]} -gt 0 ]; then
    echo "install-deps: generating the locales ${generate[*]}"
    for l in "${generate[@]}"; do
        grep -q "^$l UTF-8" /etc/locale.gen 2>/dev/null ||
            echo "$l UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    done
    $SUDO locale-gen >/dev/null
fi
