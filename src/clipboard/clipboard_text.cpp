// Clipboard text without control characters: which characters go, and how they are removed.
#include "clipboard/clipboard_text.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <tuple>
#include <utility>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

// Text is looked at in blocks of 32 units: a block without a single character to remove, which
// is what almost all text is made of, is tested and moved as a whole.
constexpr std::size_t kBlock = 32;

std::size_t CleanUnits(char16_t* text, std::size_t read, std::size_t end,
                       std::size_t kept) noexcept {
    for (; read < end; ++read) {
        char16_t c = text[read];
        text[kept] = c;
        kept += !IsRemovedControlCharacter(c);
    }
    return kept;
}

// Plain C++, for processors without vector instructions the program knows.
std::pair<std::size_t, std::size_t> CleanBlocksPortable(char16_t* text, std::size_t read,
                                                        std::size_t end,
                                                        std::size_t kept) noexcept {
    for (; end - read >= kBlock; read += kBlock) {
        unsigned found = 0;
        for (std::size_t i = 0; i < kBlock; ++i)
            found |= IsRemovedControlCharacter(text[read + i]);
        if (found == 0 && kept == read) {
            kept += kBlock;
        } else {
            kept = CleanUnits(text, read, read + kBlock, kept);
        }
    }
    return {read, kept};
}

#if defined(__SSE2__)

constexpr std::size_t kLanes = 8;

// Writes the lanes of `v` that `removed` does not mark to `target`, in order, and returns how
// many: unit by unit from the register, for processors without a byte shuffle.
struct KeepUnitByUnit {
    std::size_t operator()(char16_t* target, __m128i v, __m128i removed) const noexcept {
        // Two mask bits per unit; the units come from the register, not from memory that the
        // stores are writing to.
        alignas(16) char16_t units[kLanes];
        _mm_store_si128(reinterpret_cast<__m128i*>(units), v);
        const auto gone = static_cast<unsigned>(_mm_movemask_epi8(removed));
        std::size_t kept = 0;
        for (std::size_t j = 0; j < kLanes; ++j) {
            target[kept] = units[j];
            kept += ~(gone >> (2 * j)) & 1;
        }
        return kept;
    }
};

// The byte shuffle that moves the kept lanes to the front, for each set of removed lanes, and
// how many lanes are kept (a table, as processors with the shuffle may lack a popcount).
struct PackTable {
    alignas(16) std::uint8_t shuffle[256][16];
    std::uint8_t kept[256];
    constexpr PackTable() : shuffle{}, kept{} {
        for (unsigned gone = 0; gone < 256; ++gone) {
            unsigned out = 0;
            for (unsigned lane = 0; lane < kLanes; ++lane) {
                if (!(gone >> lane & 1)) {
                    shuffle[gone][out++] = static_cast<std::uint8_t>(2 * lane);
                    shuffle[gone][out++] = static_cast<std::uint8_t>(2 * lane + 1);
                }
            }
            kept[gone] = static_cast<std::uint8_t>(out / 2);
            while (out < 16)
                shuffle[gone][out++] = 0x80;
        }
    }
};
constexpr PackTable kPackTable;

// The same in one shuffle: a block with a few characters to remove costs hardly more than a
// clean one. Stores all eight lanes; those after the kept ones are overwritten next.
struct KeepByShuffle {
    __attribute__((target("ssse3"))) std::size_t operator()(char16_t* target, __m128i v,
                                                            __m128i removed) const noexcept {
        const auto gone =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(removed, _mm_setzero_si128())));
        const __m128i order =
            _mm_load_si128(reinterpret_cast<const __m128i*>(kPackTable.shuffle[gone]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target), _mm_shuffle_epi8(v, order));
        return kPackTable.kept[gone];
    }
};

