// Starting with Windows: where the entry lives and what it holds while autostart is on.
#pragma once

#include <string>

// Below HKEY_CURRENT_USER.
inline constexpr char16_t kRunKeyPath[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char16_t kAutostartValueName[] = u"DeskBroom";

// The quoted path of DeskBroom.exe in the given folder; the quotes keep a folder with blanks
// one argument at log-on. The file name is fixed, whatever name the program runs under.
std::u16string AutostartDatum(const std::u16string& programFolder);

// Any non-empty text means on; the stored path is never compared with the running program.
bool IsAutostartOn(const std::u16string& storedText);
