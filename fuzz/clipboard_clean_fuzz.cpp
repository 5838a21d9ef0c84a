// The cleaning against one removal pass per code, for any text and any step length.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "clipboard/clipboard_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    std::size_t chunk = std::size_t{data[0]} * 8 + data[1];
    std::u16string text((size - 2) / 2, u'\0');
    std::memcpy(text.data(), data + 2, text.size() * 2);

    std::u16string expected = text;
    for (char16_t code = 0; code < 32; ++code) {
        if (code != u'\t' && code != u'\n' && code != u'\r')
            std::erase(expected, code);
    }

    std::u16string stepped = text;
    ChunkedCleaning result =
        RemoveControlCharacters(stepped.data(), stepped.size(), chunk, [] { return true; });
    stepped.resize(result.length);
    if (!result.completed || stepped != expected)
        __builtin_trap();
    return 0;
}