// Cleans the whole blocks of text[read, end); returns where reading stopped (less than a block
// before end) and the new kept position.
template <typename Keep>
[[gnu::always_inline]] inline std::pair<std::size_t, std::size_t> CleanBlocksWith(
    char16_t* text, std::size_t read, std::size_t end, std::size_t kept, Keep keep) noexcept {
    const __m128i zero = _mm_setzero_si128();
    const __m128i max31 = _mm_set1_epi16(31);
    const __m128i tab = _mm_set1_epi16(u'\t');
    const __m128i lineFeed = _mm_set1_epi16(u'\n');
    const __m128i carriageReturn = _mm_set1_epi16(u'\r');
    // All lanes set where a unit is to be removed. Computed for every block: a cheaper first
    // look for "anything below 32" would send most blocks of ordinary text (line ends) down an
    // unpredictable branch, which costs more than it saves.
    auto removed = [&](__m128i v) {
        __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(v, max31), zero);
        __m128i allowed =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, tab), _mm_cmpeq_epi16(v, lineFeed)),
                         _mm_cmpeq_epi16(v, carriageReturn));
        return _mm_andnot_si128(allowed, low);
    };
    for (; end - read >= kBlock; read += kBlock) {
        const auto* source = reinterpret_cast<const __m128i*>(text + read);
        const __m128i v[4] = {_mm_loadu_si128(source), _mm_loadu_si128(source + 1),
                              _mm_loadu_si128(source + 2), _mm_loadu_si128(source + 3)};
        const __m128i r[4] = {removed(v[0]), removed(v[1]), removed(v[2]), removed(v[3])};
        const __m128i any = _mm_or_si128(_mm_or_si128(r[0], r[1]), _mm_or_si128(r[2], r[3]));
        // Every store below ends at or before the end of the part it stores, since kept never
        // passes the read position, and the later parts are loaded already.
        if (_mm_movemask_epi8(any) == 0) {
            if (kept != read) {
                auto* target = reinterpret_cast<__m128i*>(text + kept);
                for (int i = 0; i < 4; ++i)
                    _mm_storeu_si128(target + i, v[i]);
            }
            kept += kBlock;
            continue;
        }
        for (std::size_t i = 0; i < 4; ++i)
            kept += keep(text + kept, v[i], r[i]);
    }
    return {read, kept};
}

std::pair<std::size_t, std::size_t> CleanBlocksUnitByUnit(char16_t* text, std::size_t read,
                                                          std::size_t end,
                                                          std::size_t kept) noexcept {
    return CleanBlocksWith(text, read, end, kept, KeepUnitByUnit{});
}

__attribute__((target("ssse3"))) std::pair<std::size_t, std::size_t> CleanBlocksByShuffle(
    char16_t* text, std::size_t read, std::size_t end, std::size_t kept) noexcept {
    return CleanBlocksWith(text, read, end, kept, KeepByShuffle{});
}

// All lanes set where a unit is to be removed, sixteen units at a time.
__attribute__((target("avx2"))) inline __m256i RemovedWide(__m256i v) noexcept {
    const __m256i low =
        _mm256_cmpeq_epi16(_mm256_subs_epu16(v, _mm256_set1_epi16(31)), _mm256_setzero_si256());
    const __m256i allowed =
        _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi16(v, _mm256_set1_epi16(u'\t')),
                                        _mm256_cmpeq_epi16(v, _mm256_set1_epi16(u'\n'))),
                        _mm256_cmpeq_epi16(v, _mm256_set1_epi16(u'\r')));
    return _mm256_andnot_si256(allowed, low);
}

