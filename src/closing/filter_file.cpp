// Reading the window filter file: encoding detection, line splitting and the pattern limit.
#include "closing/filter_file.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "closing/filter_list.h"
#include "common/text.h"
#include "common/utf8.h"

namespace {

// A line longer than this many units (bytes before decoding, UTF-16 units in a UTF-16 file;
// a run of stars counts once) is no useful pattern: a title has at most 127 characters, and
// even a pattern of 127 bracket lists of 30 characters each stays below it. Such a line is cut
// and never matches, so reading never holds more than this of any line.
constexpr std::size_t kMaxFilterLineLength = 4096;

constexpr std::size_t kChunkSize = 64 * 1024;
// How much of the file's start decides its encoding. Always the same bytes, however the file
// comes in, so that the chunking never changes the result.
constexpr std::size_t kSniffBytes = 16;

template <typename Char>
bool IsBlankLine(std::basic_string_view<Char> line) {
    return std::ranges::all_of(line, [](Char c) { return c == Char(' '); });
}

// Cuts a stream of characters into lines at every CR and every LF, keeping all lines in one
// buffer. A CR LF pair yields an empty line between the two, which is skipped like any blank
// line, so it needs no case of its own. A line longer than any useful pattern is not kept: its
// place in the list is marked, and the rest of it is only looked at for its end.
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
            Append(text.substr(start, i - start));
            EndLine();
            start = i + 1;
            if (Full())
                return false;
        }
        Append(text.substr(start));
        return true;
    }

    // The end of the file also ends a line.
    void Finish() {
        if (!Full())
            EndLine();
        pool_.shrink_to_fit();
    }

    std::size_t Count() const { return ends_.size(); }
    bool Cut(std::size_t i) const { return (ends_[i] & kCutMark) != 0; }
    std::basic_string_view<Char> Line(std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1] & ~kCutMark;
        return std::basic_string_view<Char>(pool_).substr(begin, (ends_[i] & ~kCutMark) - begin);
    }

  private:
    static constexpr std::uint32_t kCutMark = 0x80000000;
    static_assert(kMaxFilterLineLength * kMaxFilterPatterns < kCutMark);

    bool Full() const { return ends_.size() >= maxLines_; }

    void Append(std::basic_string_view<Char> piece) {
        if (cut_) {
            nonSpace_ = nonSpace_ || !IsBlankLine(piece);
            return;
        }
        for (Char c : piece) {
            // A run of stars means one star wherever it stands, so it takes one unit: a line
            // of a million stars still spares every window.
            if (c == Char('*') && pool_.size() > lineStart_ && pool_.back() == Char('*'))
                continue;
            nonSpace_ = nonSpace_ || c != Char(' ');
            if (pool_.size() - lineStart_ == kMaxFilterLineLength) {
                cut_ = true;
                pool_.resize(lineStart_);
                Append(piece);
                return;
            }
            pool_.push_back(c);
        }
    }

    void EndLine() {
        if (nonSpace_) {
            ends_.push_back(static_cast<std::uint32_t>(pool_.size()) | (cut_ ? kCutMark : 0));
        } else {
            pool_.resize(lineStart_);
        }
        lineStart_ = pool_.size();
        cut_ = false;
        nonSpace_ = false;
    }

    std::size_t maxLines_;
    std::basic_string<Char> pool_;     // the kept lines, one after another
    std::vector<std::uint32_t> ends_;  // where each line ends in pool_, kCutMark when cut
    std::size_t lineStart_ = 0;
    bool cut_ = false;
    bool nonSpace_ = false;
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

bool ReadFilterPatterns(const FilterFileSource& source, const AnsiDecoder& ansi,
                        std::size_t maxPatterns, const PatternSink& sink) {
    if (maxPatterns == 0)
        return true;

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
        return false;

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
    // Feeds the file from its first bytes on until `feed` has lines enough or the file ends;
    // false when a read fails.
    auto feedFile = [&](auto&& feed) {
        bool more = feed(first) && !atEnd;
        while (more) {
            std::string_view bytes = next();
            if (failed)
                return false;
            more = !bytes.empty() && feed(bytes);
        }
        return true;
    };

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
        if (!feedFile(feed))
            return false;
        // A lone byte at the very end is half a character and is dropped. Units go into the
        // patterns as they are, an unpaired surrogate too: titles are compared unit by unit, so
        // such a pattern still matches the same title.
        splitter.Finish();
        for (std::size_t i = 0; i < splitter.Count(); ++i)
            sink(splitter.Line(i), splitter.Cut(i));
        return true;
    }

    LineSplitter<char> splitter(maxPatterns);
    if (!feedFile([&](std::string_view bytes) { return splitter.Feed(bytes); }))
        return false;
    splitter.Finish();

    // Only what was read decides: bytes past the last pattern needed do not matter, nor those
    // of a line too long to be kept.
    bool utf8 = true;
    for (std::size_t i = 0; i < splitter.Count() && utf8 && encoding != Encoding::Utf8Bom; ++i)
        utf8 = splitter.Cut(i) || IsValidUtf8(splitter.Line(i));
    for (std::size_t i = 0; i < splitter.Count(); ++i) {
        const std::string_view line = splitter.Line(i);
        sink(utf8 ? DecodeUtf8(line) : ansi(line), splitter.Cut(i));
    }
    return true;
}
