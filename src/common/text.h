// Small helpers over UTF-16 text that the core shares.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Without leading and trailing blanks (character 32 only).
std::u16string_view TrimBlanks(std::u16string_view text);

// Upper case for the letters a to z only; every other code unit is kept.
std::u16string AsciiUpper(std::u16string_view text);

// Decimal digits of a number, as UTF-16.
std::u16string DecimalText(long long number);

// Surrogates: the code units (and the code points no character has) from which UTF-16 builds
// the characters above U+FFFF, a high one followed by a low one.
constexpr bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}
constexpr bool IsSurrogatePair(char16_t high, char16_t low) {
    return high >= 0xD800 && high <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF;
}

// One element per character: a surrogate pair becomes one code point; a lone surrogate (a title
// cut in the middle of a pair) stays one character of its own.
std::u32string ToCodePoints(std::u16string_view text);

// Unicode format characters that show nothing (the soft hyphen, zero-width spaces and joiners,
// direction marks and embeddings, invisible operators, the byte order mark): text reads the same
// without them.
constexpr bool IsInvisibleFormatCharacter(char32_t c) {
    return c == 0x00AD || c == 0x061C || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2064) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

// Appends a code point as UTF-16: one unit, or a surrogate pair above U+FFFF.
void AppendCodePoint(std::u16string& text, char32_t point);

// The UTF-16 code unit made of its low and its high byte.
inline char16_t Utf16Unit(std::uint8_t low, std::uint8_t high) {
    return static_cast<char16_t>(low | high << 8);
}
