#!/usr/bin/env bash
# Installs what is missing, builds DeskBroom.exe and starts it under Wine: on $DISPLAY when there
# is one, otherwise on a virtual display of its own, with a screenshot of the tray icon.
# Ctrl+C ends DeskBroom through its own exit path, so that its icon leaves the tray.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

"$root/scripts/install-deps.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target DeskBroom
source "$root/scripts/wine-env.sh"

xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
    display=99
    while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$display"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    echo "No display: DeskBroom runs on the virtual display $DISPLAY."
fi

wine_prefix_up "${WINEPREFIX:-$root/build/wineprefix-run}"
wine "$root/build/windows/DeskBroom.exe" &
deskbroom=$!

stop() {
    echo
    echo "Ending DeskBroom through its own exit path..."
    # Without /f, taskkill asks the program's windows to close, as Exit in its menu does.
    wine taskkill /im DeskBroom.exe >/dev/null 2>&1 || true
    wait "$deskbroom" 2>/dev/null || true
    wine_prefix_down
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    echo "DeskBroom has ended."
    exit 0
}
trap stop INT TERM

echo "DeskBroom is running (its icon is in the tray). Press Ctrl+C to end it."
if [ -n "$xvfb_pid" ]; then
    for _ in $(seq 300); do xwininfo -name "Wine System Tray" >/dev/null 2>&1 && break; sleep 0.1; done
    sleep 1
    shot="$root/build/deskbroom-tray.png"
    import -window root -crop 400x200+0+0 "$shot" && echo "Screenshot of the tray icon: $shot"
fi
wait "$deskbroom" || true
wine_prefix_down
[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
echo "DeskBroom has ended."
