#!/bin/sh
# Saves a picture of the program's main window on a private display:
#   scripts/screenshot-main-window.sh BUILD_DIR [OUTPUT]
# BUILD_DIR is a win64 build tree (the x86_64 program runs here under Wine); OUTPUT
# defaults to docs/hiscores-window.png.
set -eu
build=$(cd "$1" && pwd)
output=${2:-docs/hiscores-window.png}
here=$(dirname "$0")

export WINEPREFIX="$build/wineprefix-screenshot" WINEDEBUG=-all
"$here/wine-prefix.sh" "$WINEPREFIX"

work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
wine_pid=
cleanup() {
    [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
while [ ! -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

wine "$build/hiscores/app/hiscores.exe" &
wine_pid=$!
window=
for _ in $(seq 200); do
    window=$(xdotool search --name '^Tumbra Hiscores$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the main window did not appear" >&2; exit 1; }

# The pointer starts in the middle of the screen; park it away from the window so no
# control shows a hover state, and let the dialog finish painting.
xdotool mousemove 0 0
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$output"
xdotool windowfocus --sync "$window" key Escape
wait "$wine_pid"
wine_pid=
echo "saved $output"
