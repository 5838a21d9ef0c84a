#!/usr/bin/env bash
# Builds and runs the benchmarks; each prints its ratio against a baseline measured in the same run:
# the core's benchmarks natively (arguments go to them), then the memory benchmark of
# DeskBroom.exe against a minimal tray program under Wine on a virtual display.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh"
cmake --preset native >/dev/null
cmake --build --preset native
for bench in build/native/bench/*_bench; do
    [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench" "$@"
done

cmake --preset windows >/dev/null
cmake --build --preset windows --target memory_bench
echo "== memory_bench (DeskBroom.exe $(stat -c %s build/windows/DeskBroom.exe) bytes, stripped)"
# The same prefix and persistent wineserver as the end-to-end tests, on a display of its own.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    source "$1/scripts/wine-env.sh"
    wine_prefix_up "$1/build/wineprefix"
    trap wine_prefix_down EXIT
    wine "$1/build/windows/memory_bench.exe"' _ "$root"
