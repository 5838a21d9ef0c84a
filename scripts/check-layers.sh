#!/usr/bin/env bash
# The portable core must build without Windows: no core file may include a Windows header.
# Core files are the files under src/ that neither end in _win32.{cpp,h} nor lie in src/win32/.
set -uo pipefail
cd "$(dirname "$0")/.."
status=0
for file in $(git ls-files 'src/*.cpp' 'src/*.h' | grep -v -E '(_win32\.(cpp|h)$|^src/win32/)'); do
    if grep -n -i -E '^\s*#\s*include\s*[<"](windows|winuser|winbase|winreg|shellapi|commctrl|wtypes|objbase|oleauto)\.h[>"]' "$file"; then
        echo "$file: a core file includes a Windows header"
        status=1
    fi
done
exit $status
