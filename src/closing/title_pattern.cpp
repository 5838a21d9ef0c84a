// The pattern language of the window filter: parsed once, then matched in time bounded by title
// length times pattern length.
#include "closing/title_pattern.h"

#include "closing/upper_case.h"

std::u32string PrepareTitle(std::u16string_view title) {
    return ToCodePoints(UpperCaseText(title));
}

TitlePattern::TitlePattern(std::u16string_view upperPattern) {
    const std::u32string pattern = ToCodePoints(upperPattern);
    const std::size_t end = pattern.size();
    for (std::size_t p = 0; p < end;) {
        const char32_t c = pattern[p];
        if (c == U'*') {
            // A run of stars means what one star means; one element keeps the walk linear.
            if (elements_.empty() || elements_.back().kind != Kind::Star) {
                elements_.push_back({Kind::Star, 0, 0, 0});
            }
            hasStar_ = true;
            ++p;
        } else if (c == U'?') {
            elements_.push_back({Kind::AnyChar, 0, 0, 0});
            ++p;
        } else if (c == U'#') {
            elements_.push_back({Kind::Digit, 0, 0, 0});
            ++p;
        } else if (c == U'[') {
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
            if (close == end) {
                malformed_ = true;
                break;
            }
            const auto firstRange = static_cast<std::uint32_t>(ranges_.size());
            for (std::size_t j = i; j < close;) {
                // A hyphen first in the list is itself, and so is one last; between two
                // characters it makes a range.
                const bool leadingHyphen = j == i && pattern[j] == U'-';
                if (!leadingHyphen && j + 2 < close && pattern[j + 1] == U'-') {
                    if (pattern[j] > pattern[j + 2])
                        malformed_ = true;
                    ranges_.emplace_back(pattern[j], pattern[j + 2]);
                    j += 3;
                } else {
                    ranges_.emplace_back(pattern[j], pattern[j]);
                    ++j;
                }
            }
            if (malformed_)
                break;
            elements_.push_back({negated ? Kind::NotInList : Kind::InList, 0, firstRange,
                                 static_cast<std::uint32_t>(ranges_.size()) - firstRange});
            p = close + 1;
        } else {
            elements_.push_back({Kind::Literal, c, 0, 0});
            ++p;
        }
    }
    if (malformed_) {
        elements_.clear();
        ranges_.clear();
        return;
    }
    for (const Element& element : elements_) {
        if (element.kind != Kind::Star)
            ++minLength_;
    }
    if (!elements_.empty() && elements_.front().kind == Kind::Literal) {
        firstLiteral_ = elements_.front().ch;
    }
    if (!elements_.empty() && elements_.back().kind == Kind::Literal) {
        lastLiteral_ = elements_.back().ch;
    }
}

TitlePattern TitlePattern::Never() {
    TitlePattern never(u"");
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

bool TitlePattern::MatchesOne(const Element& element, char32_t c) const {
    switch (element.kind) {
        case Kind::Literal:
            return c == element.ch;
        case Kind::AnyChar:
            return true;
        case Kind::Digit:
            return c >= U'0' && c <= U'9';
        case Kind::InList:
        case Kind::NotInList: {
            bool found = false;
            for (std::uint32_t r = 0; r < element.rangeCount && !found; ++r) {
                const auto& [low, high] = ranges_[element.firstRange + r];
                found = c >= low && c <= high;
            }
            return found == (element.kind == Kind::InList);
        }
        case Kind::Star:
            break;
    }
    return false;
}

bool TitlePattern::Matches(std::u32string_view title) const {
    if (malformed_)
        return false;
    const std::size_t n = title.size();
    if (n < minLength_ || (!hasStar_ && n != minLength_))
        return false;
    if (firstLiteral_ != 0 && title.front() != firstLiteral_)
        return false;
    if (lastLiteral_ != 0 && title.back() != lastLiteral_)
        return false;

    // Every element but the star takes exactly one character, so when a later element fails it
    // is enough to let the most recent star take one more character: an earlier star could only
    // reach positions that the later one covers too.
    const std::size_t m = elements_.size();
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t t = 0, p = 0, starElement = kNone, starTitle = 0;
    while (t < n) {
        if (p < m && elements_[p].kind == Kind::Star) {
            starElement = ++p;
            starTitle = t;
        } else if (p < m && MatchesOne(elements_[p], title[t])) {
            ++p;
            ++t;
        } else if (starElement != kNone) {
            p = starElement;
            t = ++starTitle;
        } else {
            return false;
        }
    }
    while (p < m && elements_[p].kind == Kind::Star)
        ++p;
    return p == m;
}

bool MatchesTitlePattern(std::u16string_view title, std::u16string_view pattern) {
    return TitlePattern(UpperCaseText(pattern)).Matches(PrepareTitle(title));
}
