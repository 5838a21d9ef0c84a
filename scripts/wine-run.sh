#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest. Wine's own background processes (services, the
# desktop) outlive the program and inherit its output; they get a file, not ctest's pipe, so
# that ctest does not wait for them.
out="$(mktemp)"
wine "$@" >"$out" 2>&1
status=$?
cat "$out"
rm -f "$out"
exit $status
