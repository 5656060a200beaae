#!/usr/bin/env bash
# Builds Velt and runs it under Wine in a virtual desktop, so that Velt sees every key.
# With an X display (DISPLAY set) the desktop opens as a window there and Velt runs until you
# exit it from its tray menu. Without one, Velt runs for a few seconds on a private Xvfb display,
# screenshots are left at build/velt-screenshot.png (the tray menu) and build/velt-overview.png
# (the overview held open), and Velt is ended cleanly.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh" win
source "$root/tools/wine-env.sh"

if [ -n "${DISPLAY:-}" ]; then
    velt_wine_prefix "$root/build/wine-prefix"
    cd "$root/dist/Velt"
    exec wine Velt.exe
fi

velt_display_start
trap velt_wine_stop EXIT
velt_wine_prefix "$root/build/wine-prefix"
cd "$root/dist/Velt"
# A window of another program, so that the current desktop's thumbnail shows something.
wine notepad &
wine Velt.exe &
velt=$!
sleep "${VELT_RUN_SECONDS:-6}"
# Rest the pointer on Velt's tray icon so that its menu is in the picture: the only icon in the
# notification area, at the right end of the taskbar along the screen's bottom edge.
width=${VELT_SCREEN%x*}
height=${VELT_SCREEN#*x}
xdotool mousemove $((width - 12)) $((height - 10)) sleep 0.2 \
    mousemove $((width - 11)) $((height - 10)) sleep 1
shot="$root/build/velt-screenshot.png"
import -window root "$shot"
xdotool mousemove 500 300 click 1
# Hold the overview hotkey of the starter Config.ini (Ctrl + Shift + Alt) until the panel shows,
# then take a second picture with it open.
overview="$root/build/velt-overview.png"
xdotool keydown ctrl shift alt
wine "$root/build/win/tools/velt-close.exe" --wait-shown >/dev/null 2>&1 || true
sleep 0.5 # the first paint of the glass
import -window root "$overview"
xdotool keyup alt shift ctrl
# Ask Velt to close its main window: the shutdown shows every hidden window again.
wine "$root/build/win/tools/velt-close.exe" >/dev/null 2>&1 || true
wait "$velt" || true
echo "Velt ran for ${VELT_RUN_SECONDS:-6} s; screenshots: $shot, $overview"
