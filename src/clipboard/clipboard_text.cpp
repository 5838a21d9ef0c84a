// Clipboard text without control characters: which characters go, and how they are removed.
#include "clipboard/clipboard_text.h"

#include <algorithm>
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

// Where the next line break from text[begin] is; `length` when there is none.
std::size_t NextBreak(const char16_t* text, std::size_t begin, std::size_t length) noexcept {
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

// What replaces a run: a space for one break, a blank line for more.
std::u16string_view Replacement(const Run& run) noexcept {
    return run.breaks == 1 ? std::u16string_view(u" ") : kBlankLine;
}

// How far ahead of the writing the reading must begin so that joining text[0, length) in place
// never overtakes it: the largest lead the writing takes over the reading after a run.
std::size_t JoinRoom(const char16_t* text, std::size_t length) noexcept {
    std::size_t room = 0;
    std::size_t written = 0;
    for (std::size_t read = 0; read < length;) {
        const std::size_t lineBreak = NextBreak(text, read, length);
        const std::size_t begin = BlanksBefore(text, read, lineBreak, length);
        written += begin - read;
        if (begin == length)
            break;
        const Run run = ReadRun(text, begin, length);
        written += Replacement(run).size();
        read = run.end;
        if (written > read)
            room = std::max(room, written - read);
    }
    return room;
}

struct JoinProgress {
    std::size_t read;
    std::size_t written;
    bool done;  // else stopped at the run at `read`, whose replacement would overtake it
};

// Joins buffer[read, end) onto buffer[written, ...), written <= read. Only a run that holds a
// line break changes; the text between such runs moves down as it is.
JoinProgress JoinInPlace(char16_t* buffer, std::size_t read, std::size_t end, std::size_t written,
                         bool& changes) noexcept {
    while (read < end) {
        const std::size_t lineBreak = NextBreak(buffer, read, end);
        const std::size_t begin = BlanksBefore(buffer, read, lineBreak, end);
        if (written != read)
            std::copy(buffer + read, buffer + begin, buffer + written);
        written += begin - read;
        read = begin;
        if (begin == end)
            break;
        const Run run = ReadRun(buffer, begin, end);
        const std::u16string_view replacement = Replacement(run);
        if (written + replacement.size() > run.end)
            return {read, written, false};
        // A blank line already written as CR LF CR LF stays as it is.
        changes |= std::u16string_view(buffer + begin, run.end - begin) != replacement;
        std::copy(replacement.begin(), replacement.end(), buffer + written);
        written += replacement.size();
        read = run.end;
    }
    return {read, written, true};
}

}  // namespace

std::optional<ShapedText> ShapeText(char16_t* buffer, std::size_t length, std::size_t capacity,
                                    TextShape shape, const GrowBuffer& grow) {
    std::size_t start = 0;
    std::size_t end = length;
    if (shape.trim) {
        while (end != 0 && IsWhiteSpace(buffer[end - 1]))
            --end;
        while (start != end && IsWhiteSpace(buffer[start]))
            ++start;
    }
    ShapedText shaped{end - start, end - start != length};
    if (!shape.joinLines) {
        if (start != 0)
            std::copy(buffer + start, buffer + end, buffer);
        return shaped;
    }
    JoinProgress progress = JoinInPlace(buffer, start, end, 0, shaped.changes);
    if (!progress.done) {
        // The rest, from the run that would overtake, moves up by the lead its joining needs.
        const std::size_t rest = end - progress.read;
        const std::size_t to = progress.written + JoinRoom(buffer + progress.read, rest);
        if (to + rest > capacity && !(buffer = grow(to + rest)))
            return std::nullopt;
        std::copy_backward(buffer + progress.read, buffer + end, buffer + to + rest);
        progress = JoinInPlace(buffer, to, to + rest, progress.written, shaped.changes);
    }
    shaped.length = progress.written;
    return shaped;
}
