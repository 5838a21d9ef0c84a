// The user's filter list: title patterns that spare a window from closing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "closing/title_pattern.h"

// The list holds at most this many patterns; a longer file is read only that far.
inline constexpr std::size_t kMaxFilterPatterns = 10000;

class FilterList {
  public:
    FilterList() = default;
    // Upper-cases and parses every pattern once; patterns beyond kMaxFilterPatterns are dropped.
    explicit FilterList(const std::vector<std::u16string>& patterns);

    // Patterns loaded, malformed ones included.
    std::size_t Count() const { return patterns_.size(); }

    // True when at least one pattern covers the whole title (from PrepareTitle).
    bool Matches(std::u32string_view title) const;

  private:
    std::vector<TitlePattern> patterns_;
    // Most patterns begin or end with a plain character; a title then needs only the patterns
    // filed under its own first or last character, and those that start and end with wildcards.
    std::unordered_map<char32_t, std::vector<std::uint32_t>> byFirst_;
    std::unordered_map<char32_t, std::vector<std::uint32_t>> byLast_;
    std::vector<std::uint32_t> others_;
};

// True when `title` (as read, in any case) matches at least one pattern of `list`.
bool IsFilteredTitle(const FilterList& list, std::u16string_view title);
