// The user's filter list: patterns that spare a window from closing, by its title or by the
// program that owns it. The pattern language has star, question mark, number sign and bracket
// lists, and a pattern covers a whole title or program without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Window titles are read into 128 units, so no title tested has more characters than this.
inline constexpr std::size_t kMaxTitleLength = 127;

// The longest path Windows gives a program's file, so no program pattern needs more characters.
inline constexpr std::size_t kMaxProgramPathLength = 32767;

// The list holds at most this many patterns; a longer file is read only that far.
inline constexpr std::size_t kMaxFilterPatterns = 10000;

// A title, pattern or program path ready for any number of comparisons: upper-cased once, one
// element per character, without the format characters that show nothing.
std::u32string PrepareForMatching(std::u16string_view text);

// A window ready for the patterns: its title and the whole path of its program's file, each
// prepared for matching. An empty program: it could not be read, and only title lines apply.
struct PreparedWindow {
    std::u32string title;
    std::u32string program;
    std::size_t programName = 0;  // where the file name begins in `program`
};
PreparedWindow PrepareWindow(std::u16string_view title, std::u16string_view programPath);

// Every pattern compiled once, its elements one after another in one shared array.
class FilterList {
  public:
    FilterList() = default;
    // Adds every pattern and finishes the list.
    explicit FilterList(const std::vector<std::u16string>& patterns);

    // Upper-cases and compiles one line of the filter file as read; false (and nothing added)
    // once the list holds kMaxFilterPatterns. A line that begins with "program:" (any case)
    // holds a program pattern after the colon, blanks around it removed: it is tested against
    // the program's file name, or its whole path when it holds a backslash. A line that begins
    // with "copy:" holds such a program pattern too, but for the clipboard: it names programs
    // whose copies stay whole, and never spares a window. Every other line is a title pattern. A
    // pattern with an unclosed bracket or a descending range, one that needs more characters than
    // its subject can have, one added as `cut` (a line too long to keep) and one that would take
    // the list past its memory bound count but never match.
    bool Add(std::u16string_view pattern, bool cut = false);
    // Gives back spare room; call once, after the last Add.
    void Finish();

    // Patterns loaded, those that never match included.
    std::size_t Count() const { return patterns_.size(); }

    // True when at least one pattern covers the whole title (from PrepareForMatching) or program.
    bool Matches(std::u32string_view title) const;
    bool Matches(const PreparedWindow& window) const;
    // Whether any line names a program: only then is a window's program worth reading.
    bool HasProgramPatterns() const { return hasProgramPatterns_; }

    // True when a copy line covers the program (from PrepareWindow with an empty title); an
    // unknown program meets none.
    bool MatchesCopy(const PreparedWindow& program) const;
    bool HasCopyPatterns() const { return hasCopyPatterns_; }

    // One character of a match, any code point from `low` to `high`; or a star; or a bracket
    // list: a head, its ranges and the head again, so that it can be read from either end.
    struct Element {
        char32_t low;
        char32_t high;
    };

  private:
    // Where a pattern's elements end, and what its match needs: `needed` characters at least,
    // kNever for a pattern that never matches. `subject` says what it is tested against.
    // `characters` has a bit for each plain character the pattern names (CharacterBit), so a
    // subject without one of them is passed over at once; `lastPlain` is the element offset of
    // the plain character furthest from the start (kNoPlain: none), which comes after
    // `lastPlainAt` characters at least. A copy line's subject is a program's name or path, as a
    // program line's is.
    static constexpr std::uint16_t kNever = 0xFFFF;
    static constexpr std::uint16_t kNoPlain = 0xFFFF;
    enum Subject : std::uint8_t { kTitle, kProgramName, kProgramPath, kCopyName, kCopyPath };
    struct Pattern {
        std::uint32_t end;
        std::uint16_t needed;
        Subject subject;
        bool hasStar;
        std::uint32_t characters = 0;
        std::uint16_t lastPlain = kNoPlain;
        std::uint16_t lastPlainAt = 0;
    };
    struct Profile;
    static_assert(kMaxProgramPathLength < kNever && kMaxTitleLength < kNever);

    Pattern Compile(std::u32string_view pattern, std::size_t maxLength);
    bool MayCover(const Pattern& pattern, const Element* begin, const Profile& subject) const;
    bool Covers(const Pattern& pattern, const Element* begin, const Profile& subject) const;
    bool MatchesAny(std::u32string_view title, std::u32string_view program,
                    std::u32string_view programName, bool copies) const;

    std::vector<Element> elements_;
    std::vector<Pattern> patterns_;
    bool hasProgramPatterns_ = false;
    bool hasCopyPatterns_ = false;
};
