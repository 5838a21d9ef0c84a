// The user's filter list, indexed by the plain characters its patterns start or end with.
#include "closing/filter_list.h"

#include <algorithm>

#include "closing/upper_case.h"

FilterList::FilterList(const std::vector<std::u16string>& patterns) {
    const std::size_t count = std::min(patterns.size(), kMaxFilterPatterns);
    patterns_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        // Titles are short; a pattern longer than any of them is not worth its memory.
        if (TitlePattern::NeedsMoreThan(patterns[i], kMaxTitleLength)) {
            patterns_.push_back(TitlePattern::Never());
            continue;
        }
        patterns_.emplace_back(UpperCaseText(patterns[i]));
        const TitlePattern& pattern = patterns_.back();
        if (pattern.IsMalformed())
            continue;
        const auto index = static_cast<std::uint32_t>(i);
        if (pattern.FirstLiteral() != 0) {
            byFirst_[pattern.FirstLiteral()].push_back(index);
        } else if (pattern.LastLiteral() != 0) {
            byLast_[pattern.LastLiteral()].push_back(index);
        } else {
            others_.push_back(index);
        }
    }
}

bool FilterList::Matches(std::u32string_view title) const {
    auto anyOf = [&](const std::vector<std::uint32_t>& indices) {
        for (std::uint32_t index : indices) {
            if (patterns_[index].Matches(title))
                return true;
        }
        return false;
    };
    if (!title.empty()) {
        if (auto found = byFirst_.find(title.front()); found != byFirst_.end()) {
            if (anyOf(found->second))
                return true;
        }
        if (auto found = byLast_.find(title.back()); found != byLast_.end()) {
            if (anyOf(found->second))
                return true;
        }
    }
    return anyOf(others_);
}

bool IsFilteredTitle(const FilterList& list, std::u16string_view title) {
    return list.Matches(PrepareTitle(title));
}
