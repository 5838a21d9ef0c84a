#!/usr/bin/env bash
# Runs the end-to-end tests under Wine on the current X display, one at a time, in the project's
# own Wine prefix with one persistent wineserver; leaves no Wine process behind.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# Wine's errors shown, its other messages not: a program that Wine fails to start (a DLL whose
# start-up failed, the desktop not there) then says why in the test's output, instead of ending
# with no output at all.
export WINEDEBUG="${WINEDEBUG:--all,err+all}"
source "$root/scripts/wine-env.sh"

# Screenshots the tests ask for: screenshots/NAME.request holds the area (WxH+X+Y). The picture
# comes from the X display, which shows menus and captions as a user sees them.
shots="$root/build/windows/screenshots"
mkdir -p "$shots"
take_screenshots() {
    while :; do
        for request in "$shots"/*.request; do
            [ -e "$request" ] || continue
            import -window root -crop "$(cat "$request")" +repage "${request%.request}.png"
            rm -f "$request"
        done
        sleep 0.2
    done
}
take_screenshots &
screenshots=$!

wine_prefix_up "$root/build/wineprefix"
trap 'kill $screenshots; wine_prefix_down' EXIT
ctest --test-dir "$root/build/windows" --output-on-failure "$@"
