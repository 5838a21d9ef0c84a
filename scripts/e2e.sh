#!/usr/bin/env bash
# Runs the end-to-end tests under Wine on the current X display, one at a time, in the project's
# own Wine prefix with one persistent wineserver; leaves no Wine process behind.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wine-env.sh"

wine_prefix_up "$root/build/wineprefix"
trap wine_prefix_down EXIT
ctest --test-dir "$root/build/windows" --output-on-failure "$@"
