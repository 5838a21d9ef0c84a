// Upper case from the system's invariant Unicode mapping, the same for every user locale.
#include "closing/upper_case.h"

#include <windows.h>

#include "win32/wide_text.h"

std::u16string UpperCaseText(std::u16string_view text) {
    if (text.empty())
        return {};
    std::wstring wide = ToWide(text);
    std::wstring upper(wide.size(), L'\0');
    // LCMAP_UPPERCASE maps unit for unit, so the output is exactly as long as the input.
    int length = ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.data(),
                                 static_cast<int>(wide.size()), upper.data(),
                                 static_cast<int>(upper.size()), nullptr, nullptr, 0);
    if (length <= 0)
        return std::u16string(text);
    upper.resize(static_cast<size_t>(length));
    return ToU16(upper);
}
