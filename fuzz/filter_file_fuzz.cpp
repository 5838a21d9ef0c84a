// Fuzzes the filter file reader: any bytes, read whole and in small pieces, must give the same
// patterns, none of them blank or holding a line end, and never more than the limit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "filter_file_content.h"

namespace {

std::u16string Latin1(std::string_view bytes) {
    std::u16string text;
    for (char b : bytes)
        text += static_cast<char16_t>(static_cast<unsigned char>(b));
    return text;
}

FilterFileContent ReadInChunks(const std::uint8_t* data, std::size_t size, std::size_t chunk,
                               std::size_t limit) {
    std::size_t offset = 0;
    FilterFileSource source = [&](std::span<char> buffer) -> std::optional<std::size_t> {
        std::size_t count = std::min({chunk, buffer.size(), size - offset});
        if (count != 0)
            std::memcpy(buffer.data(), data + offset, count);
        offset += count;
        return count;
    };
    return ReadFilterPatterns(source, &Latin1, limit);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks a small pattern limit and a chunk size, so that both the limit and
    // the chunk boundaries fall everywhere.
    const std::size_t limit = 1 + data[0] % 8;
    const std::size_t chunk = 1 + data[0] / 8 % 7;
    ++data;
    --size;

    const FilterFileContent whole = ReadInChunks(data, size, size + 1, limit);
    const FilterFileContent pieces = ReadInChunks(data, size, chunk, limit);
    if (whole.readFailed || pieces.readFailed)
        std::abort();
    if (whole.patterns != pieces.patterns)
        std::abort();
    if (whole.patterns.size() > limit)
        std::abort();
    for (const std::u16string& pattern : whole.patterns) {
        if (pattern.find_first_not_of(u' ') == std::u16string::npos)
            std::abort();
        if (pattern.find_first_of(u"\r\n") != std::u16string::npos)
            std::abort();
    }
    // A file that ran out before the limit reads the same under a higher one.
    const FilterFileContent more = ReadInChunks(data, size, chunk, limit + 3);
    if (more.patterns.size() < whole.patterns.size())
        std::abort();
    if (whole.patterns.size() < limit && more.patterns != whole.patterns)
        std::abort();
    return 0;
}
