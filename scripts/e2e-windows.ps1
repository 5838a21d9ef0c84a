# Runs the end-to-end program on Windows 10 or 11 itself, with DeskBroom.exe, its helpers and its
# packages from a folder built by the windows preset (build/windows, or the CI's artifact).
# The tests act as the user: they ask every open window to close, install and uninstall
# DeskBroom for the current user and use the clipboard. Run it where nothing else is open.
#
#   powershell -ExecutionPolicy Bypass -File scripts\e2e-windows.ps1 [-Folder DIR] [-Filter GTEST_FILTER]
param(
    [string]$Folder = (Join-Path $PSScriptRoot '..\build\windows'),
    [string]$Filter = '*'
)
$ErrorActionPreference = 'Stop'
$Folder = (Resolve-Path $Folder).Path

# The ZIP test finds the portable program unpacked, as a user's unzip would, in a folder with
# blanks and non-ANSI characters (written as code points: Windows PowerShell reads this file in
# the ANSI code page).
$awkward = 'Pr' + [char]0xFC + 'fung ' + [char]0x65E5 + [char]0x672C + ' ' +
    [char]0x0414 + [char]0x0435 + [char]0x0441 + [char]0x043A
$unpacked = Join-Path (Join-Path $Folder 'release-test') $awkward
if (Test-Path -LiteralPath $unpacked) { Remove-Item -LiteralPath $unpacked -Recurse -Force }
$zip = Get-ChildItem -Path $Folder -Filter 'DeskBroom-*-win64.zip' | Select-Object -First 1
Expand-Archive -LiteralPath $zip.FullName -DestinationPath $unpacked

# The tests click DeskBroom's icon, so it must be in sight, not behind the taskbar's arrow.
# Windows 10: show every icon. Windows 11 lists each program path once it has shown an icon
# (every test starts its own copy of DeskBroom.exe): promote those as they come.
Set-ItemProperty -Path 'HKCU:\Software\Microsoft\Windows\CurrentVersion\Explorer' `
    -Name EnableAutoTray -Value 0 -Type DWord
$promoter = Start-Job -ScriptBlock {
    while ($true) {
        Get-ChildItem -Path 'HKCU:\Control Panel\NotifyIconSettings' -ErrorAction SilentlyContinue |
            Where-Object { (Get-ItemProperty -LiteralPath $_.PSPath).ExecutablePath -like '*\DeskBroom.exe' } |
            ForEach-Object { Set-ItemProperty -LiteralPath $_.PSPath -Name IsPromoted -Value 1 -Type DWord }
        Start-Sleep -Milliseconds 200
    }
}

try {
    $results = Join-Path $Folder 'e2e-results.xml'
    & (Join-Path $Folder 'deskbroom_e2e.exe') "--gtest_filter=$Filter" "--gtest_output=xml:$results"
    $status = $LASTEXITCODE
} finally {
    Stop-Job $promoter
    Remove-Job $promoter
}
exit $status
