// Starting with Windows: what the Run value holds while autostart is on.
#include "system/autostart.h"

std::u16string AutostartDatum(const std::u16string& programFolder) {
    return u"\"" + programFolder + u"\\DeskBroom.exe\"";
}

bool StartupApprovedMeansOff(const std::vector<std::uint8_t>& datum) {
    return !datum.empty() && (datum.front() & 1) != 0;
}
