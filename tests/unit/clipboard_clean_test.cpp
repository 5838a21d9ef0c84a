// Clipboard cleaning: which characters go and which stay, and the text a reader sees in the data.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "clipboard/clipboard_text.h"

namespace {

// The whole text in one step.
std::u16string Cleaned(std::u16string text) {
    text.resize(
        RemoveControlCharacters(text.data(), text.size(), text.size(), [] { return true; }).length);
    return text;
}

std::string Hex(const std::u16string& text) {
    std::string out;
    char unit[8];
    for (char16_t c : text) {
        std::snprintf(unit, sizeof unit, "%04X ", static_cast<unsigned>(c));
        out += unit;
    }
    return out;
}

// What the cleaning must equal: one removal pass per code, in ascending order.
std::u16string CleanedByPasses(std::u16string text) {
    for (char16_t code = 0; code < 32; ++code) {
        if (code == u'\t' || code == u'\n' || code == u'\r')
            continue;
        std::erase(text, code);
    }
    return text;
}

TEST(RemoveControlCharacters, EveryAsciiCodeGoesOrStaysAsTheTableSays) {
    struct Range {
        char16_t first, last;
        bool removed;
    };
    const Range table[] = {
        {0, 8, true},      // NUL to backspace
        {9, 10, false},    // tab, line feed
        {11, 12, true},    // vertical tab, form feed
        {13, 13, false},   // carriage return
        {14, 31, true},    // shift out to unit separator
        {32, 127, false},  // printable, delete included
    };
    for (const Range& range : table) {
        for (char16_t code = range.first; code <= range.last; ++code) {
            std::u16string text = u"a";
            text += code;
            text += u"b";
            std::u16string expected = range.removed ? u"ab" : text;
            EXPECT_EQ(Cleaned(text), expected) << "code " << static_cast<int>(code);
            EXPECT_EQ(IsRemovedControlCharacter(code), range.removed)
                << "code " << static_cast<int>(code);
        }
    }
}

TEST(RemoveControlCharacters, NonAsciiTextStaysWhole) {
    const std::u16string kept[] = {
        u"Grüße, Ærø, naïve",
        u"中文字符 and 日本語",
        u"\U0001F600 emoji as a surrogate pair",
        // A snail: its low surrogate ends in 0x0C, the code of form feed.
        u"\U0001F40C",
        // Code units whose low byte is a control code: only the whole unit counts.
        u"\u010C\u0100\u011B\u0A0D\u0C00\u1F1F\uFF08",
        // C1 controls, delete, non-characters and separators are not among the removed codes.
        u"\u007F\u0080\u0085\u009F\u2028\uFEFF\uFFFE\uFFFF",
    };
    for (const std::u16string& text : kept) {
        EXPECT_EQ(Cleaned(text), text) << Hex(text);
    }
    // Lone surrogates are kept as they are, neither dropped nor mended.
    for (std::u16string lone : {std::u16string(1, u'\xD83D'), std::u16string(1, u'\xDC0C')}) {
        EXPECT_EQ(Cleaned(lone), lone) << Hex(lone);
    }
}

TEST(RemoveControlCharacters, RemovesAndPutsNothingInTheirPlace) {
    struct Case {
        std::u16string text, expected;
    };
    const Case cases[] = {
        {u"", u""},
        {u"line 1\r\n\tline 2\r\nline 3\n\r", u"line 1\r\n\tline 2\r\nline 3\n\r"},
        {u"page 1\fpage 2\vend", u"page 1page 2end"},
        {u"\x1B[1mbold\x1B[0m", u"[1mbold[0m"},
        {std::u16string(u"a\0b", 3), u"ab"},
        {u"\x01\x02\x03\x04\x05\x06\x07\x08\x0E\x1F\x1E", u""},
        {u"中\x07文\U0001F600\x1B\U0001F600", u"中文\U0001F600\U0001F600"},
        {u"\U0001F600\x0C", u"\U0001F600"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cleaned(c.text), c.expected) << Hex(c.text);
    }
}

// Texts of many lengths, with control characters at random
// places, sparse and dense, among ASCII, CJK and surrogate pairs.
std::vector<std::u16string> RandomTexts() {
    std::mt19937 random(20261207);
    const std::u16string plain = u"ab \t\r\n\x7F\u010C中\xD83D\xDE00";
    const std::u16string control(u"\x0C\x0B\x1B\x01\x00\x1F", 6);
    std::vector<std::u16string> texts;
    for (std::size_t length : {0, 1, 31, 32, 33, 63, 64, 65, 100, 257, 1000, 5000}) {
        for (unsigned controlPercent : {0, 1, 10, 50, 100}) {
            std::u16string text;
            for (std::size_t i = 0; i < length; ++i) {
                const std::u16string& from = random() % 100 < controlPercent ? control : plain;
                text += from[random() % from.size()];
            }
            texts.push_back(text);
        }
    }
    return texts;
}

TEST(RemoveControlCharacters, EqualsOnePassPerCodeAndIsIdempotent) {
    for (const std::u16string& text : RandomTexts()) {
        std::u16string once = Cleaned(text);
        EXPECT_EQ(once, CleanedByPasses(text)) << "length " << text.size();
        EXPECT_EQ(Cleaned(once), once) << "length " << text.size();
    }
}

TEST(RemoveControlCharactersInChunks, GivesTheSameTextForEveryChunkLength) {
    for (const std::u16string& text : RandomTexts()) {
        const std::u16string expected = CleanedByPasses(text);
        for (std::size_t chunk : {0, 1, 7, 31, 32, 33, 1000, 100000}) {
            std::u16string work = text;
            std::size_t calls = 0;
            ChunkedCleaning result = RemoveControlCharacters(work.data(), work.size(), chunk, [&] {
                ++calls;
                return true;
            });
            ASSERT_TRUE(result.completed);
            work.resize(result.length);
            EXPECT_EQ(work, expected) << "length " << text.size() << ", chunk " << chunk;
            // Other work gets its turn after every step, at least once even for an empty text.
            std::size_t step = chunk == 0 ? 1 : chunk;
            EXPECT_EQ(calls, std::max<std::size_t>(1, (text.size() + step - 1) / step))
                << "length " << text.size() << ", chunk " << chunk;
        }
    }
}

TEST(RemoveControlCharactersInChunks, StopsWhenAskedTo) {
    std::u16string text(1000, u'x');
    int calls = 0;
    ChunkedCleaning result =
        RemoveControlCharacters(text.data(), text.size(), 100, [&] { return ++calls < 3; });
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(calls, 3);
}

TEST(ClipboardTextLength, StopsAtTheFirstNulWithinTheData) {
    struct Case {
        std::u16string units;  // the whole data block
        std::size_t byteSize;
        std::size_t expected;
    };
    const Case cases[] = {
        {std::u16string(u"abc\0", 4), 8, 3},
        {u"abc", 6, 3},                        // no final NUL: every unit counts
        {u"abcd", 7, 3},                       // a half unit at the end is not a character
        {u"a", 1, 0},                          // only half a unit
        {std::u16string(u"a\0b\0", 4), 8, 1},  // what follows a NUL is not read
        {std::u16string(u"\0abc", 4), 8, 0},   // NUL first: empty text
        {u"", 0, 0},                           // no data at all
        {u"中\U0001F600", 6, 3},               // surrogate pair counts as two units
        {std::u16string(u"ab\0", 3), 4, 2},    // the NUL lies outside the data's size
    };
    for (const Case& c : cases) {
        // An exact-size copy, so that a read past the data shows under AddressSanitizer.
        std::vector<char16_t> data(c.units.begin(), c.units.end());
        EXPECT_EQ(ClipboardTextLength(data.data(), c.byteSize), c.expected) << Hex(c.units);
    }
}

// Shaped in a buffer of exactly the text's size, grown to exactly what is asked for, so that a
// write past it shows under AddressSanitizer.
std::u16string Shaped(const std::u16string& text, TextShape shape, bool* changes = nullptr) {
    auto buffer = std::make_unique<char16_t[]>(text.size());
    std::copy(text.begin(), text.end(), buffer.get());
    const std::optional<ShapedText> shaped =
        ShapeText(buffer.get(), text.size(), text.size(), shape, [&](std::size_t units) {
            auto larger = std::make_unique<char16_t[]>(units);
            std::copy(buffer.get(), buffer.get() + text.size(), larger.get());
            buffer = std::move(larger);
            return buffer.get();
        });
    if (changes)
        *changes = shaped->changes;
    return std::u16string(buffer.get(), shaped->length);
}

TEST(ShapeText, TrimAndJoinAsTheTableSays) {
    constexpr TextShape kTrim{true, false}, kJoin{false, true}, kBoth{true, true};
    struct Case {
        std::u16string text;
        TextShape shape;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"  first line\r\nsecond line \r\n\r\nnext paragraph\t\r\n", kBoth,
         u"first line second line\r\n\r\nnext paragraph"},
        {u"  first line\r\nsecond line \r\n\r\nnext paragraph\t\r\n", kTrim,
         u"first line\r\nsecond line \r\n\r\nnext paragraph"},
        {u"  first line\r\nsecond line \r\n\r\nnext paragraph\t\r\n", kJoin,
         u"  first line second line\r\n\r\nnext paragraph "},
        // Every kind of white space goes at the ends, and only there.
        {u"\t\n\r\u00A0\u2003\u3000\u2028\u0085 a \u00A0\u3000b\u202F\u205F\u1680\u2029\u200A",
         kTrim, u"a \u00A0\u3000b"},
        {u"\u200Ba\u200B", kTrim, u"\u200Ba\u200B"},  // zero width space is no white space
        {u" \r\n\t ", kTrim, u""},
        {u"", kBoth, u""},
        {u"no breaks,  two spaces\tand a tab ", kJoin, u"no breaks,  two spaces\tand a tab "},
        // A single break of each kind, with the blanks around it.
        {u"a\r\nb", kJoin, u"a b"},
        {u"a\rb", kJoin, u"a b"},
        {u"a\nb", kJoin, u"a b"},
        {u"a \t\n\t b", kJoin, u"a b"},
        // Two breaks or more, blank lines holding blanks, mixed kinds: one blank line.
        {u"a\n\nb", kJoin, u"a\r\n\r\nb"},
        {u"a\r\rb", kJoin, u"a\r\n\r\nb"},
        {u"a\n\rb", kJoin, u"a\r\n\r\nb"},
        {u"a\r\n \t \r\n\n\r\n b", kJoin, u"a\r\n\r\nb"},
        {u"a\r\n\r\nb", kJoin, u"a\r\n\r\nb"},
        // Growing everywhere: the text must move up before it is written.
        {u"\n\na\n\nb\n\n", kJoin, u"\r\n\r\na\r\n\r\nb\r\n\r\n"},
        {u"\n\na\n\nb\n\n", kBoth, u"a\r\n\r\nb"},
        // Early growth, later shrinking: the room is the largest lead, not the final one.
        {u"\n\nx\r\n \r\n \r\n \r\ny", kJoin, u"\r\n\r\nx\r\n\r\ny"},
        // Shrinking first, then growing past what the shrinking gave.
        {u"a\r\nb\n\nc\n\nd\n\ne", kJoin, u"a b\r\n\r\nc\r\n\r\nd\r\n\r\ne"},
    };
    for (const Case& c : cases) {
        bool changes = false;
        EXPECT_EQ(Hex(Shaped(c.text, c.shape, &changes)), Hex(c.expected)) << Hex(c.text);
        EXPECT_EQ(changes, c.expected != c.text) << Hex(c.text);
    }
}

TEST(ShapeText, JoinIsIdempotentAndNeverOverrunsOnRandomText) {
    for (const std::u16string& text : RandomTexts()) {
        const std::u16string once = Shaped(text, {true, true});
        bool changes = true;
        EXPECT_EQ(Shaped(once, {true, true}, &changes), once) << Hex(text);
        EXPECT_FALSE(changes) << Hex(text);
    }
}

}  // namespace
