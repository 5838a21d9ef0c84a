#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing DeskBroom need, if missing, and
# the CI workflow's validator (an npm package) into build/tools/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# fonts-wine (which apt leaves out without the recommends) gives Wine the fonts behind
# "MS Shell Dlg", so that dialog units measure as they do on Windows.
packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev clang-format
    googletest libgtest-dev libbenchmark-dev
    g++-mingw-w64-x86-64-posix
    wine wine64 fonts-wine xvfb xauth x11-utils imagemagick
    nsis python3-jsonschema python3-yaml nodejs
)
# Some Node.js builds bring npm along; Debian's own has it as a package of its own.
command -v npm >/dev/null || packages+=(npm)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The workflow validator, at a fixed version, beside the build trees (not in the checkout's files).
validator="$root/build/tools/action-validator"
if [ ! -x "$validator/node_modules/.bin/action-validator" ]; then
    echo "Installing the workflow validator into $validator"
    mkdir -p "$validator"
    npm install --silent --no-audit --no-fund --prefix "$validator" \
        @action-validator/core@0.6.0 @action-validator/cli@0.6.0 >/dev/null
fi
