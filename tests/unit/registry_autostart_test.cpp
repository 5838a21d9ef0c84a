// The autostart entry as stored in the Run key, and Task Manager's switch beside it.
#include <gtest/gtest.h>

#include "system/autostart.h"

namespace {

TEST(AutostartDatum, QuotedExecutablePathInTheProgramFolder) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"C:\\Tools", u"\"C:\\Tools\\DeskBroom.exe\""},
        {u"C:\\Program Files\\Desk Broom", u"\"C:\\Program Files\\Desk Broom\\DeskBroom.exe\""},
        {u"C:\\Users\\J\u00F6rg\\\u684C\u9762 \u0418\u043D\u0441\u0442\u0440",
         u"\"C:\\Users\\J\u00F6rg\\\u684C\u9762 \u0418\u043D\u0441\u0442\u0440\\DeskBroom.exe\""},
        // A character outside the basic plane travels as its surrogate pair.
        {u"D:\\\U0001F9F9", u"\"D:\\\U0001F9F9\\DeskBroom.exe\""},
        // The program folder of a drive root comes without its separator.
        {u"E:", u"\"E:\\DeskBroom.exe\""},
        {u"\\\\server\\share\\apps", u"\"\\\\server\\share\\apps\\DeskBroom.exe\""},
    };
    for (const auto& [folder, datum] : cases)
        EXPECT_EQ(AutostartDatum(folder), datum);
}

// Task Manager writes 02 or 06 for on and 03 or 07 for off, followed by the time of the switch.
TEST(StartupApprovedMeansOff, TheLowestBitOfTheFirstByte) {
    const std::pair<std::vector<std::uint8_t>, bool> cases[] = {
        {{}, false}, {{2, 0, 0, 0, 0x31}, false}, {{6}, false},
        {{3}, true}, {{7, 0, 0, 0, 0x31}, true},  {{2, 1}, false},
    };
    for (const auto& [datum, off] : cases)
        EXPECT_EQ(StartupApprovedMeansOff(datum), off) << testing::PrintToString(datum);
}

}  // namespace
