// The selection rules of a close-all run.
#include "closing/window_selection.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/text.h"

namespace {

// The program's own windows (its name as one word and as two, its main form) and the shell's
// desktop window.
const FilterList& SparedByName() {
    static const FilterList spared(std::vector<std::u16string>{
        u"DESKBROOM*", u"DESK BROOM*", u"FRMDESKBROOM*", u"PROGRAM MANAGER*"});
    return spared;
}

// The first kMaxTitleLength units of the title, less one where the cut would split a surrogate
// pair: a character is tested whole or not at all.
std::u16string_view CutTitle(std::u16string_view title) {
    if (title.size() <= kMaxTitleLength)
        return title;
    std::size_t length = kMaxTitleLength;
    if (IsSurrogatePair(title[length - 1], title[length]))
        --length;
    return title.substr(0, length);
}

}  // namespace

bool IsWindowSelected(const WindowFacts& window, const FilterList& filters) {
    if (!window.visible || window.cloaked || window.hasParent || window.toolWindow ||
        window.shellDesktop) {
        return false;
    }
    const std::u16string_view title = CutTitle(window.title);
    if (title.empty())
        return false;
    const PreparedWindow prepared = PrepareWindow(title, window.program);
    return !SparedByName().Matches(prepared.title) && !filters.Matches(prepared);
}

bool IsApplicationWindow(const WindowFacts& window) {
    static const FilterList none;
    return IsWindowSelected(window, none);
}

std::size_t WindowInFront(std::span<const WindowFacts> windows) {
    return static_cast<std::size_t>(std::ranges::find_if(windows, IsApplicationWindow) -
                                    windows.begin());
}
