// Starting with Windows: the "DeskBroom" value of the user's Run key, what it holds while
// autostart is on, and the switch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Below HKEY_CURRENT_USER.
inline constexpr char16_t kRunKeyPath[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char16_t kAutostartValueName[] = u"DeskBroom";
// Where Task Manager and Settings keep an entry of the Run key switched off, by the same name.
inline constexpr char16_t kStartupApprovedRunPath[] =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// The quoted path of DeskBroom.exe in the given folder; the quotes keep a folder with blanks
// one argument at log-on. The file name is fixed, whatever name the program runs under.
std::u16string AutostartDatum(const std::u16string& programFolder);

// Whether the entry's datum under StartupApproved\Run says Task Manager or Settings switched it
// off: its first byte has its lowest bit set (they write 02 or 06 for on, 03 or 07 for off).
// No datum: never switched off.
bool StartupApprovedMeansOff(const std::vector<std::uint8_t>& datum);

// Whether Windows starts DeskBroom at log-on: the Run value holds a non-empty "DeskBroom" value
// and StartupApproved has not switched it off.
bool IsAutostartOn();

// On: the quoted path of DeskBroom.exe in the program's folder, creating the key when needed,
// and the entry no longer switched off in Task Manager. Off: the empty text, never a deleted
// value.
void SetAutostart(bool on);
