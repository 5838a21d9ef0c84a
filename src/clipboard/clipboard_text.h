// Clipboard text without control characters: which characters go, and how they are removed.
#pragma once

#include <cstddef>
#include <functional>

// Codes 0 to 8, 11, 12 and 14 to 31. Tab, line feed, carriage return and everything from 32 up
// stay; surrogates are far above 31, so pairs always stay whole.
constexpr bool IsRemovedControlCharacter(char16_t c) noexcept {
    return c < 32 && c != u'\t' && c != u'\n' && c != u'\r';
}

// Removes them from text[0, length) in place, keeping the order of the rest, in steps of
// chunkLength code units (at least one), calling betweenChunks after every step, the last
// included, so that a long cleaning can let other work run. When betweenChunks returns false
// the cleaning stops there, not completed, and the text is left half cleaned. No allocation.
struct ChunkedCleaning {
    std::size_t length = 0;  // what is left of the text
    bool completed = false;
};
ChunkedCleaning RemoveControlCharacters(char16_t* text, std::size_t length, std::size_t chunkLength,
                                        const std::function<bool()>& betweenChunks);

// The text a reader sees in clipboard text data of byteSize bytes: the code units up to the first
// NUL, or every whole code unit when the data lacks one. Never looks past byteSize.
std::size_t ClipboardTextLength(const char16_t* data, std::size_t byteSize) noexcept;
