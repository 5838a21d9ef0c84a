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
    setsid Xvfb ":$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$display"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    echo "No display: DeskBroom runs on the virtual display $DISPLAY."
fi

wine_prefix_up "${WINEPREFIX:-$root/build/wineprefix-run}"
# A session of its own: Ctrl+C reaches this script, not DeskBroom, which then ends through its
# own exit path.
setsid wine "$root/build/windows/DeskBroom.exe" &
deskbroom=$!

finish() {
    wine_prefix_down
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    echo "DeskBroom has ended."
    exit 0
}

stop() {
    trap - INT TERM
    echo
    echo "Ending DeskBroom through its own exit path..."
    # Without /f, taskkill asks the program's windows to close, as Exit in its menu does.
    wine taskkill /im DeskBroom.exe >/dev/null 2>&1 || true
    for _ in $(seq 100); do kill -0 "$deskbroom" 2>/dev/null || break; sleep 0.1; done
    finish
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
finish
