// Text as the bytes that hold it in UTF-16, as files and registry values hold it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Little-endian, as Windows writes it, unless asked for big-endian; `withNul` adds the
// terminating unit.
inline std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text, bool withNul,
                                            bool bigEndian = false) {
    std::u16string units(text);
    if (withNul)
        units += u'\0';
    std::vector<std::uint8_t> bytes;
    for (char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(bigEndian ? unit >> 8 : unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(bigEndian ? unit & 0xFF : unit >> 8));
    }
    return bytes;
}
