// The user's filter list: compiled patterns in one buffer, indexed by their plain end characters.
#include "closing/filter_list.h"

#include <algorithm>
#include <tuple>

#include "closing/upper_case.h"

FilterList::FilterList(const std::vector<std::u16string>& patterns) {
    for (const std::u16string& pattern : patterns) {
        if (!Add(pattern))
            break;
    }
    Finish();
}

bool FilterList::Add(std::u16string_view pattern, bool cut) {
    if (ends_.size() >= kMaxFilterPatterns)
        return false;
    // Titles are short; a pattern longer than any of them is not worth upper-casing.
    if (!cut && !TitlePattern::NeedsMoreThan(pattern, kMaxTitleLength))
        CompilePattern(UpperCaseText(pattern), code_);
    ends_.push_back(static_cast<std::uint32_t>(code_.size()));
    return true;
}

void FilterList::Finish() {
    code_.shrink_to_fit();
    ends_.shrink_to_fit();
    // Section 0 by first character, 1 by last, 2 neither; sorted so that each key is one run.
    std::vector<std::tuple<int, char32_t, std::uint32_t>> filed;
    filed.reserve(ends_.size());
    for (std::uint32_t i = 0; i < ends_.size(); ++i) {
        const std::string_view code = Code(i);
        if (code.empty())
            continue;
        if (char32_t first = FirstLiteral(code)) {
            filed.emplace_back(0, first, i);
        } else if (char32_t last = LastLiteral(code)) {
            filed.emplace_back(1, last, i);
        } else {
            filed.emplace_back(2, 0, i);
        }
    }
    std::sort(filed.begin(), filed.end());
    order_.clear();
    order_.reserve(filed.size());
    byFirst_.clear();
    byLast_.clear();
    lastBegin_ = othersBegin_ = static_cast<std::uint32_t>(filed.size());
    for (const auto& [section, key, index] : filed) {
        const auto at = static_cast<std::uint32_t>(order_.size());
        if (section < 2) {
            std::vector<Bucket>& buckets = section == 0 ? byFirst_ : byLast_;
            if (buckets.empty() || buckets.back().key != key)
                buckets.push_back({key, at});
            if (section == 1)
                lastBegin_ = std::min(lastBegin_, at);
        } else {
            othersBegin_ = std::min(othersBegin_, at);
        }
        order_.push_back(index);
    }
    lastBegin_ = std::min(lastBegin_, othersBegin_);
    byFirst_.shrink_to_fit();
    byLast_.shrink_to_fit();
}

std::string_view FilterList::Code(std::uint32_t index) const {
    const std::uint32_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(code_).substr(begin, ends_[index] - begin);
}

bool FilterList::AnyMatches(std::uint32_t from, std::uint32_t to, std::u32string_view title) const {
    for (std::uint32_t i = from; i < to; ++i) {
        if (MatchesCompiled(Code(order_[i]), title))
            return true;
    }
    return false;
}

std::uint32_t FilterList::BucketEnd(const std::vector<Bucket>& buckets, std::size_t i,
                                    std::uint32_t sectionEnd) const {
    return i + 1 < buckets.size() ? buckets[i + 1].begin : sectionEnd;
}

bool FilterList::Matches(std::u32string_view title) const {
    auto inBucket = [&](const std::vector<Bucket>& buckets, char32_t key,
                        std::uint32_t sectionEnd) {
        auto found = std::lower_bound(buckets.begin(), buckets.end(), key,
                                      [](const Bucket& b, char32_t k) { return b.key < k; });
        if (found == buckets.end() || found->key != key)
            return false;
        const auto i = static_cast<std::size_t>(found - buckets.begin());
        return AnyMatches(found->begin, BucketEnd(buckets, i, sectionEnd), title);
    };
    if (!title.empty()) {
        if (inBucket(byFirst_, title.front(), lastBegin_) ||
            inBucket(byLast_, title.back(), othersBegin_)) {
            return true;
        }
    }
    return AnyMatches(othersBegin_, static_cast<std::uint32_t>(order_.size()), title);
}

std::size_t FilterList::MemoryBytes() const {
    return code_.capacity() + (ends_.capacity() + order_.capacity()) * sizeof(std::uint32_t) +
           (byFirst_.capacity() + byLast_.capacity()) * sizeof(Bucket);
}

bool IsFilteredTitle(const FilterList& list, std::u16string_view title) {
    return list.Matches(PrepareTitle(title));
}
