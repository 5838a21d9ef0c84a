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

// What shaping a text will do, found in one reading pass before anything is written. Joining
// may lengthen the text (LF LF becomes CR LF CR LF), so the text may first have to move up in
// a larger buffer, so that writing never overtakes reading.
struct ShapePlan {
    std::size_t start = 0;   // where the text that trimming keeps begins
    std::size_t length = 0;  // its length
    std::size_t room = 0;    // how far ahead of the writing the reading must begin
    std::size_t shapedLength = 0;
    bool changes = false;  // whether the shaped text differs from the text
    // The units the buffer must hold for ShapeText, beside the final NUL.
    std::size_t Capacity() const { return (room > start ? room : start) + length; }
};
ShapePlan PlanShape(const char16_t* text, std::size_t length, TextShape shape) noexcept;

// Shapes text[0, length) as `plan` (made over that text) says, in place in a buffer of at least
// plan.Capacity() units; the shaped text begins at buffer[0] and is plan.shapedLength long.
void ShapeText(char16_t* buffer, const ShapePlan& plan, TextShape shape) noexcept;
