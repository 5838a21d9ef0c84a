// The user's filter list: title patterns that spare a window from closing. The pattern language
// has star, question mark, number sign and bracket lists, and a pattern covers a whole title
// without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Window titles are read into 128 units, so no title tested has more characters than this.
inline constexpr std::size_t kMaxTitleLength = 127;

// The list holds at most this many patterns; a longer file is read only that far.
inline constexpr std::size_t kMaxFilterPatterns = 10000;

// A title ready for any number of pattern tests: upper-cased once, one element per character.
std::u32string PrepareTitle(std::u16string_view title);

// Every pattern compiled once, its elements one after another in one shared array.
class FilterList {
  public:
    FilterList() = default;
    // Adds every pattern and finishes the list.
    explicit FilterList(const std::vector<std::u16string>& patterns);

    // Upper-cases and compiles one pattern as read; false (and nothing added) once the list
    // holds kMaxFilterPatterns. A pattern with an unclosed bracket or a descending range, one
    // that needs more characters than any title has, one added as `cut` (a line too long to
    // keep) and one that would take the list past its memory bound count but never match.
    bool Add(std::u16string_view pattern, bool cut = false);
    // Gives back spare room; call once, after the last Add.
    void Finish();

    // Patterns loaded, those that never match included.
    std::size_t Count() const { return patterns_.size(); }

    // True when at least one pattern covers the whole title (from PrepareTitle).
    bool Matches(std::u32string_view title) const;

    // One character of a match, any code point from `low` to `high`; or a star; or a bracket
    // list: a head, its ranges and the head again, so that it can be read from either end.
    struct Element {
        char32_t low;
        char32_t high;
    };

  private:
    // Where a pattern's elements end, and what its match needs: `needed` characters at least,
    // kNever for a pattern that never matches.
    struct Pattern {
        std::uint32_t end;
        std::uint8_t needed;
        bool hasStar;
    };
    static constexpr std::uint8_t kNever = 0xFF;
    static_assert(kMaxTitleLength < kNever);

    Pattern Compile(std::u32string_view pattern);
    bool Covers(const Pattern& pattern, const Element* begin, std::u32string_view title) const;

    std::vector<Element> elements_;
    std::vector<Pattern> patterns_;
};
