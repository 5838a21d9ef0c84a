#!/usr/bin/env bash
# Builds and runs the benchmarks; each prints its ratio against a baseline measured in the same run.
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
