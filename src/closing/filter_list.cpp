// The user's filter list: each pattern compiled once into elements of one shared array, then
// matched piece by piece between the stars, without ever going back, each piece at the leftmost
// place it fits.
#include "closing/filter_list.h"

#include <algorithm>
#include <vector>

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

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

// The leftmost place from `at` where the piece [p, end) stands wholly before `tail`, tried place
// by place; kNotFound when it does not stand anywhere.
std::size_t TryEachPlace(const Element* p, const Element* end, std::size_t length,
                         const char32_t* title, std::size_t at, std::size_t tail) {
    for (; at + length <= tail; ++at) {
        if (PieceMatches(p, end, title + at))
            return at;
    }
    return kNotFound;
}
constexpr std::size_t kFewPlaces = 16;

// A subject's different characters, sorted, and for each of its places which of them stands
// there: what a piece with wildcards or bracket lists is looked for by.
struct CharacterIndex {
    std::vector<char32_t> characters;
    std::vector<std::uint32_t> at;
};

// The same for the piece of `length` elements from `piece`, some of them wildcards or bracket
// lists, in the subject that `index` describes, in one pass over it (Baeza-Yates and Gonnet's
// shift-and): bit j of `state` says that the piece's first j + 1 elements end at the character
// just read. Each element is tested once against each different character, not at every place.
std::size_t FindPiece(const Element* piece, std::size_t length, const CharacterIndex& index,
                      std::size_t at, std::size_t tail) {
    constexpr std::size_t kMaxWords = (kMaxProgramPathLength + 63) / 64;
    const std::size_t words = (length + 63) / 64;
    const std::size_t different = index.characters.size();
    // masks[k * words + w]: the elements that take the k-th different character.
    thread_local std::vector<std::uint64_t> masks;
    masks.assign(different * words, 0);
    const Element* p = piece;
    for (std::size_t j = 0; j < length; ++j) {
        const std::uint64_t bit = std::uint64_t{1} << (j % 64);
        std::uint64_t* word = masks.data() + j / 64;
        if (p->low == p->high) {
            const auto found =
                std::lower_bound(index.characters.begin(), index.characters.end(), p->low);
            if (found != index.characters.end() && *found == p->low)
                word[static_cast<std::size_t>(found - index.characters.begin()) * words] |= bit;
            ++p;
            continue;
        }
        for (std::size_t k = 0; k < different; ++k) {
            const Element* element = p;
            if (Takes(element, index.characters[k]))
                word[k * words] |= bit;
        }
        Takes(p, 0);  // past the element
    }
    std::uint64_t state[kMaxWords] = {};
    const std::uint64_t complete = std::uint64_t{1} << ((length - 1) % 64);
    for (std::size_t i = at; i < tail; ++i) {
        const std::uint64_t* mask = masks.data() + index.at[i] * words;
        std::uint64_t carry = 1;
        for (std::size_t w = 0; w < words; ++w) {
            const std::uint64_t out = state[w] >> 63;
            state[w] = (state[w] << 1 | carry) & mask[w];
            carry = out;
        }
        if (state[words - 1] & complete)
            return i + 1 - length;
    }
    return kNotFound;
}

// The same for a piece of `length` plain characters, in one pass over the title (Knuth, Morris
// and Pratt): tried place by place, "*" + 114 A + "C*" against a long name of A compares each
// character a hundred times.
std::size_t FindPlainPiece(const Element* piece, std::size_t length, const char32_t* title,
                           std::size_t at, std::size_t tail) {
    if (length == 0)
        return at;
    // border[i]: the length of the longest proper prefix of piece[0..i] that also ends it.
    std::uint16_t border[kMaxProgramPathLength];
    static_assert(kMaxTitleLength <= kMaxProgramPathLength);
    border[0] = 0;
    for (std::size_t i = 1, k = 0; i < length; ++i) {
        while (k > 0 && piece[i].low != piece[k].low)
            k = border[k - 1];
        if (piece[i].low == piece[k].low)
            ++k;
        border[i] = static_cast<std::uint16_t>(k);
    }
    for (std::size_t i = at, k = 0; i < tail; ++i) {
        while (k > 0 && title[i] != piece[k].low)
            k = border[k - 1];
        if (title[i] == piece[k].low && ++k == length)
            return i + 1 - length;
    }
    return kNotFound;
}

// A character's bit among 32 (each capital letter of ASCII has its own); a subject without
// the bit has no such character.
constexpr unsigned CharacterBitOf(char32_t c) {
    return static_cast<unsigned>(c % 32);
}

constexpr std::u16string_view kProgramPrefix = u"PROGRAM:";
constexpr std::u16string_view kCopyPrefix = u"COPY:";

bool StartsWithPrefix(std::u16string_view line, std::u16string_view prefix) {
    return line.size() >= prefix.size() && AsciiUpper(line.substr(0, prefix.size())) == prefix;
}

}  // namespace

