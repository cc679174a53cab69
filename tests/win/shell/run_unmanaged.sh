#!/usr/bin/env bash
# Runs a Wine test program with its windows left unmanaged by the display's window manager. The
# shell's message-level tests check what the program asks for (activation, focus, z-order) right
# after asking; a managed window gets those from the manager, later, and Wine 8 never asks the
# manager to activate one (a second start's raise and focus then fail here although the program
# did its part). The setting is for this one program name only.
set -u
exe=${1:?usage: run_unmanaged.sh PROGRAM.exe [args]}
shift
name=$(basename "$exe")
wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$name\\X11 Driver" /v Managed /d N /f \
    >/dev/null 2>&1
exec wine "$exe" "$@"
