#!/usr/bin/env bash
# Pictures of the configuration window's two pages and of the About window before and after its
# zoom, for the README: docs/*.png. Runs the windows as Velt shows them (build/win/tools/velt-shots)
# in a Wine desktop large enough for the grown About window, on a private Xvfb display, beside a
# copy of Velt's skin folder and a Config.ini that picks a skin, a hotkey and edge switching.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh" win
export VELT_SCREEN=1280x1100
source "$root/tools/wine-env.sh"

work=$(mktemp -d)
trap 'velt_wine_stop; rm -rf "$work"' EXIT
cp "$root/build/win/tools/velt-shots.exe" "$work/"
cp -r "$root/dist/Velt/skin" "$work/skin"
first=$(ls "$work/skin" | head -n1)
printf '[Main]\r\nCorner=True\r\nBackground=%s\r\n[Keys]\r\nControl0=17\r\nShift0=16\r\nAlt0=81\r\n' \
    "$first" >"$work/Config.ini"
mkdir -p "$root/docs"

velt_display_start
velt_wine_prefix "$root/build/shots-prefix"
cd "$work"
wine velt-shots.exe "$root/docs"
echo "Pictures in $root/docs:" $(cd "$root/docs" && ls *.png)
