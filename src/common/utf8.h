// UTF-8: checking and decoding into UTF-16.
#pragma once

#include <string>
#include <string_view>

// Whether the bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::string_view bytes);

// UTF-8 to UTF-16; anything ill-formed becomes U+FFFD.
std::u16string DecodeUtf8(std::string_view bytes);
