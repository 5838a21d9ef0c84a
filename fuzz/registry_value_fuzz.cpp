// Registry data comes from whoever wrote the value: decoding and the two-step query must take
// any type, any size and any change between the calls without reading past what they got.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "system/registry_value.h"

namespace {

// A value that the input rewrites between calls: each state is a type byte, a length byte and
// that many data bytes, or a failure code when the type byte is 0xFF.
struct FuzzedValue {
    std::span<const std::uint8_t> input;
    std::vector<std::vector<std::uint8_t>> seen;

    long operator()(std::uint32_t& type, std::uint8_t* buffer, std::uint32_t& size) {
        if (input.size() < 2)
            input = {};
        std::uint8_t kind = input.empty() ? registry::kString : input[0];
        std::size_t length = input.empty() ? 0 : std::min<std::size_t>(input[1], input.size() - 2);
        std::span<const std::uint8_t> data =
            input.empty() ? std::span<const std::uint8_t>{} : input.subspan(2, length);
        if (!input.empty())
            input = input.subspan(2 + length);
        if (kind == 0xFF)
            return 2 + (length % 7);
        type = kind % 12;
        seen.emplace_back(data.begin(), data.end());
        if (buffer == nullptr || size < data.size()) {
            size = static_cast<std::uint32_t>(data.size());
            return buffer == nullptr ? registry::kSuccess : registry::kMoreData;
        }
        std::copy(data.begin(), data.end(), buffer);
        size = static_cast<std::uint32_t>(data.size());
        return registry::kSuccess;
    }
};

void CheckText(const registry::Value& value, std::size_t bytes) {
    if (const auto* text = std::get_if<std::u16string>(&value)) {
        if (text->find(u'\0') != std::u16string::npos || text->size() > bytes / 2)
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::span<const std::uint8_t> input(data, size);

    registry::Value decoded = registry::DecodeValue(input[0] % 12, input.subspan(1));
    CheckText(decoded, size - 1);
    if (input[0] % 12 == registry::kDword && size >= 5 &&
        !std::holds_alternative<std::int32_t>(decoded)) {
        std::abort();
    }

    FuzzedValue value{input, {}};
    registry::QueryResult result = registry::QueryValue(value);
    if (result.status == registry::kSuccess) {
        // A successful read decodes what the registry held at the last call.
        if (value.seen.empty())
            std::abort();
        CheckText(result.value, value.seen.back().size());
    } else if (!std::holds_alternative<std::monostate>(result.value)) {
        std::abort();
    }
    return 0;
}
