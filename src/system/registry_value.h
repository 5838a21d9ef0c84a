// Decoding of registry data into the texts and numbers the program works with.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace registry {

// Value types as the registry numbers them.
inline constexpr std::uint32_t kString = 1;        // REG_SZ
inline constexpr std::uint32_t kExpandString = 2;  // REG_EXPAND_SZ
inline constexpr std::uint32_t kBinary = 3;        // REG_BINARY
inline constexpr std::uint32_t kDword = 4;         // REG_DWORD
inline constexpr std::uint32_t kMultiString = 7;   // REG_MULTI_SZ
inline constexpr std::uint32_t kQword = 11;        // REG_QWORD

// The text of a string datum (UTF-16 bytes): up to its first NUL, whether or not the writer
// stored one; an odd last byte is not part of any character.
std::u16string StringDatumText(std::span<const std::uint8_t> data);

// A value as the settings store reads it: the text of a string value, the signed decimal text
// of a 32- or 64-bit number, nothing for any other type.
std::optional<std::u16string> SettingText(std::uint32_t type, std::span<const std::uint8_t> data);

}  // namespace registry
