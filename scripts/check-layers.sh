#!/usr/bin/env bash
# Two rules. The portable core must build without Windows: no core file may include a Windows
# header (core files are the files under src/ that neither end in _win32.{cpp,h} nor lie in
# src/win32/). Dependencies point down: src/app/ uses the features and helpers, and no file
# outside src/app/ includes from it.
set -uo pipefail
cd "$(dirname "$0")/.."
status=0
for file in $(git ls-files --cached --others --exclude-standard 'src/*.cpp' 'src/*.h' | grep -v -E '(_win32\.(cpp|h)$|^src/win32/)'); do
    if grep -n -i -E '^\s*#\s*include\s*[<"](windows|winuser|winbase|winreg|shellapi|commctrl|wtypes|objbase|oleauto)\.h[>"]' "$file"; then
        echo "$file: a core file includes a Windows header"
        status=1
    fi
done
for file in $(git ls-files --cached --others --exclude-standard 'src/*.cpp' 'src/*.h' | grep -v '^src/app/'); do
    if grep -n -E '^\s*#\s*include\s*"app/' "$file"; then
        echo "$file: a file outside src/app/ includes from src/app/"
        status=1
    fi
done
exit $status
