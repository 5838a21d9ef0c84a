// The title pattern language: every element, its edge cases, case folding and malformed patterns.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "closing/filter_list.h"
#include "common/text.h"
#include "reference_pattern.h"

namespace {

struct Case {
    std::u16string pattern;
    std::u16string title;
    bool matches;
};

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\u" + std::to_string(static_cast<unsigned>(c));
        }
    }
    return out;
}

bool IsFilteredTitle(const FilterList& list, std::u16string_view title) {
    return list.Matches(PrepareForMatching(title));
}

bool Matches(std::u16string_view title, const std::u16string& pattern) {
    return IsFilteredTitle(FilterList({pattern}), title);
}

const std::vector<Case>& LanguageCases() {
    static const std::vector<Case> cases = {
        // A pattern covers the whole title.
        {u"Notepad", u"Notepad", true},
        {u"Notepad", u"Notepad - a.txt", false},
        {u"Notepad", u"My Notepad", false},
        {u"Note", u"Notepad", false},
        // Star: any run, also none.
        {u"*", u"Anything at all", true},
        {u"*", u"", true},
        {u"A*C", u"AC", true},
        {u"A*C", u"ABBBC", true},
        {u"A*C", u"ABCD", false},
        {u"*pad", u"Notepad", true},
        {u"*pad*", u"pad", true},
        {u"**A**", u"A", true},
        {u"*A*B*C", u"CBAABC", true},
        {u"*A*B*C", u"CBAACB", false},
        // Question mark: exactly one character.
        {u"A?C", u"ABC", true},
        {u"A?C", u"AC", false},
        {u"A?C", u"ABBC", false},
        {u"?", u"\U0001F600", true},  // a surrogate pair is one character
        {u"??", u"\U0001F600", false},
        // Number sign: exactly one digit 0 to 9.
        {u"Page #", u"Page 7", true},
        {u"Page #", u"Page X", false},
        {u"Page #", u"Page 12", false},
        {u"#", u"\u0663", false},  // other scripts' digits are not 0 to 9
        // Bracket lists and ranges.
        {u"[ABC]", u"B", true},
        {u"[ABC]", u"D", false},
        {u"[ABC]", u"AB", false},
        {u"[A-Z]#", u"Q5", true},
        {u"[A-Z]#", u"55", false},
        {u"[0-9A-F][0-9A-F]", u"7E", true},
        {u"[0-9A-F][0-9A-F]", u"7G", false},
        {u"[A-A]", u"A", true},
        // Negation only as the list's first character.
        {u"[!A-Z]", u"5", true},
        {u"[!A-Z]", u"Q", false},
        {u"[!A-Z]", u"", false},
        {u"[A!]", u"!", true},
        {u"[A!]", u"B", false},
        {u"[!]", u"!", true},  // nothing follows the mark, so it is the list
        {u"Hi!", u"HI!", true},
        // Hyphens at the ends of a list stand for themselves.
        {u"[-A]", u"-", true},
        {u"[A-]", u"-", true},
        {u"[A-]", u"B", false},
        {u"[!-]", u"X", true},
        {u"[!-]", u"-", false},
        {u"[A-C-E]", u"-", true},
        {u"[A-C-E]", u"E", true},
        {u"[A-C-E]", u"D", false},
        // Wildcards in brackets are plain characters.
        {u"[*]", u"*", true},
        {u"[*]", u"X", false},
        {u"[?]", u"?", true},
        {u"[?]", u"A", false},
        {u"[#]", u"#", true},
        {u"[#]", u"1", false},
        {u"[[]", u"[", true},
        {u"Doc [[]1]", u"Doc [1]", true},
        // A closing bracket outside a list is itself.
        {u"]", u"]", true},
        {u"A]", u"A]", true},
        {u"A]", u"A", false},
        // The empty pair stands for nothing.
        {u"A[]B", u"AB", true},
        {u"A[]B", u"A B", false},
        {u"[]", u"", true},
        {u"[]", u"X", false},
        {u"[]]", u"]", true},
        // Case does not matter, for letters beyond ASCII too.
        {u"notepad", u"NOTEPAD", true},
        {u"NOTEPAD", u"notepad", true},
        {u"[a-c]x", u"Bx", true},
        {u"[!a]", u"A", false},
        {u"\u00e9t\u00e9", u"\u00c9T\u00c9", true},
        {u"\u03c3\u03bf\u03c6\u03af\u03b1", u"\u03a3\u039f\u03a6\u038a\u0391", true},
        // Spaces and tabs are ordinary characters.
        {u"  X", u"  x", true},
        {u"  X", u" x", false},
        {u"\t", u"\t", true},
        {u"\t", u" ", false},
        // Malformed patterns never match, not even their own text.
        {u"[ABC", u"[ABC", false},
        {u"[ABC", u"A", false},
        {u"*[", u"x[", false},
        {u"[Z-A]", u"Z", false},
        {u"[Z-A]", u"[Z-A]", false},
        {u"A*[9-0]", u"A5", false},
        {u"[!", u"!", false},
    };
    return cases;
}

