// The pattern language of the window filter: star, question mark, number sign and bracket lists,
// matched against a whole title without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Window titles are read into 128 units, so no title tested has more characters than this.
inline constexpr std::size_t kMaxTitleLength = 127;

// A title ready for any number of pattern tests: upper-cased once, one element per character.
std::u32string PrepareTitle(std::u16string_view title);

enum class PatternCompiled : std::uint8_t {
    Ok,
    Malformed,  // an unclosed bracket or a descending range
    TooLong,    // needs more characters than any title has
};

// Appends the compiled form of `upperPattern` (from UpperCaseText) to `code`: one header byte,
// then one small tagged unit per element, plain characters in UTF-8, so a pattern costs about a
// byte per character. Appends nothing unless the result is Ok.
PatternCompiled CompilePattern(std::u16string_view upperPattern, std::string& code);

// True when compiled `code` covers the whole of `title` (from PrepareTitle); empty code never
// does. Each piece between two stars has a fixed length, so it is taken at its leftmost place
// after the previous one and no star is ever revisited.
bool MatchesCompiled(std::string_view code, std::u32string_view title);

// The plain character every match starts or ends with, or 0 when a wildcard stands there; lets
// a list of patterns skip most of its members without running them.
char32_t FirstLiteral(std::string_view code);
char32_t LastLiteral(std::string_view code);

// One pattern, compiled once.
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
    bool Matches(std::u32string_view title) const { return MatchesCompiled(code_, title); }

  private:
    TitlePattern() = default;

    std::string code_;
    bool malformed_ = false;
};

// Compiles and matches in one go, upper-casing both sides; for single tests.
bool MatchesTitlePattern(std::u16string_view title, std::u16string_view pattern);
