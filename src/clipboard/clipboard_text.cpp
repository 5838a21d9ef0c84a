// Clipboard text without control characters: which characters go, and how they are removed.
#include "clipboard/clipboard_text.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

ChunkedCleaning RemoveControlCharacters(char16_t* text, std::size_t length, std::size_t chunkLength,
                                        const std::function<bool()>& betweenChunks) {
    chunkLength = std::max<std::size_t>(chunkLength, 1);
    // Each unit moves down to the kept position, which advances only past the units that stay.
    // Writing never overtakes reading, so the work can stop after any chunk.
    std::size_t kept = 0;
    std::size_t read = 0;
    do {
        const std::size_t end = read + std::min(chunkLength, length - read);
        for (; read < end; ++read) {
            const char16_t c = text[read];
            text[kept] = c;
            kept += !IsRemovedControlCharacter(c);
        }
        if (!betweenChunks())
            return {kept, false};
    } while (read < length);
    return {kept, true};
}

std::size_t ClipboardTextLength(const char16_t* data, std::size_t byteSize) noexcept {
    const char16_t* end = data + byteSize / 2;
    return static_cast<std::size_t>(std::find(data, end, u'\0') - data);
}

namespace {

constexpr bool IsBlank(char16_t c) noexcept {
    return c == u' ' || c == u'\t';
}

// Eight code units side by side, and the lanes of a comparison of them (GCC's and Clang's vector
// extensions: SSE2 on x86-64, plain code elsewhere).
using Units8 = std::uint16_t __attribute__((vector_size(16)));
using Lanes8 = std::int16_t __attribute__((vector_size(16)));

// Where the next line break from text[begin] is; `length` when there is none. Line breaks are
// rare among the units, so eight are tested at a time, and a hit is found in its lane's bits.
std::size_t NextBreak(const char16_t* text, std::size_t begin, std::size_t length) noexcept {
    static_assert(std::endian::native == std::endian::little, "lane 0 in the low bits");
    for (; begin + 8 <= length; begin += 8) {
        Units8 units;
        std::memcpy(&units, text + begin, sizeof units);
        const Lanes8 hits = (units == u'\r') | (units == u'\n');
        std::uint64_t halves[2];
        std::memcpy(halves, &hits, sizeof halves);
        if (halves[0] != 0)
            return begin + std::countr_zero(halves[0]) / 16;
        if (halves[1] != 0)
            return begin + 4 + std::countr_zero(halves[1]) / 16;
    }
    while (begin < length && text[begin] != u'\r' && text[begin] != u'\n')
        ++begin;
    return begin;
}

// Where the blanks before the line break at text[end] begin, not before `begin`; `length` when
// there is no break, as blanks without one stay.
std::size_t BlanksBefore(const char16_t* text, std::size_t begin, std::size_t end,
                         std::size_t length) noexcept {
    if (end == length)
        return end;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return end;
}

constexpr std::u16string_view kBlankLine = u"\r\n\r\n";

// A run of spaces, tabs and line breaks from text[begin]: where it ends and how many line breaks
// it holds, CR LF counting as one.
struct Run {
    std::size_t end;
    std::size_t breaks;
};
Run ReadRun(const char16_t* text, std::size_t begin, std::size_t length) noexcept {
    std::size_t breaks = 0;
    std::size_t i = begin;
    while (i < length) {
        const char16_t c = text[i];
        if (c == u'\r') {
            ++breaks;
            i += i + 1 < length && text[i + 1] == u'\n' ? 2 : 1;
        } else if (c == u'\n') {
            ++breaks;
            ++i;
        } else if (IsBlank(c)) {
            ++i;
        } else {
            break;
        }
    }
    return {i, breaks};
}

// The length of a run's replacement: a space for one break, a blank line for more.
std::size_t ReplacementLength(const Run& run) noexcept {
    return run.breaks == 1 ? 1 : kBlankLine.size();
}

}  // namespace

ShapePlan PlanShape(const char16_t* text, std::size_t length, TextShape shape) noexcept {
    ShapePlan plan;
    plan.length = length;
    if (shape.trim) {
        while (plan.length != 0 && IsWhiteSpace(text[plan.length - 1]))
            --plan.length;
        while (plan.start != plan.length && IsWhiteSpace(text[plan.start]))
            ++plan.start;
        plan.length -= plan.start;
        plan.changes = plan.length != length;
    }
    plan.shapedLength = plan.length;
    if (!shape.joinLines)
        return plan;
    const char16_t* kept = text + plan.start;
    std::size_t written = 0;
    // Only a run that holds a line break changes; the text between such runs stays as it is.
    for (std::size_t read = 0; read < plan.length;) {
        const std::size_t lineBreak = NextBreak(kept, read, plan.length);
        const std::size_t begin = BlanksBefore(kept, read, lineBreak, plan.length);
        written += begin - read;
        if (begin == plan.length)
            break;
        const Run run = ReadRun(kept, begin, plan.length);
        written += ReplacementLength(run);
        // A blank line already written as CR LF CR LF stays as it is.
        const std::u16string_view replaced(kept + begin, run.end - begin);
        plan.changes |= run.breaks == 1 || replaced != kBlankLine;
        read = run.end;
        if (written > read)
            plan.room = std::max(plan.room, written - read);
    }
    plan.shapedLength = written;
    return plan;
}

void ShapeText(char16_t* buffer, const ShapePlan& plan, TextShape shape) noexcept {
    if (!shape.joinLines) {
        if (plan.start != 0)
            std::copy(buffer + plan.start, buffer + plan.start + plan.length, buffer);
        return;
    }
    // Reading begins at least `room` units ahead of writing.
    std::size_t ahead = plan.start;
    if (plan.room > ahead) {
        std::copy_backward(buffer + ahead, buffer + ahead + plan.length,
                           buffer + plan.room + plan.length);
        ahead = plan.room;
    }
    const char16_t* text = buffer + ahead;
    std::size_t written = 0;
    for (std::size_t read = 0; read < plan.length;) {
        const std::size_t lineBreak = NextBreak(text, read, plan.length);
        const std::size_t begin = BlanksBefore(text, read, lineBreak, plan.length);
        if (buffer + written != text + read)
            std::copy(text + read, text + begin, buffer + written);
        written += begin - read;
        if (begin == plan.length)
            break;
        const Run run = ReadRun(text, begin, plan.length);
        if (run.breaks == 1) {
            buffer[written++] = u' ';
        } else {
            std::copy(kBlankLine.begin(), kBlankLine.end(), buffer + written);
            written += kBlankLine.size();
        }
        read = run.end;
    }
}