TEST(TitlePattern, ElementsAndEdgeCases) {
    for (const Case& c : LanguageCases()) {
        EXPECT_EQ(Matches(c.title, c.pattern), c.matches)
            << "pattern \"" << Narrow(c.pattern) << "\" title \"" << Narrow(c.title) << "\"";
    }
}

TEST(TitlePattern, MalformedPatternsMatchNothingTheirWellFormedLookalikesDo) {
    // Each title is what the pattern would match if its faults were read loosely; the rows that
    // match are the nearest patterns that are well formed.
    const Case cases[] = {
        {u"[ABC", u"A", false},     {u"[", u"[", false},      {u"[!", u"!", false},
        {u"[Z-A]", u"Z", false},    {u"[B-A]*", u"B", false}, {u"[A-Z]", u"Q", true},
        {u"]", u"]", true},         {u"[]", u"", true},       {u"[!]", u"!", true},
        {u"A]B[C]", u"A]BC", true}, {u"[[]", u"[", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Matches(c.title, c.pattern), c.matches) << Narrow(c.pattern);
    }
}

// Many stars against a long title that almost matches: a matcher that tries every way to share
// the title among the stars would not finish here.
TEST(TitlePattern, ManyStarsAgainstNearMiss) {
    std::u16string pattern;
    for (int i = 0; i < 40; ++i)
        pattern += u"*A";
    const std::u16string title(127, u'A');
    EXPECT_FALSE(Matches(title, pattern + u"*B"));
    EXPECT_TRUE(Matches(title + u"B", pattern + u"*B"));
    EXPECT_FALSE(Matches(std::u16string(39, u'A'), pattern));
}

// Every pattern of up to four elements over a small alphabet, against every short title, agrees
// with the plain recursive reading of the language.
TEST(TitlePattern, AgreesWithReferenceOnAllSmallPatterns) {
    const std::u16string alphabet = u"AB1*?#[]!-";
    const std::u16string titleAlphabet = u"AB1!-[]";
    std::vector<std::u16string> patterns{u""};
    for (std::size_t length = 1, begin = 0; length <= 4; ++length) {
        const std::size_t end = patterns.size();
        for (std::size_t i = begin; i < end; ++i) {
            for (char16_t c : alphabet)
                patterns.push_back(patterns[i] + c);
        }
        begin = end;
    }
    std::vector<std::u16string> titles{u""};
    for (std::size_t length = 1, begin = 0; length <= 3; ++length) {
        const std::size_t end = titles.size();
        for (std::size_t i = begin; i < end; ++i) {
            for (char16_t c : titleAlphabet)
                titles.push_back(titles[i] + c);
        }
        begin = end;
    }
    int failures = 0;
    for (const std::u16string& pattern : patterns) {
        const FilterList single({pattern});
        const std::u32string pattern32 = ToCodePoints(pattern);
        for (const std::u16string& title : titles) {
            const std::u32string title32 = ToCodePoints(title);
            const bool expected = reference::Matches(title32, pattern32);
            if (single.Matches(title32) != expected) {
                ADD_FAILURE() << "pattern \"" << Narrow(pattern) << "\" title \"" << Narrow(title)
                              << "\" expected " << expected;
                if (++failures > 20)
                    return;
            }
        }
    }
}

