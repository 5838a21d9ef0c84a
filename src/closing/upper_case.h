// The one upper-case conversion that window titles and filter patterns share.
#pragma once

#include <string>
#include <string_view>

// Upper case from the system's Unicode case mapping, so that a title and a pattern that differ
// only in case become equal.
std::u16string UpperCaseText(std::u16string_view text);
