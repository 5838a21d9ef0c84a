// The pattern language of the window filter: star, question mark, number sign and bracket lists,
// matched against a whole title without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Window titles are read into 128 units, so no title tested has more characters than this.
inline constexpr std::size_t kMaxTitleLength = 127;

// A title ready for any number of pattern tests: upper-cased once, one element per character.
std::u32string PrepareTitle(std::u16string_view title);

// One pattern, parsed once. Matching walks title and pattern with a single remembered star, so
// it takes at most title length times pattern length steps whatever the pattern.
class TitlePattern {
  public:
    // `upperPattern` must come from UpperCaseText; a title is matched after the same mapping.
    explicit TitlePattern(std::u16string_view upperPattern);

    // A pattern that matches no title at all.
    static TitlePattern Never();

    // An unclosed bracket or a descending range: such a pattern never matches.
    bool IsMalformed() const { return malformed_; }

    // True when every title the pattern matches is longer than `characters`. Reads only the
    // pattern's structure, which case does not change, and stops as soon as it knows, so a
    // runaway line costs no more than one look at its text.
    static bool NeedsMoreThan(std::u16string_view pattern, std::size_t characters);

    // True when the pattern covers the whole of `title` (from PrepareTitle).
    bool Matches(std::u32string_view title) const;

    // The character every matching title starts or ends with, or 0 when a wildcard stands there;
    // lets a list of patterns skip most of its members without running them.
    char32_t FirstLiteral() const { return firstLiteral_; }
    char32_t LastLiteral() const { return lastLiteral_; }

  private:
    enum class Kind : std::uint8_t { Literal, AnyChar, Digit, InList, NotInList, Star };
    struct Element {
        Kind kind;
        char32_t ch;               // Literal
        std::uint32_t firstRange;  // InList, NotInList: index into ranges_
        std::uint32_t rangeCount;
    };

    bool MatchesOne(const Element& element, char32_t c) const;

    std::vector<Element> elements_;
    std::vector<std::pair<char32_t, char32_t>> ranges_;
    std::size_t minLength_ = 0;  // characters a title needs at least: every element but stars
    bool hasStar_ = false;
    bool malformed_ = false;
    char32_t firstLiteral_ = 0;
    char32_t lastLiteral_ = 0;
};

// Compiles and matches in one go, upper-casing both sides; for single tests.
bool MatchesTitlePattern(std::u16string_view title, std::u16string_view pattern);