// Twice the units per instruction where the processor has AVX2: the test of a block, which is
// most of the work for ordinary text, costs half. Blocks with characters to remove are packed
// eight units at a time as above.
__attribute__((target("avx2"))) std::pair<std::size_t, std::size_t> CleanBlocksWide(
    char16_t* text, std::size_t read, std::size_t end, std::size_t kept) noexcept {
    const KeepByShuffle keep;
    for (; end - read >= kBlock; read += kBlock) {
        const auto* source = reinterpret_cast<const __m256i*>(text + read);
        const __m256i v[2] = {_mm256_loadu_si256(source), _mm256_loadu_si256(source + 1)};
        const __m256i r[2] = {RemovedWide(v[0]), RemovedWide(v[1])};
        const __m256i any = _mm256_or_si256(r[0], r[1]);
        if (_mm256_testz_si256(any, any)) {
            if (kept != read) {
                auto* target = reinterpret_cast<__m256i*>(text + kept);
                _mm256_storeu_si256(target, v[0]);
                _mm256_storeu_si256(target + 1, v[1]);
            }
            kept += kBlock;
            continue;
        }
        for (std::size_t i = 0; i < 2; ++i) {
            kept += keep(text + kept, _mm256_castsi256_si128(v[i]), _mm256_castsi256_si128(r[i]));
            kept += keep(text + kept, _mm256_extracti128_si256(v[i], 1),
                         _mm256_extracti128_si256(r[i], 1));
        }
    }
    return {read, kept};
}

#endif

// Cleans the whole blocks of text[read, end); returns where reading stopped (less than a block
// before end) and the new kept position.
using BlockCleaner = std::pair<std::size_t, std::size_t> (*)(char16_t* text, std::size_t read,
                                                             std::size_t end,
                                                             std::size_t kept) noexcept;

BlockCleaner CleanerFor(BlockCleaning way) noexcept {
    switch (way) {
#if defined(__SSE2__)
        case BlockCleaning::Wide:
            return __builtin_cpu_supports("avx2") ? &CleanBlocksWide : nullptr;
        case BlockCleaning::Shuffle:
            return __builtin_cpu_supports("ssse3") ? &CleanBlocksByShuffle : nullptr;
        case BlockCleaning::UnitByUnit:
            return &CleanBlocksUnitByUnit;
#endif
        case BlockCleaning::Portable:
            return &CleanBlocksPortable;
        default:
            return nullptr;
    }
}

// The fastest way this processor has.
BlockCleaner BestCleaner() noexcept {
    static const BlockCleaner best = [] {
        for (BlockCleaning way : kEveryBlockCleaning) {
            if (BlockCleaner cleaner = CleanerFor(way))
                return cleaner;
        }
        return &CleanBlocksPortable;
    }();
    return best;
}

// Cleans text[from, to) into text from position kept on (kept <= from) and returns the new kept
// position. Writing never overtakes reading, so the work can stop and resume at any unit.
std::size_t CleanRange(char16_t* text, std::size_t from, std::size_t to, std::size_t kept,
                       BlockCleaner cleanBlocks = BestCleaner()) noexcept {
    std::size_t read = from;
    std::tie(read, kept) = cleanBlocks(text, read, to, kept);
    return CleanUnits(text, read, to, kept);
}

}  // namespace

std::size_t RemoveControlCharacters(char16_t* text, std::size_t length) noexcept {
    return CleanRange(text, 0, length, 0);
}

std::optional<std::size_t> RemoveControlCharacters(BlockCleaning way, char16_t* text,
                                                   std::size_t length) noexcept {
    BlockCleaner cleaner = CleanerFor(way);
    if (!cleaner)
        return std::nullopt;
    return CleanRange(text, 0, length, 0, cleaner);
}

void RemoveControlCharacters(std::u16string& text) {
    text.resize(RemoveControlCharacters(text.data(), text.size()));
}

ChunkedCleaning RemoveControlCharacters(char16_t* text, std::size_t length, std::size_t chunkLength,
                                        const std::function<bool()>& betweenChunks) {
    chunkLength = std::max<std::size_t>(chunkLength, 1);
    std::size_t kept = 0;
    std::size_t read = 0;
    do {
        std::size_t end = read + std::min(chunkLength, length - read);
        kept = CleanRange(text, read, end, kept);
        read = end;
        if (!betweenChunks())
            return {kept, false};
    } while (read < length);
    return {kept, true};
}

std::size_t ClipboardTextLength(const char16_t* data, std::size_t byteSize) noexcept {
    const char16_t* end = data + byteSize / 2;
    return static_cast<std::size_t>(std::find(data, end, u'\0') - data);
}
