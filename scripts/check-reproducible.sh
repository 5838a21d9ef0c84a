#!/usr/bin/env bash
# Two clean clones of the committed HEAD, in folders of different names and depths, each build
# DeskBroom.exe and its packages (the windows preset, nothing else); every file must come out the
# same, byte for byte. Prints the hashes.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
one="$work/one"
two="$work/second build/of the same commit"
for tree in "$one" "$two"; do
    git clone -q --no-local "$root" "$tree" || exit 1
    (cd "$tree" && cmake --preset windows >/dev/null &&
        cmake --build --preset windows -j2 --target packages >/dev/null) || {
        echo "the build in $tree failed"
        exit 1
    }
done
status=0
for file in DeskBroom.exe DeskBroom-*-win64.zip DeskBroom-*-win64-setup.exe SHA256SUMS; do
    for built in "$one"/build/windows/$file; do
        name=$(basename "$built")
        other="$two/build/windows/$name"
        if cmp -s "$built" "$other"; then
            echo "same  $(sha256sum "$built" | cut -d' ' -f1)  $name"
        else
            echo "BAD   $name differs between the two builds: $(cmp "$built" "$other" | head -n 1)"
            status=1
        fi
    done
done
exit $status
