// The user's filter list: each pattern compiled once into elements of one shared array, then
// matched piece by piece between the stars, without ever going back.
#include "closing/filter_list.h"

#include <algorithm>

#include "closing/upper_case.h"
#include "common/text.h"

namespace {

using Element = FilterList::Element;

// Marks in `low` above every code point. A list head's `high` holds its number of ranges, with
// kNegated set when the list takes every character but those.
constexpr char32_t kStar = 0xFFFFFFFF;
constexpr char32_t kList = 0xFFFFFFFE;
constexpr char32_t kNegated = 0x80000000;

// The list never holds more elements than this. Growing the array holds the old one beside one
// twice its size for a moment, so no filter file makes the list take more than 64 MB.
constexpr std::size_t kMaxElements = (24u << 20) / sizeof(Element);

// Whether the element at `p` (not a star) takes `c`; moves `p` past the element.
bool Takes(const Element*& p, char32_t c) {
    if (p->low != kList) {
        const bool taken = c >= p->low && c <= p->high;
        ++p;
        return taken;
    }
    const bool negated = (p->high & kNegated) != 0;
    const Element* end = p + 1 + (p->high & ~kNegated);
    bool found = false;
    for (++p; p < end; ++p)
        found |= c >= p->low && c <= p->high;
    ++p;  // the closing head
    return found != negated;
}

// The same for the element that ends just before `end`; moves `end` to its start.
bool TakesBefore(const Element*& end, char32_t c) {
    const Element* start = end - 1;
    if (start->low == kList)
        start -= 1 + (start->high & ~kNegated);
    const Element* p = start;
    end = start;
    return Takes(p, c);
}

// Whether the piece [p, end), which holds no star, covers the characters from `title` on.
bool PieceMatches(const Element* p, const Element* end, const char32_t* title) {
    while (p < end) {
        if (!Takes(p, *title++))
            return false;
    }
    return true;
}

constexpr std::u16string_view kProgramPrefix = u"PROGRAM:";

}  // namespace

std::u32string PrepareForMatching(std::u16string_view text) {
    std::u32string prepared = ToCodePoints(UpperCaseText(text));
    std::erase_if(prepared, IsInvisibleFormatCharacter);
    return prepared;
}

PreparedWindow PrepareWindow(std::u16string_view title, std::u16string_view programPath) {
    PreparedWindow window{PrepareForMatching(title), PrepareForMatching(programPath), 0};
    const std::size_t separator = window.program.find_last_of(U'\\');
    window.programName = separator == std::u32string::npos ? 0 : separator + 1;
    return window;
}

FilterList::FilterList(const std::vector<std::u16string>& patterns) {
    for (const std::u16string& pattern : patterns) {
        if (!Add(pattern))
            break;
    }
    Finish();
}

bool FilterList::Add(std::u16string_view pattern, bool cut) {
    if (patterns_.size() >= kMaxFilterPatterns)
        return false;
    Subject subject = kTitle;
    if (pattern.size() >= kProgramPrefix.size() &&
        AsciiUpper(pattern.substr(0, kProgramPrefix.size())) == kProgramPrefix) {
        pattern = TrimBlanks(pattern.substr(kProgramPrefix.size()));
        subject = pattern.find(u'\\') == std::u16string_view::npos ? kProgramName : kProgramPath;
        hasProgramPatterns_ = true;
    }
    const auto start = static_cast<std::uint32_t>(elements_.size());
    Pattern compiled{start, kNever, subject, false};
    if (!cut)
        compiled = Compile(PrepareForMatching(pattern),
                           subject == kTitle ? kMaxTitleLength : kMaxProgramPathLength);
    compiled.subject = subject;
    if (compiled.needed == kNever) {
        elements_.resize(start);
        compiled = {start, kNever, subject, false};
    }
    patterns_.push_back(compiled);
    return true;
}

void FilterList::Finish() {
    elements_.shrink_to_fit();
    patterns_.shrink_to_fit();
}