// Longer patterns and titles from two letters, where a piece between stars often almost fits
// (AAB in AAAB, ABAB in ABAAB): the same answers as the reference, from a fixed seed.
TEST(TitlePattern, AgreesWithReferenceOnRepetitiveText) {
    std::mt19937 random(32);
    const std::u16string alphabet = u"AAAB*?";
    for (int i = 0; i < 20000 && !HasFailure(); ++i) {
        std::u16string pattern, title;
        for (std::size_t n = random() % 10; n > 0; --n)
            pattern += alphabet[random() % alphabet.size()];
        for (std::size_t n = random() % 14; n > 0; --n)
            title += alphabet[random() % 4];
        EXPECT_EQ(FilterList({pattern}).Matches(ToCodePoints(title)),
                  reference::Matches(ToCodePoints(title), ToCodePoints(pattern)))
            << "pattern \"" << Narrow(pattern) << "\" title \"" << Narrow(title) << "\"";
    }
}

// Pieces of wildcards and characters longer than a machine word, placed leftmost or not at all.
TEST(TitlePattern, LongPiecesWithWildcardsAgreeWithReference) {
    const std::u16string a(70, u'A');
    const std::u16string patterns[] = {u"*?" + a + u"B*", u"*#" + a + u"[B-C]*A",
                                       u"*[!C]" + a + u"*", u"*[!C]" + a + u"B*"};
    const std::u16string f = u"ABABABABABABAB7ABABABC";  // enough places to look in one pass
    const std::u16string titles[] = {f + a + u"AAB", f + u"7" + a + u"BA", f + u"C" + a + u"BAA",
                                     f + u"BC" + a, u"7" + a + u"BA"};
    for (const auto& pattern : patterns) {
        for (const auto& title : titles) {
            EXPECT_EQ(Matches(title, pattern),
                      reference::Matches(ToCodePoints(title), ToCodePoints(pattern)))
                << Narrow(pattern) << " / " << Narrow(title);
        }
    }
}

TEST(FilterList, MatchesWhenAnyPatternMatches) {
    // Patterns that start with a plain character, end with one, or have wildcards at both ends,
    // so that every way the list files a pattern is used.
    const FilterList list({u"abc*", u"*xyz", u"?m?", u"[ABC", u"*", u"exact"});
    const FilterList noStar({u"abc*", u"*xyz", u"?m?", u"[ABC", u"exact", u"[q]*[r]"});
    struct ListCase {
        std::u16string title;
        bool matches;
    };
    const ListCase cases[] = {
        {u"ABCDEF", true},  {u"qxyz", true}, {u"AMA", true},   {u"EXACT", true},
        {u"exact!", false}, {u"BBB", false}, {u"", false},     {u"QR", true},
        {u"Q R", true},     {u"QX", false},  {u"[ABC", false},
    };
    for (const ListCase& c : cases) {
        EXPECT_TRUE(IsFilteredTitle(list, c.title)) << Narrow(c.title);
        EXPECT_EQ(IsFilteredTitle(noStar, c.title), c.matches) << Narrow(c.title);
    }
    EXPECT_EQ(noStar.Count(), 6u);  // the malformed pattern counts, but never matches
}

