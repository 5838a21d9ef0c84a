// Starting with Windows: where the entry lives and what it holds while autostart is on.
#include "system/autostart.h"

std::u16string AutostartDatum(const std::u16string& programFolder) {
    return u"\"" + programFolder + u"\\DeskBroom.exe\"";
}

bool IsAutostartOn(const std::u16string& storedText) {
    return !storedText.empty();
}
