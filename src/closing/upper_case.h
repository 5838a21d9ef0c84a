// The one upper-case conversion that window titles and filter patterns share, and the step from
// UTF-16 units to the characters that patterns count.
#pragma once

#include <string>
#include <string_view>

// Upper case from the system's Unicode case mapping, so that a title and a pattern that differ
// only in case become equal.
std::u16string UpperCaseText(std::u16string_view text);

// One element per character: a surrogate pair becomes one code point; a lone surrogate (a title
// cut in the middle of a pair) stays one character of its own.
std::u32string ToCodePoints(std::u16string_view text);