// A line cut by the reader takes its place in a long list and matches nothing.
TEST(FilterList, CutLineMatchesNothing) {
    FilterList list;
    for (std::size_t i = 0; i < kMaxFilterPatterns - 1; ++i)
        list.Add(u"Report [0-9]#?? " + std::u16string(i % 40, u'x') + u"*");
    list.Add(u"*", true);
    list.Finish();
    EXPECT_EQ(list.Count(), kMaxFilterPatterns);
    EXPECT_TRUE(IsFilteredTitle(list, u"report 123a xxx"));
    EXPECT_FALSE(IsFilteredTitle(list, u"anything"));
}

// Copy lines name programs for the clipboard only; program lines never stand for them.
TEST(FilterList, CopyLinesAndProgramLinesKeepToTheirOwn) {
    const FilterList list(
        {u"copy:EXCEL.EXE", u"COPY:  C:\\Tools\\*  ", u"program:notepad.exe", u"Copy Machine"});
    struct Case {
        std::u16string title, program;
        bool spared, copyExempt;
    };
    const Case cases[] = {
        {u"Book1 - Excel", u"C:\\Office\\excel.exe", false, true},
        {u"Untitled - Notepad", u"C:\\Windows\\notepad.exe", true, false},
        {u"Any", u"C:\\tools\\bin\\x.exe", false, true},
        {u"copy:EXCEL.EXE", u"", false, false},  // no title pattern; an unknown program meets none
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list.Matches(PrepareWindow(c.title, c.program)), c.spared) << Narrow(c.title);
        EXPECT_EQ(list.MatchesCopy(PrepareWindow({}, c.program)), c.copyExempt) << Narrow(c.title);
    }
    EXPECT_FALSE(FilterList({u"copy:x.exe"}).HasProgramPatterns());
}

TEST(FilterList, KeepsAtMostTheLimit) {
    std::vector<std::u16string> patterns(kMaxFilterPatterns, u"P");
    patterns.push_back(u"Late");
    const FilterList list(patterns);
    EXPECT_EQ(list.Count(), kMaxFilterPatterns);
    EXPECT_FALSE(IsFilteredTitle(list, u"Late"));
    EXPECT_TRUE(IsFilteredTitle(list, u"p"));
}

}  // namespace

namespace {

TEST(FilterList, PatternsLongerThanAnyTitleNeverMatch) {
    const std::u16string title(kMaxTitleLength, u'x');
    const std::u16string emoji127 = [] {
        std::u16string text;
        for (std::size_t i = 0; i < kMaxTitleLength; ++i)
            text += u"\U0001F600";
        return text;
    }();
    struct LengthCase {
        std::u16string pattern;
        std::u16string title;
        bool matches;
    };
    const LengthCase cases[] = {
        {std::u16string(kMaxTitleLength, u'?'), title, true},
        {std::u16string(kMaxTitleLength, u'?') + u"*****", title, true},
        {std::u16string(kMaxTitleLength + 1, u'?'), title, false},
        {u"*" + std::u16string(kMaxTitleLength, u'X'), title, true},
        {std::u16string(kMaxTitleLength, u'?'), emoji127, true},  // pairs count once
        {std::u16string(kMaxTitleLength - 1, u'x') + u"[A-Z]", title, true},
        {std::u16string(kMaxTitleLength - 1, u'x') + u"[A-Z][]", title, true},
        {std::u16string(kMaxTitleLength - 1, u'x') + u"[A-Z]?", title, false},
    };
    for (const LengthCase& c : cases) {
        const FilterList list({c.pattern});
        EXPECT_EQ(IsFilteredTitle(list, c.title), c.matches) << c.pattern.size();
    }
}

// A runaway line of ten million characters loads as one pattern that spares nothing, and the
// patterns after it still work.
TEST(FilterList, RunawayLineCostsOnlyItself) {
    const FilterList list({std::u16string(10'000'000, u'A'), u"Editor*"});
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_FALSE(IsFilteredTitle(list, std::u16string(kMaxTitleLength, u'A')));
    EXPECT_TRUE(IsFilteredTitle(list, u"Editor - notes"));
}

}  // namespace
