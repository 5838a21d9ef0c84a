// The pattern language of the window filter: compiled once into a byte code of about a byte per
// character, then matched piece by piece between the stars.
#include "closing/title_pattern.h"

#include "closing/upper_case.h"

namespace {

// Plain characters are stored in UTF-8, whose bytes never reach 0xF8; the tags use the rest.
// A list is its tag, its members (a character, or kRange and two characters) and kListEnd, so
// it can be found from either end: no member byte equals a list tag.
constexpr std::uint8_t kStar = 0xF8;
constexpr std::uint8_t kAnyChar = 0xF9;
constexpr std::uint8_t kDigit = 0xFA;
constexpr std::uint8_t kInList = 0xFB;
constexpr std::uint8_t kNotInList = 0xFC;
constexpr std::uint8_t kListEnd = 0xFD;
constexpr std::uint8_t kRange = 0xFE;

// The header byte: the characters a match needs at least, and whether there is a star.
constexpr std::uint8_t kHasStar = 0x80;
constexpr std::uint8_t kLengthMask = 0x7F;
static_assert(kMaxTitleLength <= kLengthMask);

void Encode(char32_t c, std::string& code) {
    auto put = [&](std::uint32_t byte) { code.push_back(static_cast<char>(byte)); };
    if (c < 0x80) {
        put(c);
    } else if (c < 0x800) {
        put(0xC0 | c >> 6);
        put(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        // Lone surrogates too: a title cut inside a pair holds one, and so may a pattern.
        put(0xE0 | c >> 12);
        put(0x80 | (c >> 6 & 0x3F));
        put(0x80 | (c & 0x3F));
    } else {
        put(0xF0 | c >> 18);
        put(0x80 | (c >> 12 & 0x3F));
        put(0x80 | (c >> 6 & 0x3F));
        put(0x80 | (c & 0x3F));
    }
}

char32_t Decode(const std::uint8_t*& p) {
    const std::uint8_t lead = *p++;
    if (lead < 0x80)
        return lead;
    const int more = lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t c = lead & (0x3F >> more);
    for (int k = 0; k < more; ++k)
        c = c << 6 | (*p++ & 0x3F);
    return c;
}

bool IsDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

// Whether the element at `p` (not a star) takes `c`; moves `p` past the element.
bool Step(const std::uint8_t*& p, char32_t c) {
    switch (*p) {
        case kAnyChar:
            ++p;
            return true;
        case kDigit:
            ++p;
            return IsDigit(c);
        case kInList:
        case kNotInList: {
            const bool wanted = *p++ == kInList;
            bool found = false;
            while (*p != kListEnd) {
                const bool range = *p == kRange;
                p += range;
                const char32_t low = Decode(p);
                const char32_t high = range ? Decode(p) : low;
                found |= c >= low && c <= high;
            }
            ++p;
            return found == wanted;
        }
        default:
            return Decode(p) == c;
    }
}

// The start of the element that ends just before `end`.
const std::uint8_t* ElementBefore(const std::uint8_t* end) {
    const std::uint8_t* p = end - 1;
    if (*p == kListEnd) {
        while (*p != kInList && *p != kNotInList)
            --p;
    } else {
        while ((*p & 0xC0) == 0x80)
            --p;
    }
    return p;
}

// Whether the piece [p, end), which holds no star, covers the characters from `title` on.
bool PieceMatches(const std::uint8_t* p, const std::uint8_t* end, const char32_t* title) {
    while (p < end) {
        if (!Step(p, *title++))
            return false;
    }
    return true;
}

}  // namespace

std::u32string PrepareTitle(std::u16string_view title) {
    return ToCodePoints(UpperCaseText(title));
}

PatternCompiled CompilePattern(std::u16string_view upperPattern, std::string& code) {
    const std::u32string pattern = ToCodePoints(upperPattern);
    const std::size_t start = code.size();
    auto fail = [&](PatternCompiled why) {
        code.resize(start);
        return why;
    };
    code.push_back(0);  // the header, known at the end
    const std::size_t end = pattern.size();
    std::size_t needed = 0;
    bool hasStar = false;
    for (std::size_t p = 0; p < end;) {
        const char32_t c = pattern[p];
        if (c == U'*') {
            // A run of stars means what one star means, and leaves pieces that are never empty.
            if (static_cast<std::uint8_t>(code.back()) != kStar)
                code.push_back(static_cast<char>(kStar));
            hasStar = true;
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
            std::size_t close = i;
            while (close < end && pattern[close] != U']')
                ++close;
            if (close == end)
                return fail(PatternCompiled::Malformed);
            code.push_back(static_cast<char>(negated ? kNotInList : kInList));
            for (std::size_t j = i; j < close;) {
                // A hyphen first in the list is itself, and so is one last; between two
                // characters it makes a range.
                const bool leadingHyphen = j == i && pattern[j] == U'-';
                if (!leadingHyphen && j + 2 < close && pattern[j + 1] == U'-') {
                    if (pattern[j] > pattern[j + 2])
                        return fail(PatternCompiled::Malformed);
                    code.push_back(static_cast<char>(kRange));
                    Encode(pattern[j], code);
                    Encode(pattern[j + 2], code);
                    j += 3;
                } else {
                    Encode(pattern[j], code);
                    ++j;
                }
            }
            code.push_back(static_cast<char>(kListEnd));
            p = close + 1;
        } else if (c == U'?') {
            code.push_back(static_cast<char>(kAnyChar));
            ++p;
        } else if (c == U'#') {
            code.push_back(static_cast<char>(kDigit));
            ++p;
        } else {
            Encode(c, code);
            ++p;
        }
        ++needed;
    }
    if (needed > kMaxTitleLength)
        return fail(PatternCompiled::TooLong);
    code[start] = static_cast<char>(needed | (hasStar ? kHasStar : 0));
    return PatternCompiled::Ok;
}

bool MatchesCompiled(std::string_view code, std::u32string_view title) {
    if (code.empty())
        return false;
    const auto* p = reinterpret_cast<const std::uint8_t*>(code.data());
    const std::uint8_t* end = p + code.size();
    const std::uint8_t header = *p++;
    const std::size_t n = title.size();
    const std::size_t needed = header & kLengthMask;
    if (n < needed)
        return false;
    if (!(header & kHasStar))
        return n == needed && PieceMatches(p, end, title.data());

    // The cheap ends first: the text after the last star, from the title's end backwards, then
    // the text before the first star. The length test keeps the two from overlapping.
    std::size_t tail = n;
    const std::uint8_t* lastStar = end;
    for (;;) {
        const std::uint8_t* element = ElementBefore(lastStar);
        if (*element == kStar) {
            lastStar = element;
            break;
        }
        const std::uint8_t* q = element;
        if (!Step(q, title[--tail]))
            return false;
        lastStar = element;
    }
    std::size_t at = 0;
    while (*p != kStar) {
        if (!Step(p, title[at++]))
            return false;
    }

    // The pieces between, each at its leftmost place: a place further right could only leave
    // less room for the pieces after it.
    while (p < lastStar) {
        const std::uint8_t* piece = ++p;  // past the star
        std::size_t length = 0;
        const std::uint8_t* pieceEnd = piece;
        while (*pieceEnd != kStar) {
            const std::uint8_t* q = pieceEnd;
            Step(q, 0);
            pieceEnd = q;
            ++length;
        }
        // A plain first character must be present before any place is tried in full.
        const std::uint8_t* first = piece;
        const bool plainFirst = *piece < kStar;
        const char32_t firstChar = plainFirst ? Decode(first) : 0;
        bool found = false;
        for (; at + length <= tail; ++at) {
            if (plainFirst && title[at] != firstChar)
                continue;
            if (PieceMatches(piece, pieceEnd, title.data() + at)) {
                found = true;
                break;
            }
        }
        if (!found)
            return false;
        at += length;
        p = pieceEnd;
    }
    return true;
}

char32_t FirstLiteral(std::string_view code) {
    if (code.size() < 2)
        return 0;
    const auto* p = reinterpret_cast<const std::uint8_t*>(code.data()) + 1;
    return *p < kStar ? Decode(p) : 0;
}

char32_t LastLiteral(std::string_view code) {
    if (code.size() < 2)
        return 0;
    const auto* end = reinterpret_cast<const std::uint8_t*>(code.data()) + code.size();
    const std::uint8_t* p = ElementBefore(end);
    return *p < kStar ? Decode(p) : 0;
}

TitlePattern::TitlePattern(std::u16string_view upperPattern) {
    malformed_ = CompilePattern(upperPattern, code_) == PatternCompiled::Malformed;
}

TitlePattern TitlePattern::Never() {
    TitlePattern never;
    never.malformed_ = true;
    return never;
}

bool TitlePattern::NeedsMoreThan(std::u16string_view pattern, std::size_t characters) {
    std::size_t needed = 0;
    for (std::size_t p = 0; p < pattern.size() && needed <= characters; ++p) {
        const char16_t c = pattern[p];
        if (c == u'*')
            continue;
        if (c >= 0xDC00 && c <= 0xDFFF && p > 0 && pattern[p - 1] >= 0xD800 &&
            pattern[p - 1] <= 0xDBFF)
            continue;  // the second half of a pair already counted
        if (c == u'[') {
            // A list is one character, the empty pair none; an unclosed list ends the pattern.
            const std::size_t close = pattern.find(u']', p + 2);
            if (p + 1 < pattern.size() && pattern[p + 1] == u']') {
                ++p;
                continue;
            }
            if (close == std::u16string_view::npos)
                return false;
            p = close;
        }
        ++needed;
    }
    return needed > characters;
}

bool MatchesTitlePattern(std::u16string_view title, std::u16string_view pattern) {
    return TitlePattern(UpperCaseText(pattern)).Matches(PrepareTitle(title));
}
