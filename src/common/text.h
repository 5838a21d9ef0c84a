// Small helpers over UTF-16 text that the core shares.
#pragma once

#include <string>
#include <string_view>

// Without leading and trailing blanks (character 32 only).
std::u16string_view TrimBlanks(std::u16string_view text);

// Upper case for the letters a to z only; every other code unit is kept.
std::u16string AsciiUpper(std::u16string_view text);

// Decimal digits of a number, as UTF-16.
std::u16string DecimalText(long long number);
