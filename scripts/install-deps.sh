#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing DeskBroom need, if missing.
set -euo pipefail

# fonts-wine (which apt leaves out without the recommends) gives Wine the fonts behind
# "MS Shell Dlg", so that dialog units measure as they do on Windows.
packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev clang-format
    googletest libgtest-dev libbenchmark-dev
    g++-mingw-w64-x86-64-posix
    wine wine64 fonts-wine xvfb xauth x11-utils imagemagick
    nsis python3-jsonschema python3-yaml
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
