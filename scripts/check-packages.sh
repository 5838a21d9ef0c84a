#!/usr/bin/env bash
# What a Windows user downloads: the DeskBroom.exe in the ZIP and the one the installer packs are
# stripped (no symbol table, no debug sections), and the program's and the installer's file
# properties name the product, its version, a description and the copyright. SHA256SUMS holds
# the packages' hashes (sha256sum -c), and the winget and Scoop manifests pass their schemas and
# name the same hashes. Prints the sizes.
set -uo pipefail
build="$(cd "$1" && pwd)"
zip=$(ls "$build"/DeskBroom-*-win64.zip 2>/dev/null)
setup=$(ls "$build"/DeskBroom-*-win64-setup.exe 2>/dev/null)
[ -f "$zip" ] && [ -f "$setup" ] || { echo "no packages in $build"; exit 1; }
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$zip") || { echo "cannot unpack $zip"; exit 1; }

status=0
for exe in "$unpacked/DeskBroom.exe" "$build/release-stage/DeskBroom.exe"; do
    headers=$(x86_64-w64-mingw32-objdump -p -h "$exe")
    if ! grep -q 'symbols stripped' <<<"$headers" || grep -q '\.debug' <<<"$headers"; then
        echo "BAD  $exe is not stripped"
        status=1
    fi
done
# A string of a file's version resource (UTF-16, the key followed by its value).
property() { strings -el "$1" | grep -A1 -x "$2" | sed -n 2p; }
version=$(basename "$zip" | sed -E 's/^DeskBroom-(.*)-win64\.zip$/\1/')
for file in "$unpacked/DeskBroom.exe" "$setup"; do
    if [ "$(property "$file" ProductName)" != DeskBroom ] ||
        [ "$(property "$file" ProductVersion)" != "$version" ] ||
        [ -z "$(property "$file" FileDescription)" ] ||
        [[ "$(property "$file" LegalCopyright)" != "Copyright (C) "* ]]; then
        echo "BAD  $(basename "$file"): the file properties lack product, version $version, description or copyright"
        status=1
    fi
done
(cd "$build" && sha256sum --strict -c SHA256SUMS) || { echo "BAD  SHA256SUMS"; status=1; }
[ "$(wc -l <"$build/SHA256SUMS")" -eq 2 ] || { echo "BAD  SHA256SUMS lists not just the two packages"; status=1; }
# The schemas, copied unchanged from their projects (packaging/schemas/README.md says whence).
root="$(cd "$(dirname "$0")/.." && pwd)"
schemas="${DESKBROOM_SCHEMAS:-$root/packaging/schemas}"
python3 "$root/scripts/check-manifests.py" "$build" "$schemas" || status=1
printf '%-40s %9s bytes\n' "DeskBroom.exe (built)" "$(stat -c %s "$build/DeskBroom.exe")" \
    "DeskBroom.exe (packaged)" "$(stat -c %s "$unpacked/DeskBroom.exe")" \
    "$(basename "$zip")" "$(stat -c %s "$zip")" "$(basename "$setup")" "$(stat -c %s "$setup")"
exit $status
