#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test: format and layer checks, the
# Windows sources through clang as a second compiler, the CI workflow's validation, the unit tests
# natively (plain and under ASan + UBSan), the fuzz targets, the import check of DeskBroom.exe, the
# packages (portable ZIP and installer, built with it; their program must be stripped, SHA256SUMS
# and the winget and Scoop manifests must check out against the files and the schemas, and two
# clean clones must build them byte for byte alike) and the end-to-end tests under Wine on a
# virtual display, the packages' included.
# Ends with one line "N passed, N failed" and exits non-zero on any failure.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

"$root/scripts/install-deps.sh" || { echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
failures=()
log_dir="$root/build/logs"
mkdir -p "$log_dir"

pass() { passed=$((passed + 1)); echo "PASS  $1"; }
fail() { failed=$((failed + 1)); failures+=("$1"); echo "FAIL  $1"; }

# A single check: passes when the command succeeds.
check() {
    local name="$1"; shift
    if "$@" >"$log_dir/$name.log" 2>&1; then pass "$name"; else fail "$name"; tail -n 30 "$log_dir/$name.log"; fi
}

# A ctest run: counts its tests; a build failure counts as one failure.
run_ctest() {
    local name="$1"; shift
    local log="$log_dir/$name.log"
    "$@" >"$log" 2>&1
    local status=$?
    local summary
    summary=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$summary" ]; then
        if grep -q 'No tests were found' "$log"; then echo "----  $name: no tests"; return; fi
        fail "$name (did not run)"; tail -n 40 "$log"; return
    fi
    local bad total
    bad=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
    total=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    echo "      $name: $((total - bad)) passed, $bad failed"
    if [ "$bad" -ne 0 ] || [ $status -ne 0 ]; then
        failures+=("$name")
        grep -E '^\s+[0-9]+ - |Failure|FAILED' "$log" | head -n 40
    fi
}

build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1"; }

# Checks of the tree itself.
check format clang-format --dry-run --Werror $(git ls-files '*.cpp' '*.h')
check layers "$root/scripts/check-layers.sh"
check clang-windows "$root/scripts/check-clang-windows.sh"
check workflow "$root/build/tools/action-validator/node_modules/.bin/action-validator" .github/workflows/ci.yml

# The portable core, natively.
# (A tree whose build failed runs no tests: stale binaries must not pass for new code.)
if check native-build build native; then
    run_ctest unit ctest --test-dir build/native
fi
if check asan-build build native-asan; then
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_ctest unit-asan ctest --test-dir build/native-asan
fi
if compgen -G "fuzz/*_fuzz.cpp" >/dev/null && check fuzz-build build fuzz; then
    run_ctest fuzz ctest --test-dir build/fuzz
fi

# DeskBroom.exe, its packages and the end-to-end tests under Wine.
if check windows-build build windows; then
    check imports "$root/scripts/check-imports.sh" build/windows/DeskBroom.exe
    check packages "$root/scripts/check-packages.sh" build/windows
    check reproducible "$root/scripts/check-reproducible.sh"
    run_ctest e2e xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/e2e.sh"
fi

echo
[ ${#failures[@]} -gt 0 ] && echo "Failed: ${failures[*]} (logs in build/logs)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
