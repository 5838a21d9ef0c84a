// A slow, plainly recursive reading of the title pattern language, to check the real matcher
// against (unit tests and the fuzz target). Works on upper-cased code points.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace reference {

// One bracket list from `open` (at '['): its characters as ranges, whether negated, and the
// index after its ']'. Nothing when the list is not closed or a range runs downwards.
struct BracketList {
    std::vector<std::pair<char32_t, char32_t>> ranges;
    bool negated = false;
    std::size_t after = 0;
};

inline std::optional<BracketList> ReadBracketList(const std::u32string& p, std::size_t open) {
    BracketList list;
    std::size_t i = open + 1;
    if (i < p.size() && p[i] == U']') {
        list.after = i + 1;  // the empty pair
        return list;
    }
    if (i + 1 < p.size() && p[i] == U'!' && p[i + 1] != U']') {
        list.negated = true;
        ++i;
    }
    std::size_t close = p.find(U']', i);
    if (close == std::u32string::npos)
        return std::nullopt;
    for (std::size_t j = i; j < close; ++j) {
        bool rangeStart = !(j == i && p[j] == U'-') && j + 2 < close && p[j + 1] == U'-';
        if (rangeStart) {
            if (p[j] > p[j + 2])
                return std::nullopt;
            list.ranges.push_back({p[j], p[j + 2]});
            j += 2;
        } else {
            list.ranges.push_back({p[j], p[j]});
        }
    }
    list.after = close + 1;
    return list;
}

class Matcher {
  public:
    Matcher(std::u32string title, std::u32string pattern)
        : t_(std::move(title)),
          p_(std::move(pattern)),
          memo_((t_.size() + 1) * (p_.size() + 1), -1) {}

    bool Run() {
        for (std::size_t j = 0; j < p_.size(); ++j) {
            if (p_[j] != U'[')
                continue;
            auto list = ReadBracketList(p_, j);
            if (!list)
                return false;
            j = list->after - 1;
        }
        return At(0, 0);
    }

  private:
    bool At(std::size_t i, std::size_t j) {
        int& slot = memo_[i * (p_.size() + 1) + j];
        if (slot < 0)
            slot = Compute(i, j) ? 1 : 0;
        return slot == 1;
    }

    bool Compute(std::size_t i, std::size_t j) {
        if (j == p_.size())
            return i == t_.size();
        const char32_t c = p_[j];
        if (c == U'*')
            return At(i, j + 1) || (i < t_.size() && At(i + 1, j));
        if (c == U'[') {
            auto list = ReadBracketList(p_, j);
            if (list->ranges.empty())
                return At(i, list->after);
            if (i == t_.size())
                return false;
            bool in = false;
            for (auto [low, high] : list->ranges)
                in = in || (t_[i] >= low && t_[i] <= high);
            return in != list->negated && At(i + 1, list->after);
        }
        if (i == t_.size())
            return false;
        if (c == U'?')
            return At(i + 1, j + 1);
        if (c == U'#')
            return t_[i] >= U'0' && t_[i] <= U'9' && At(i + 1, j + 1);
        return t_[i] == c && At(i + 1, j + 1);
    }

    std::u32string t_, p_;
    std::vector<int> memo_;
};

inline bool Matches(const std::u32string& upperTitle, const std::u32string& upperPattern) {
    return Matcher(upperTitle, upperPattern).Run();
}

}  // namespace reference
