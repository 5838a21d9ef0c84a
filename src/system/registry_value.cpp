// Decoding of registry data into the texts and numbers the program works with.
#include "system/registry_value.h"

#include "common/text.h"

namespace registry {

namespace {

std::int32_t LittleEndianInt32(std::span<const std::uint8_t> data) {
    return static_cast<std::int32_t>(data[0] | (data[1] << 8) | (data[2] << 16) |
                                     (std::uint32_t{data[3]} << 24));
}

// The text of a string datum (UTF-16 bytes): up to its first NUL, whether or not the writer
// stored one; an odd last byte is not part of any character.
std::u16string StringDatumText(std::span<const std::uint8_t> data) {
    std::u16string text;
    text.reserve(data.size() / 2);
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        // Registry data is little-endian UTF-16.
        char16_t unit = Utf16Unit(data[i], data[i + 1]);
        if (unit == u'\0')
            break;
        text += unit;
    }
    return text;
}

}  // namespace

std::optional<std::u16string> SettingText(std::uint32_t type, std::span<const std::uint8_t> data) {
    switch (type) {
        case kString:
        case kExpandString:
            return StringDatumText(data);
        case kDword:
            if (data.size() < 4)
                return std::nullopt;
            return DecimalText(LittleEndianInt32(data));
        case kQword: {
            if (data.size() < 8)
                return std::nullopt;
            std::uint64_t number = 0;
            for (int i = 7; i >= 0; --i)
                number = (number << 8) | data[i];
            return DecimalText(static_cast<std::int64_t>(number));
        }
        default:
            return std::nullopt;
    }
}

Value DecodeValue(std::uint32_t type, std::span<const std::uint8_t> data) {
    switch (type) {
        case kString:
            if (data.empty())
                return {};
            return StringDatumText(data);
        case kDword:
            if (data.size() < 4)
                return {};
            return LittleEndianInt32(data);
        default:
            return {};
    }
}

std::u16string ValueText(const Value& value) {
    if (const auto* text = std::get_if<std::u16string>(&value))
        return *text;
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return DecimalText(*number);
    return {};
}

}  // namespace registry