// What the quick test of a pattern needs to know of a subject: its character bits, and for each
// bit the first and the last place of a character that has it.
struct FilterList::Profile {
    explicit Profile(std::u32string_view subject) : text(subject) {
        for (std::size_t i = 0; i < subject.size(); ++i) {
            const unsigned bit = CharacterBitOf(subject[i]);
            if ((characters & (std::uint32_t{1} << bit)) == 0)
                first[bit] = i;
            characters |= std::uint32_t{1} << bit;
            last[bit] = i;
        }
    }
    // Made when a piece with wildcards or bracket lists is first looked for.
    const CharacterIndex& Index() const {
        if (index.at.empty() && !text.empty()) {
            index.characters.assign(text.begin(), text.end());
            std::sort(index.characters.begin(), index.characters.end());
            index.characters.erase(std::unique(index.characters.begin(), index.characters.end()),
                                   index.characters.end());
            for (char32_t c : text) {
                index.at.push_back(static_cast<std::uint32_t>(
                    std::lower_bound(index.characters.begin(), index.characters.end(), c) -
                    index.characters.begin()));
            }
        }
        return index;
    }

    std::u32string_view text;
    std::uint32_t characters = 0;
    std::size_t first[32] = {};
    std::size_t last[32] = {};
    mutable CharacterIndex index;
};

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
    const bool copy = StartsWithPrefix(pattern, kCopyPrefix);
    if (copy || StartsWithPrefix(pattern, kProgramPrefix)) {
        pattern = TrimBlanks(pattern.substr(copy ? kCopyPrefix.size() : kProgramPrefix.size()));
        const bool path = pattern.find(u'\\') != std::u16string_view::npos;
        subject = copy ? (path ? kCopyPath : kCopyName) : (path ? kProgramPath : kProgramName);
        (copy ? hasCopyPatterns_ : hasProgramPatterns_) = true;
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
            compiled.characters |= std::uint32_t{1} << CharacterBitOf(c);
            const std::size_t offset = elements_.size() - 1 - start;
            if (pushed && offset < kNoPlain) {
                compiled.lastPlain = static_cast<std::uint16_t>(offset);
                compiled.lastPlainAt = static_cast<std::uint16_t>(needed);
            }
            ++p;
        }
        if (!pushed || ++needed > maxLength)
            return compiled;
    }
    compiled.end = static_cast<std::uint32_t>(elements_.size());
    compiled.needed = static_cast<std::uint16_t>(needed);
    return compiled;
}

bool FilterList::Covers(const Pattern& pattern, const Element* p, const Profile& subject) const {
    const std::u32string_view title = subject.text;
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
        bool plain = true;
        while (p->low != kStar) {
            plain = plain && p->low == p->high;
            Takes(p, 0);
            ++length;
        }
        // Where the piece has only a few places to try, trying them costs less than the pass.
        if (plain) {
            at = FindPlainPiece(piece, length, title.data(), at, tail);
        } else if (at + length + kFewPlaces > tail) {
            at = TryEachPlace(piece, p, length, title.data(), at, tail);
        } else {
            at = FindPiece(piece, length, subject.Index(), at, tail);
        }
        if (at == kNotFound)
            return false;
        at += length;
    }
    return true;
}

// The quick test, without looking at the subject's characters: false when the subject is too
// short, lacks a character the pattern names, or has the pattern's last plain character only
// where no match can put it. True says nothing: Covers decides.
bool FilterList::MayCover(const Pattern& pattern, const Element* begin,
                          const Profile& subject) const {
    const std::size_t n = subject.text.size();
    if (n < pattern.needed || (pattern.characters & ~subject.characters) != 0)
        return false;
    if (pattern.lastPlain == kNoPlain)
        return true;
    const unsigned bit = CharacterBitOf(begin[pattern.lastPlain].low);
    const std::size_t after = pattern.needed - pattern.lastPlainAt - 1u;
    return subject.last[bit] >= pattern.lastPlainAt && subject.first[bit] + after < n;
}

bool FilterList::Matches(std::u32string_view title) const {
    return MatchesAny(title, {}, {}, false);
}

bool FilterList::Matches(const PreparedWindow& window) const {
    const std::u32string_view program = window.program;
    return MatchesAny(window.title, program, program.substr(window.programName), false);
}

bool FilterList::MatchesCopy(const PreparedWindow& program) const {
    const std::u32string_view path = program.program;
    return hasCopyPatterns_ && MatchesAny({}, path, path.substr(program.programName), true);
}

bool FilterList::MatchesAny(std::u32string_view title, std::u32string_view program,
                            std::u32string_view programName, bool copies) const {
    const Profile profiles[] = {Profile(title), Profile(programName), Profile(program)};
    static_assert(kTitle == 0 && kProgramName == 1 && kProgramPath == 2);
    std::uint32_t begin = 0;
    for (const Pattern& pattern : patterns_) {
        const bool copyLine = pattern.subject == kCopyName || pattern.subject == kCopyPath;
        const Profile& subject = profiles[pattern.subject == kCopyName   ? kProgramName
                                          : pattern.subject == kCopyPath ? kProgramPath
                                                                         : pattern.subject];
        const Element* elements = elements_.data() + begin;
        // An unknown program meets no program pattern, not even "*".
        if (copyLine == copies && (pattern.subject == kTitle || !program.empty()) &&
            MayCover(pattern, elements, subject) && Covers(pattern, elements, subject)) {
            return true;
        }
        begin = pattern.end;
    }
    return false;
}