// Appends the elements of `pattern` (upper-cased) and returns what its match needs; kNever when
// it can never match a subject of at most `maxLength` characters.
FilterList::Pattern FilterList::Compile(std::u32string_view pattern, std::size_t maxLength) {
    const auto start = static_cast<std::uint32_t>(elements_.size());
    Pattern compiled{start, kNever, kTitle, false};
    std::size_t needed = 0;
    auto push = [&](char32_t low, char32_t high) {
        if (elements_.size() >= kMaxElements)
            return false;
        elements_.push_back({low, high});
        return true;
    };
    const std::size_t end = pattern.size();
    for (std::size_t p = 0; p < end;) {
        const char32_t c = pattern[p];
        bool pushed = true;
        if (c == U'*') {
            compiled.hasStar = true;
            if (!push(kStar, 0))
                return compiled;
            ++p;
            continue;
        }
        if (c == U'[') {
            std::size_t i = p + 1;
            if (i < end && pattern[i] == U']') {
                // The empty pair stands for the empty string: nothing to match.
                p = i + 1;
                continue;
            }
            // "[!]" has no list after its mark, so there the mark is the list.
            bool negated = false;
            if (i + 1 < end && pattern[i] == U'!' && pattern[i + 1] != U']') {
                negated = true;
                ++i;
            }
            const std::size_t close = pattern.find(U']', i);
            if (close == std::u32string_view::npos)
                return compiled;
            const std::size_t head = elements_.size();
            pushed = push(kList, negated ? kNegated : 0);
            for (std::size_t j = i; j < close && pushed;) {
                // A hyphen first in the list is itself, and so is one last; between two
                // characters it makes a range.
                const bool leadingHyphen = j == i && pattern[j] == U'-';
                if (!leadingHyphen && j + 2 < close && pattern[j + 1] == U'-') {
                    if (pattern[j] > pattern[j + 2])
                        return compiled;
                    pushed = push(pattern[j], pattern[j + 2]);
                    j += 3;
                } else {
                    pushed = push(pattern[j], pattern[j]);
                    ++j;
                }
            }
            if (pushed) {
                elements_[head].high |= static_cast<char32_t>(elements_.size() - head - 1);
                pushed = push(kList, elements_[head].high);
            }
            p = close + 1;
        } else if (c == U'?') {
            pushed = push(0, 0x10FFFF);
            ++p;
        } else if (c == U'#') {
            pushed = push(U'0', U'9');
            ++p;
        } else {
            pushed = push(c, c);
            ++p;
        }
        if (!pushed || ++needed > maxLength)
            return compiled;
    }
    compiled.end = static_cast<std::uint32_t>(elements_.size());
    compiled.needed = static_cast<std::uint16_t>(needed);
    return compiled;
}

bool FilterList::Covers(const Pattern& pattern, const Element* p, std::u32string_view title) const {
    const std::size_t n = title.size();
    if (n < pattern.needed)
        return false;
    const Element* end = elements_.data() + pattern.end;
    if (!pattern.hasStar)
        return n == pattern.needed && PieceMatches(p, end, title.data());

    // The cheap ends first: the text after the last star, from the title's end backwards, then
    // the text before the first star. The length test keeps the two from overlapping.
    std::size_t tail = n;
    const Element* lastStar = end;
    while (lastStar[-1].low != kStar) {
        if (!TakesBefore(lastStar, title[--tail]))
            return false;
    }
    --lastStar;
    std::size_t at = 0;
    while (p->low != kStar) {
        if (!Takes(p, title[at++]))
            return false;
    }

    // The pieces between, each at its leftmost place: a place further right could only leave
    // less room for the pieces after it. Between the stars of a run a piece is empty and
    // matches where it stands.
    while (p < lastStar) {
        const Element* piece = ++p;  // past the star
        std::size_t length = 0;
        while (p->low != kStar) {
            Takes(p, 0);
            ++length;
        }
        for (;; ++at) {
            if (at + length > tail)
                return false;
            if (PieceMatches(piece, p, title.data() + at))
                break;
        }
        at += length;
    }
    return true;
}

bool FilterList::Matches(std::u32string_view title) const {
    return MatchesAny(title, {}, {});
}

bool FilterList::Matches(const PreparedWindow& window) const {
    const std::u32string_view program = window.program;
    return MatchesAny(window.title, program, program.substr(window.programName));
}

bool FilterList::MatchesAny(std::u32string_view title, std::u32string_view program,
                            std::u32string_view programName) const {
    std::uint32_t begin = 0;
    for (const Pattern& pattern : patterns_) {
        const std::u32string_view subject = pattern.subject == kTitle         ? title
                                            : pattern.subject == kProgramName ? programName
                                                                              : program;
        // An unknown program meets no program pattern, not even "*".
        if ((pattern.subject == kTitle || !program.empty()) &&
            Covers(pattern, elements_.data() + begin, subject)) {
            return true;
        }
        begin = pattern.end;
    }
    return false;
}
