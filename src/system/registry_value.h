// Decoding of registry data into the texts and numbers the program works with.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace registry {

// Value types as the registry numbers them.
inline constexpr std::uint32_t kString = 1;        // REG_SZ
inline constexpr std::uint32_t kExpandString = 2;  // REG_EXPAND_SZ
inline constexpr std::uint32_t kDword = 4;         // REG_DWORD
inline constexpr std::uint32_t kQword = 11;        // REG_QWORD

// Result codes of a query: the registry's own, and one for a type the program does not read.
inline constexpr long kSuccess = 0;     // ERROR_SUCCESS
inline constexpr long kMoreData = 234;  // ERROR_MORE_DATA
inline constexpr long kUnsupportedType = -1;

// A value as the settings store reads it: the text of a string value, the signed decimal text
// of a 32- or 64-bit number, nothing for any other type.
std::optional<std::u16string> SettingText(std::uint32_t type, std::span<const std::uint8_t> data);

// A value as the registry layer reads it: nothing, a text or a signed 32-bit number.
using Value = std::variant<std::monostate, std::u16string, std::int32_t>;

// REG_SZ gives its text (nothing when it has no data bytes), REG_DWORD its signed number;
// every other type, and a number datum shorter than four bytes, gives nothing.
Value DecodeValue(std::uint32_t type, std::span<const std::uint8_t> data);

// A number as its decimal text, nothing as the empty text.
std::u16string ValueText(const Value& value);

// What a query of one value found: its result code and, on success, the value.
struct QueryResult {
    long status = kSuccess;
    Value value;
};

// What the two-step query read: its result code and, on success, the value's type and data.
struct QueryData {
    long status = kSuccess;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

// The two-step query over one call of the registry's query function, given as
// `long query(std::uint32_t& type, std::uint8_t* data, std::uint32_t& size)`: a first call
// without a buffer learns type and size, a second one reads into a buffer of that size. A value
// that grew in between is read again with the size it now reports. A value whose type `wanted`
// refuses is not read (kUnsupportedType).
template <typename Query, typename Wanted>
QueryData ReadValueData(Query&& query, Wanted&& wanted) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    long status = query(type, nullptr, size);
    if (status != kSuccess)
        return {status, 0, {}};
    if (!wanted(type))
        return {kUnsupportedType, 0, {}};

    std::vector<std::uint8_t> data;
    // Another program may keep rewriting the value; give up after a few rounds rather than spin.
    for (int attempt = 0; attempt < 16; ++attempt) {
        data.assign(size, 0);
        status = query(type, data.empty() ? nullptr : data.data(), size);
        // Without a buffer a success only reports the size, so a value that grew from nothing
        // has not been read yet.
        bool grew = status == kMoreData || (status == kSuccess && size > data.size());
        if (grew)
            continue;
        if (status != kSuccess)
            return {status, 0, {}};
        data.resize(size);
        // The value may have been replaced by one of another type in between.
        if (!wanted(type))
            return {kUnsupportedType, 0, {}};
        return {kSuccess, type, std::move(data)};
    }
    return {kMoreData, 0, {}};
}

// The types the registry layer reads: REG_SZ and REG_DWORD.
inline bool IsLayerType(std::uint32_t type) {
    return type == kString || type == kDword;
}

// The registry layer's read: the two-step query of a REG_SZ or REG_DWORD value, decoded.
template <typename Query>
QueryResult QueryValue(Query&& query) {
    QueryData read = ReadValueData(query, &IsLayerType);
    if (read.status != kSuccess)
        return {read.status, {}};
    return {kSuccess, DecodeValue(read.type, read.data)};
}

}  // namespace registry
