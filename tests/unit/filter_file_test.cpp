// Reading the filter file: line ends, blank lines, encodings, the pattern limit and read errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "filter_file_content.h"
#include "utf16_bytes.h"
#include "closing/filter_list.h"

namespace {

// A stand-in for the ANSI code page: windows-1252's euro sign at 0x80, Latin-1 elsewhere.
std::u16string TestAnsi(std::string_view bytes) {
    std::u16string text;
    for (char b : bytes) {
        auto byte = static_cast<unsigned char>(b);
        text += byte == 0x80 ? u'\u20AC' : static_cast<char16_t>(byte);
    }
    return text;
}

// Hands out `bytes` at most `chunk` at a time.
struct StringSource {
    std::string bytes;
    std::size_t chunk;
    std::size_t offset = 0;

    std::optional<std::size_t> operator()(std::span<char> buffer) {
        std::size_t count = std::min({chunk, buffer.size(), bytes.size() - offset});
        std::memcpy(buffer.data(), bytes.data() + offset, count);
        offset += count;
        return count;
    }
};

std::vector<std::u16string> Read(const std::string& bytes, std::size_t chunk) {
    StringSource source{bytes, chunk};
    FilterFileContent content = ReadFilterPatterns(std::ref(source), &TestAnsi, kMaxFilterPatterns);
    EXPECT_FALSE(content.readFailed);
    return content.patterns;
}

std::string Utf16(std::u16string_view text, bool bigEndian = false, bool bom = true) {
    const auto bytes = Utf16Bytes((bom ? u"\uFEFF" : u"") + std::u16string(text), false, bigEndian);
    return {bytes.begin(), bytes.end()};
}
struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::u16string> patterns;
};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"CR LF", "One\r\nTwo\r\n", {u"One", u"Two"}},
        {"CR alone", "One\rTwo\r", {u"One", u"Two"}},
        {"LF alone", "One\nTwo\n", {u"One", u"Two"}},
        {"mixed line ends", "A\r\nB\rC\nD\n\rE", {u"A", u"B", u"C", u"D", u"E"}},
        {"no line end at the end", "One\r\nLast", {u"One", u"Last"}},
        {"empty file", "", {}},
        {"one byte", "X", {u"X"}},
        {"two bytes", "XY", {u"XY"}},
        {"only blank lines", "\r\n   \r\n\n \r", {}},
        {"spaces kept", "  Two leading\r\nTrailing  \r\n", {u"  Two leading", u"Trailing  "}},
        {"tabs are not blank", "\t\r\n \t \r\n", {u"\t", u" \t "}},
        {"lone LF inside a CR LF file", "A\r\nB\nC\r\n", {u"A", u"B", u"C"}},
        // Reading holds no more of a line than a pattern can use; a cut line reads as empty.
        {"runaway line is cut", std::string(5000, 'A') + "\r\nB", {u"", u"B"}},
        {"UTF-16 runaway line is cut", Utf16(std::u16string(5000, u'A') + u"\nB"), {u"", u"B"}},
        {"a run of stars is one star", "A" + std::string(5000, '*') + "B", {u"A*B"}},
        {"a long line of spaces is blank", std::string(5000, ' ') + "\rB", {u"B"}},
        {"ANSI above 127", "Caf\xE9\r\n\x80uro", {u"Caf\u00e9", u"\u20ACuro"}},
        {"UTF-8 without BOM", "Caf\xC3\xA9\r\n\xE2\x82\xAC", {u"Caf\u00e9", u"\u20AC"}},
        {"UTF-8 with BOM",
         "\xEF\xBB\xBF"
         "Caf\xC3\xA9\r\n",
         {u"Caf\u00e9"}},
        {"UTF-8 beyond the BMP", "\xF0\x9F\x98\x80 Mail", {u"\U0001F600 Mail"}},
        {"UTF-8 BOM keeps bad bytes as U+FFFD",
         "\xEF\xBB\xBF"
         "A\xE9",
         {u"A\uFFFD"}},
        // One line that is not UTF-8 makes the whole file ANSI, also the lines that would be.
        {"mixed UTF-8 and ANSI", "Caf\xC3\xA9\r\nCaf\xE9", {u"Caf\u00c3\u00a9", u"Caf\u00e9"}},
        {"overlong UTF-8 is ANSI", "\xC0\xAF", {u"\u00c0\u00af"}},
        {"encoded surrogate is ANSI", "\xED\xA0\x80", {u"\u00ed\u00a0\u20ac"}},
        {"cut UTF-8 is ANSI", "A\xE2\x82", {u"A\u00e2\u0082"}},
        {"only a UTF-8 BOM", "\xEF\xBB\xBF", {}},
        {"only a UTF-16 BOM", "\xFF\xFE", {}},
        {"UTF-16 LE",
         Utf16(u"Caf\u00e9\r\nB\rC\n\U0001F600"),
         {u"Caf\u00e9", u"B", u"C", u"\U0001F600"}},
        // The bytes of CR and LF inside a UTF-16 character end no line.
        {"UTF-16 units holding CR and LF bytes", Utf16(u"\u0A0D\u0D0A"), {u"\u0A0D\u0D0A"}},
        {"UTF-16 blank lines", Utf16(u"  \r\n\r\nX"), {u"X"}},
        {"UTF-16 odd last byte", Utf16(u"AB") + "C", {u"AB"}},
        {"UTF-16 BE",
         Utf16(u"Caf\u00e9\r\nB\rC\n\U0001F600", true),
         {u"Caf\u00e9", u"B", u"C", u"\U0001F600"}},
        {"UTF-16 unpaired surrogates kept",
         Utf16(u"A\xD800\r\n\xDC00"
               u"B",
               true),
         {u"A\xD800",
          u"\xDC00"
          u"B"}},
        {"UTF-16 LE without BOM",
         Utf16(u"Notepad*\r\nSol\u00e9 \u6587", false, false),
         {u"Notepad*", u"Sol\u00e9 \u6587"}},
        {"UTF-16 BE without BOM",
         Utf16(u"\r\nAB\r\nCDE\u20AC", true, false),
         {u"AB", u"CDE\u20AC"}},
        // The zero bytes must run through the start of the file, and in one byte order.
        {"a zero byte past the start is no UTF-16", "AB\r\nC\0D", {u"AB", u"C\0D"}},
        {"zeros in both byte orders are no UTF-16",
         std::string("A\0\0BC\0", 6),
         {std::u16string(u"A\0\0BC\0", 6)}},
        {"UTF-16 starting with a non-Latin character is not recognised",
         Utf16(u"\u6587A", false, false),
         {std::u16string(u"\u0087eA\0", 4)}},
    };
    return cases;
}

