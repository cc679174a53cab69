#!/usr/bin/env bash
# Runs a Wine test program with its windows left unmanaged by the (absent) X window manager:
# Wine otherwise waits two seconds for a manager at every hide of an activated window, which
# the virtual display of the tests never has. The setting is for this one program name only.
set -u
exe=${1:?usage: run_unmanaged.sh PROGRAM.exe [args]}
shift
name=$(basename "$exe")
wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$name\\X11 Driver" /v Managed /d N /f \
    >/dev/null 2>&1
exec wine "$exe" "$@"
