// Fuzzes the title pattern matcher: any pattern against any title, checked against the plain
// recursive reading of the language; the filter list must agree with its single patterns.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "closing/filter_list.h"
#include "closing/upper_case.h"
#include "common/text.h"
#include "reference_pattern.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Input: UTF-16 units; the first unit 0xFFFF splits pattern from title. Titles are cut as
    // the program cuts them.
    std::u16string units;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        units += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    }
    const std::size_t split = units.find(u'\xFFFF');
    const std::u16string pattern = units.substr(0, split);
    std::u16string title = split == std::u16string::npos ? u"" : units.substr(split + 1, 127);

    // Characters that show nothing count in neither; a program line never matches a title.
    std::u32string upperPattern = ToCodePoints(UpperCaseText(pattern));
    std::erase_if(upperPattern, IsInvisibleFormatCharacter);
    const std::u32string preparedTitle = PrepareForMatching(title);
    const bool programLine = AsciiUpper(pattern.substr(0, 8)) == u"PROGRAM:";
    const bool matches = !programLine && reference::Matches(preparedTitle, upperPattern);
    if (FilterList({pattern}).Matches(preparedTitle) != matches)
        std::abort();

    const FilterList list({pattern, u"[", u"*Z"});
    const bool zEnd = !preparedTitle.empty() && preparedTitle.back() == U'Z';
    if (list.Matches(preparedTitle) != (matches || zEnd))
        std::abort();
    return 0;
}
