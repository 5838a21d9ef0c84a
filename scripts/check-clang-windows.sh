#!/usr/bin/env bash
# The second compiler: every source file of DeskBroom.exe checked by Debian's clang for 64-bit
# Windows against the MinGW-w64 headers and libstdc++, with the warnings as errors. What one
# compiler lets pass, the other may not.
set -uo pipefail
cd "$(dirname "$0")/.."
gcc_dir="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
# Only the MinGW-w64 tree: the build machine's own C and C++ headers are for Linux.
flags=(--target=x86_64-w64-mingw32 -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror
       -nostdlibinc -isystem "$gcc_dir/include/c++" -isystem "$gcc_dir/include/c++/x86_64-w64-mingw32"
       -isystem "$gcc_dir/include/c++/backward" -isystem /usr/x86_64-w64-mingw32/include
       -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0A00 -DWINVER=0x0A00
       -Isrc)
git ls-files -z --cached --others --exclude-standard 'src/*.cpp' |
    xargs -0 -n 1 -P "$(nproc)" bash -c 'clang++ "$@" || { echo "${*: -1}: clang found faults"; exit 255; }' \
        clang "${flags[@]}"
