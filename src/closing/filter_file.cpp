// Reading the window filter file: encoding detection, line splitting and the pattern limit.
#include "closing/filter_file.h"

#include <algorithm>
#include <cstdint>

#include "common/text.h"
#include "common/utf8.h"

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
// How much of the file's start decides its encoding. Always the same bytes, however the file
// comes in, so that the chunking never changes the result.
constexpr std::size_t kSniffBytes = 16;

template <typename Char>
bool IsBlankLine(std::basic_string_view<Char> line) {
    return std::all_of(line.begin(), line.end(), [](Char c) { return c == Char(' '); });
}

// Cuts a stream of characters into lines at every CR and every LF. A CR LF pair yields an empty
// line between the two, which is skipped like any blank line, so it needs no case of its own.
template <typename Char>
class LineSplitter {
  public:
    explicit LineSplitter(std::size_t maxLines) : maxLines_(maxLines) {}

    // Takes the next characters; false once enough lines are collected.
    bool Feed(std::basic_string_view<Char> text) {
        std::size_t start = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != Char('\r') && text[i] != Char('\n'))
                continue;
            if (pending_.empty()) {
                Take(text.substr(start, i - start));
            } else {
                pending_.append(text.substr(start, i - start));
                Take(pending_);
                pending_.clear();
            }
            start = i + 1;
            if (Full())
                return false;
        }
        pending_.append(text.substr(start));
        return true;
    }

    // The end of the file also ends a line.
    void Finish() {
        if (!Full())
            Take(pending_);
        pending_.clear();
    }

    std::vector<std::basic_string<Char>>& lines() { return lines_; }

  private:
    bool Full() const { return lines_.size() >= maxLines_; }
    void Take(std::basic_string_view<Char> line) {
        if (!line.empty() && !IsBlankLine(line))
            lines_.emplace_back(line);
    }

    std::size_t maxLines_;
    std::basic_string<Char> pending_;
    std::vector<std::basic_string<Char>> lines_;
};

enum class Encoding { Utf8Bom, Utf16Le, Utf16Be, Undecided };

// UTF-16 without a BOM, as some editors save it: in text that starts with Latin characters every
// other byte is zero, the second of each pair in little endian, the first in big endian. ANSI and
// UTF-8 text hold no zero bytes, so only a start that keeps this pattern throughout counts; UTF-16
// text that starts otherwise is not recognised, rather than risk misreading an ANSI file.
Encoding SniffUtf16(std::string_view head) {
    const std::size_t units = std::min(head.size(), kSniffBytes) / 2;
    if (units == 0)
        return Encoding::Undecided;
    bool little = true, big = true;
    for (std::size_t k = 0; k < units; ++k) {
        const bool firstZero = head[2 * k] == 0, secondZero = head[2 * k + 1] == 0;
        little = little && !firstZero && secondZero;
        big = big && firstZero && !secondZero;
    }
    return little ? Encoding::Utf16Le : big ? Encoding::Utf16Be : Encoding::Undecided;
}

}  // namespace

FilterFileContent ReadFilterPatterns(const FilterFileSource& source, const AnsiDecoder& ansi,
                                     std::size_t maxPatterns) {
    FilterFileContent content;
    if (maxPatterns == 0)
        return content;

    std::vector<char> buffer(kChunkSize);
    bool failed = false;
    // The next bytes of the file; empty at its end or after a failure.
    auto next = [&]() -> std::string_view {
        std::optional<std::size_t> count = source(buffer);
        if (!count) {
            failed = true;
            return {};
        }
        return {buffer.data(), std::min(*count, buffer.size())};
    };

    std::string head;
    for (std::string_view bytes = next(); !bytes.empty(); bytes = next()) {
        head.append(bytes);
        if (head.size() >= kSniffBytes)
            break;
    }
    if (failed)
        return {{}, true};

    Encoding encoding = Encoding::Undecided;
    std::string_view first = head;
    if (first.starts_with("\xEF\xBB\xBF")) {
        encoding = Encoding::Utf8Bom;
        first.remove_prefix(3);
    } else if (first.starts_with("\xFF\xFE")) {
        encoding = Encoding::Utf16Le;
        first.remove_prefix(2);
    } else if (first.starts_with("\xFE\xFF")) {
        encoding = Encoding::Utf16Be;
        first.remove_prefix(2);
    } else {
        encoding = SniffUtf16(head);
    }
    const bool atEnd = head.size() < kSniffBytes;

    if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be) {
        const std::size_t high = encoding == Encoding::Utf16Be ? 0 : 1;  // byte of the high half
        LineSplitter<char16_t> splitter(maxPatterns);
        std::string carry;  // a byte whose unit's second half is in the next chunk
        std::u16string units;
        auto feed = [&](std::string_view bytes) {
            carry.append(bytes);
            units.resize(carry.size() / 2);
            for (std::size_t k = 0; k < units.size(); ++k) {
                units[k] = Utf16Unit(static_cast<std::uint8_t>(carry[2 * k + 1 - high]),
                                     static_cast<std::uint8_t>(carry[2 * k + high]));
            }
            carry.erase(0, units.size() * 2);
            return splitter.Feed(units);
        };
        bool more = feed(first) && !atEnd;
        while (more) {
            std::string_view bytes = next();
            if (failed)
                return {{}, true};
            more = !bytes.empty() && feed(bytes);
        }
        // A lone byte at the very end is half a character and is dropped. Units go into the
        // patterns as they are, an unpaired surrogate too: titles are compared unit by unit, so
        // such a pattern still matches the same title.
        splitter.Finish();
        content.patterns = std::move(splitter.lines());
        return content;
    }

    LineSplitter<char> splitter(maxPatterns);
    bool more = splitter.Feed(first) && !atEnd;
    while (more) {
        std::string_view bytes = next();
        if (failed)
            return {{}, true};
        more = !bytes.empty() && splitter.Feed(bytes);
    }
    splitter.Finish();

    // Only what was read decides: bytes past the last pattern needed do not matter.
    const std::vector<std::string>& lines = splitter.lines();
    const bool utf8 = encoding == Encoding::Utf8Bom ||
                      std::all_of(lines.begin(), lines.end(),
                                  [](const std::string& line) { return IsValidUtf8(line); });
    content.patterns.reserve(lines.size());
    for (const std::string& line : lines) {
        content.patterns.push_back(utf8 ? DecodeUtf8(line) : ansi(line));
    }
    return content;
}
