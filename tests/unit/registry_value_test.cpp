// Registry values as the registry layer reads them: decoding by type, and the two-step query
// against a stand-in registry whose value may change between the calls.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "system/registry_value.h"
#include "utf16_bytes.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using registry::Value;

// Value types the program never reads, as the registry numbers them.
constexpr std::uint32_t kBinary = 3;       // REG_BINARY
constexpr std::uint32_t kMultiString = 7;  // REG_MULTI_SZ

Bytes DwordBytes(std::uint32_t number) {
    return {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
            static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
}

TEST(DecodeValue, ByTypeAndData) {
    struct Case {
        const char* name;
        std::uint32_t type;
        Bytes data;
        Value expected;
    };
    const Case cases[] = {
        {"string with its final NUL", registry::kString, Utf16Bytes(u"C:\\A\\DeskBroom.exe", true),
         std::u16string(u"C:\\A\\DeskBroom.exe")},
        // Written without a terminating NUL: the last character still belongs to the text.
        {"string without final NUL", registry::kString, Utf16Bytes(u"abc", false),
         std::u16string(u"abc")},
        {"string cut at its first NUL", registry::kString, Utf16Bytes(u"on\0old", true),
         std::u16string(u"on")},
        {"string of one NUL is the empty text", registry::kString, Bytes{0, 0}, std::u16string()},
        {"string without data is nothing", registry::kString, Bytes{}, Value{}},
        {"string outside the ANSI code page", registry::kString,
         Utf16Bytes(u"\"C:\\Pr\u00FCfung \u65E5\u672C\\DeskBroom.exe\"", true),
         std::u16string(u"\"C:\\Pr\u00FCfung \u65E5\u672C\\DeskBroom.exe\"")},
        {"dword positive", registry::kDword, DwordBytes(305419896), std::int32_t{305419896}},
        {"dword zero", registry::kDword, DwordBytes(0), std::int32_t{0}},
        {"dword negative", registry::kDword, DwordBytes(0xFFFFFFFEu), std::int32_t{-2}},
        {"dword smallest", registry::kDword, DwordBytes(0x80000000u), std::int32_t{INT32_MIN}},
        {"dword too short is nothing", registry::kDword, Bytes{1, 0, 0}, Value{}},
        {"expand string is nothing", registry::kExpandString, Utf16Bytes(u"%WINDIR%", true),
         Value{}},
        {"binary is nothing", kBinary, Bytes{'a', 0, 'b', 0, 0, 0}, Value{}},
        {"multi string is nothing", kMultiString, Utf16Bytes(u"a\0b\0", true), Value{}},
        {"qword is nothing", registry::kQword, Bytes(8, 1), Value{}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(registry::DecodeValue(c.type, c.data), c.expected) << c.name;
    }
}

TEST(ValueText, NumbersAsSignedDecimalAndNothingAsEmpty) {
    EXPECT_EQ(registry::ValueText(Value{std::int32_t{-2147483647 - 1}}), u"-2147483648");
    EXPECT_EQ(registry::ValueText(Value{std::int32_t{42}}), u"42");
    EXPECT_EQ(registry::ValueText(Value{std::u16string(u"x y")}), u"x y");
    EXPECT_EQ(registry::ValueText(Value{}), u"");
}

// A registry holding one value that may be rewritten between calls: state n is what the
// registry holds at call n (the last one from then on). Behaves as the query function does:
// without a buffer it reports type and size; a buffer too small gives more-data and the size.
struct ChangingValue {
    struct State {
        std::uint32_t type;
        Bytes data;
        long missing = 0;  // non-zero: the value cannot be read, with that code
    };
    std::vector<State> states;
    int calls = 0;

    long operator()(std::uint32_t& type, std::uint8_t* buffer, std::uint32_t& size) {
        const State& now = states[std::min<std::size_t>(calls, states.size() - 1)];
        ++calls;
        if (now.missing != 0)
            return now.missing;
        type = now.type;
        auto needed = static_cast<std::uint32_t>(now.data.size());
        if (buffer == nullptr) {
            size = needed;
            return registry::kSuccess;
        }
        if (size < needed) {
            size = needed;
            return registry::kMoreData;
        }
        std::copy(now.data.begin(), now.data.end(), buffer);
        size = needed;
        return registry::kSuccess;
    }
};

TEST(QueryValue, ReadsWhatTheRegistryHoldsAtTheEnd) {
    constexpr long kFileNotFound = 2;
    constexpr long kAccessDenied = 5;
    const Bytes shortText = Utf16Bytes(u"C:\\A", true);
    const Bytes longText = Utf16Bytes(u"C:\\A much longer folder\\DeskBroom.exe", true);
    struct Case {
        const char* name;
        std::vector<ChangingValue::State> states;
        long status;
        Value value;
    };
    const Case cases[] = {
        {"text",
         {{registry::kString, longText}},
         0,
         std::u16string(u"C:\\A much longer folder\\DeskBroom.exe")},
        {"number", {{registry::kDword, DwordBytes(0xFFFFFFFFu)}}, 0, std::int32_t{-1}},
        {"text of no bytes", {{registry::kString, {}}}, 0, Value{}},
        {"missing value", {{0, {}, kFileNotFound}}, kFileNotFound, Value{}},
        {"unsupported type", {{kBinary, Bytes{1, 2}}}, registry::kUnsupportedType, Value{}},
        {"expand string",
         {{registry::kExpandString, shortText}},
         registry::kUnsupportedType,
         Value{}},
        {"text grew between the calls",
         {{registry::kString, shortText}, {registry::kString, longText}},
         0,
         std::u16string(u"C:\\A much longer folder\\DeskBroom.exe")},
        {"text grew from nothing",
         {{registry::kString, {}}, {registry::kString, shortText}},
         0,
         std::u16string(u"C:\\A")},
        {"text shrank between the calls",
         {{registry::kString, longText}, {registry::kString, shortText}},
         0,
         std::u16string(u"C:\\A")},
        {"text became a number",
         {{registry::kString, shortText}, {registry::kDword, DwordBytes(7)}},
         0,
         std::int32_t{7}},
        {"text became binary",
         {{registry::kString, shortText}, {kBinary, Bytes(40, 1)}},
         registry::kUnsupportedType,
         Value{}},
        {"value deleted between the calls",
         {{registry::kString, shortText}, {0, {}, kFileNotFound}},
         kFileNotFound,
         Value{}},
        {"read refused",
         {{registry::kString, shortText}, {0, {}, kAccessDenied}},
         kAccessDenied,
         Value{}},
    };
    for (const Case& c : cases) {
        ChangingValue registryValue{c.states};
        registry::QueryResult result = registry::QueryValue(registryValue);
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_EQ(result.value, c.value) << c.name;
    }
}

TEST(QueryValue, GivesUpOnAValueThatKeepsGrowing) {
    std::vector<ChangingValue::State> states;
    for (int i = 1; i <= 100; ++i)
        states.push_back({registry::kString, Bytes(2 * i, 'x')});
    ChangingValue registryValue{states};
    registry::QueryResult result = registry::QueryValue(registryValue);
    EXPECT_EQ(result.status, registry::kMoreData);
    EXPECT_EQ(result.value, Value{});
    EXPECT_LT(registryValue.calls, 100);
}

}  // namespace
