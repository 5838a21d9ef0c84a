// The user's filter list: title patterns that spare a window from closing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "closing/title_pattern.h"

// The list holds at most this many patterns; a longer file is read only that far.
inline constexpr std::size_t kMaxFilterPatterns = 10000;

// Every pattern compiled into one shared buffer, with a compact index by the plain character a
// pattern starts or ends with: a few bytes per pattern beyond its own characters.
class FilterList {
  public:
    FilterList() = default;
    // Adds every pattern and finishes the list.
    explicit FilterList(const std::vector<std::u16string>& patterns);

    // Upper-cases and compiles one pattern as read; false (and nothing added) once the list
    // holds kMaxFilterPatterns. Malformed patterns and ones longer than any title count but
    // never match, as does every pattern added as `cut` (a line too long to keep).
    bool Add(std::u16string_view pattern, bool cut = false);
    // Builds the index and gives back spare room; call once, after the last Add.
    void Finish();

    // Patterns loaded, malformed ones included.
    std::size_t Count() const { return ends_.size(); }

    // True when at least one pattern covers the whole title (from PrepareTitle).
    bool Matches(std::u32string_view title) const;

    // Bytes the list holds on the heap.
    std::size_t MemoryBytes() const;

  private:
    std::string_view Code(std::uint32_t index) const;
    bool AnyMatches(std::uint32_t from, std::uint32_t to, std::u32string_view title) const;

    // A run of order_ whose patterns all start (or all end) with `key`; it lasts until the next
    // bucket's begin or the end of its section.
    struct Bucket {
        char32_t key;
        std::uint32_t begin;
    };
    std::uint32_t BucketEnd(const std::vector<Bucket>& buckets, std::size_t i,
                            std::uint32_t sectionEnd) const;

    std::string code_;                 // the compiled patterns, one after another
    std::vector<std::uint32_t> ends_;  // where each pattern's code ends in code_
    // Pattern indices: first those filed by first character, then by last character, then the
    // ones with wildcards at both ends; within a section grouped by key.
    std::vector<std::uint32_t> order_;
    std::vector<Bucket> byFirst_, byLast_;
    std::uint32_t lastBegin_ = 0, othersBegin_ = 0;
};

// True when `title` (as read, in any case) matches at least one pattern of `list`.
bool IsFilteredTitle(const FilterList& list, std::u16string_view title);
