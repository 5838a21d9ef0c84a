#!/usr/bin/env bash
# DeskBroom.exe must run wherever it is copied: it may import system DLLs only.
set -uo pipefail
exe="$1"
allowed='^(KERNEL32|USER32|GDI32|SHELL32|ADVAPI32|VERSION|COMCTL32|OLE32|OLEAUT32|SHLWAPI|UXTHEME|MSVCRT|api-ms-win-[a-z0-9-]+)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$dlls" ] || { echo "no imports read from $exe"; exit 1; }
status=0
for dll in $dlls; do
    if echo "$dll" | grep -q -i -E "$allowed"; then
        echo "ok   $dll"
    else
        echo "BAD  $dll is not a system DLL"
        status=1
    fi
done
# Hotkeys come from the system's hotkey registration; no hook watches the desktop's input.
if x86_64-w64-mingw32-objdump -p "$exe" | grep -q -E '\bSetWindowsHookEx[AW]?\b'; then
    echo "BAD  SetWindowsHookEx is imported"
    status=1
fi
exit $status
