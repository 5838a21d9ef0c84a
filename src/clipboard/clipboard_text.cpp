// Clipboard text without control characters: which characters go, and how they are removed.
#include "clipboard/clipboard_text.h"

#include <algorithm>

ChunkedCleaning RemoveControlCharacters(char16_t* text, std::size_t length, std::size_t chunkLength,
                                        const std::function<bool()>& betweenChunks) {
    chunkLength = std::max<std::size_t>(chunkLength, 1);
    // Each unit moves down to the kept position, which advances only past the units that stay.
    // Writing never overtakes reading, so the work can stop after any chunk.
    std::size_t kept = 0;
    std::size_t read = 0;
    do {
        const std::size_t end = read + std::min(chunkLength, length - read);
        for (; read < end; ++read) {
            const char16_t c = text[read];
            text[kept] = c;
            kept += !IsRemovedControlCharacter(c);
        }
        if (!betweenChunks())
            return {kept, false};
    } while (read < length);
    return {kept, true};
}

std::size_t ClipboardTextLength(const char16_t* data, std::size_t byteSize) noexcept {
    const char16_t* end = data + byteSize / 2;
    return static_cast<std::size_t>(std::find(data, end, u'\0') - data);
}
