#!/usr/bin/env bash
# Links a font with Japanese glyphs (IPAGothic, from fonts-ipafont-gothic) to the fonts Wine draws
# menus, message boxes and tooltips with, in the prefix named by WINEPREFIX. Wine links them only
# in a Japanese locale; in any other the Japanese texts would show as empty squares.
#   wine-fontlink.sh     (with WINEPREFIX, DISPLAY and the wine to use in the environment)
set -u
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in "Tahoma" "Tahoma Bold" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" \
    "Segoe UI" "MS Sans Serif" "Arial"; do
    wine reg add "$key" /v "$face" /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f >/dev/null 2>&1 || {
        echo "wine-fontlink: cannot link a Japanese font to $face"
        exit 1
    }
done
