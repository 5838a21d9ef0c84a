// The C library's upper case for the native build.
#include "closing/upper_case.h"

#include "common/text.h"

#ifndef _WIN32
#include <clocale>
#include <cwctype>
#include <locale.h>
#endif

#ifndef _WIN32
// Windows has its own mapping (upper_case_win32.cpp); natively towupper in a UTF-8 locale holds
// the Unicode tables. The locale is made once and never changes the process's global one.
std::u16string UpperCaseText(std::u16string_view text) {
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    std::u16string upper;
    upper.reserve(text.size());
    for (char32_t point : ToCodePoints(text)) {
        if (utf8 != static_cast<locale_t>(0) && !IsSurrogate(point)) {
            auto mapped = towupper_l(static_cast<wint_t>(point), utf8);
            if (mapped > 0 && static_cast<char32_t>(mapped) <= 0x10FFFF) {
                point = static_cast<char32_t>(mapped);
            }
        }
        AppendCodePoint(upper, point);
    }
    return upper;
}
#endif