TEST(ReadFilterPatterns, LinesAndEncodingsInAnyChunking) {
    for (const Case& c : Cases()) {
        for (std::size_t chunk :
             {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{1} << 20}) {
            EXPECT_EQ(Read(c.bytes, chunk), c.patterns) << c.name << ", chunks of " << chunk;
        }
    }
}

TEST(ReadFilterPatterns, StopsAtTheLimitWithoutReadingFurther) {
    // About 100 MB of patterns: only the first 10000 are read, and not much more of the file.
    const std::string line = "Pattern number something or other\r\n";
    const std::size_t total = 100u << 20;
    std::size_t produced = 0;
    FilterFileSource source = [&](std::span<char> buffer) -> std::optional<std::size_t> {
        std::size_t count = std::min(buffer.size(), total - produced);
        for (std::size_t i = 0; i < count; ++i)
            buffer[i] = line[(produced + i) % line.size()];
        produced += count;
        return count;
    };
    FilterFileContent content = ReadFilterPatterns(source, &TestAnsi, kMaxFilterPatterns);
    ASSERT_EQ(content.patterns.size(), kMaxFilterPatterns);
    EXPECT_EQ(content.patterns.back(), u"Pattern number something or other");
    EXPECT_LT(produced, line.size() * kMaxFilterPatterns + (1u << 20));
}

TEST(ReadFilterPatterns, BlankLinesDoNotCountTowardsTheLimit) {
    std::string bytes;
    for (std::size_t i = 0; i < kMaxFilterPatterns + 5; ++i) {
        bytes += "P" + std::to_string(i) + "\r\n  \r\n\r\n";
    }
    std::vector<std::u16string> patterns = Read(bytes, 4096);
    ASSERT_EQ(patterns.size(), kMaxFilterPatterns);
    EXPECT_EQ(patterns.front(), u"P0");
    EXPECT_EQ(patterns.back(), u"P9999");
}

// An ANSI byte far past the limit does not change how the patterns read are decoded.
TEST(ReadFilterPatterns, OnlyTheLinesReadDecideTheEncoding) {
    std::string bytes;
    for (std::size_t i = 0; i < kMaxFilterPatterns; ++i)
        bytes += "Caf\xC3\xA9\n";
    bytes += "\xE9";
    std::vector<std::u16string> patterns = Read(bytes, 4096);
    ASSERT_EQ(patterns.size(), kMaxFilterPatterns);
    EXPECT_EQ(patterns.back(), u"Caf\u00e9");
}

TEST(ReadFilterPatterns, ReadErrorLeavesNoPatterns) {
    for (std::size_t failAt : {0, 1, 3}) {
        std::size_t calls = 0;
        FilterFileSource source = [&](std::span<char> buffer) -> std::optional<std::size_t> {
            if (calls++ == failAt)
                return std::nullopt;
            buffer[0] = 'A';
            buffer[1] = '\n';
            return 2;
        };
        FilterFileContent content = ReadFilterPatterns(source, &TestAnsi, kMaxFilterPatterns);
        EXPECT_TRUE(content.readFailed) << failAt;
        EXPECT_TRUE(content.patterns.empty()) << failAt;
    }
}

}  // namespace
