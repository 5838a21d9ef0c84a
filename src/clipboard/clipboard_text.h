// Clipboard text without control characters: which characters go, and how they are removed.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

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

// Characters with Unicode's White_Space property: tab to carriage return, space, next line, the
// no-break spaces, the typographic spaces, the line and paragraph separators and the ideographic
// space. All lie in the first plane, so no surrogate is ever one.
constexpr bool IsWhiteSpace(char16_t c) noexcept {
    return (c >= u'\t' && c <= u'\r') || c == u' ' || c == u'\u0085' || c == u'\u00A0' ||
           c == u'\u1680' || (c >= u'\u2000' && c <= u'\u200A') || c == u'\u2028' ||
           c == u'\u2029' || c == u'\u202F' || c == u'\u205F' || c == u'\u3000';
}

// What the user's options add to the cleaning of the text: white space trimmed from both ends,
// and the lines of each paragraph joined. A single line break (CR LF, CR or LF) with the spaces
// and tabs around it becomes one space; two or more in a row, with spaces and tabs between,
// become one blank line (CR LF CR LF).
struct TextShape {
    bool trim = false;
    bool joinLines = false;
};

// The shaped text's length, and whether shaping changed the text.
struct ShapedText {
    std::size_t length = 0;
    bool changes = false;
};

// Gives a buffer of at least `units` units that holds what the last one held (it may be the same
// one, moved); null when there is no memory for it.
using GrowBuffer = std::function<char16_t*(std::size_t units)>;

// Shapes text[0, length) in place, in one pass over it; the shaped text begins at the buffer's
// start. Joining may lengthen the text (LF LF becomes CR LF CR LF): where writing would overtake
// what is not yet read, the rest moves up first, in a buffer that `grow` enlarges when its
// `capacity` (in units, at least `length`) is too small. Nothing when `grow` gives no buffer:
// the text is then left half shaped. No allocation besides.
std::optional<ShapedText> ShapeText(char16_t* buffer, std::size_t length, std::size_t capacity,
                                    TextShape shape, const GrowBuffer& grow);
