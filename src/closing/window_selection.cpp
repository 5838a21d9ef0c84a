// The selection rules of a close-all run.
#include "closing/window_selection.h"

#include <string>
#include <vector>

namespace {

// The program's own windows (its name as one word and as two, its main form) and the shell's
// desktop window.
const FilterList& SparedByName() {
    static const FilterList spared(std::vector<std::u16string>{
        u"DESKBROOM*", u"DESK BROOM*", u"FRMDESKBROOM*", u"PROGRAM MANAGER*"});
    return spared;
}

}  // namespace

bool IsWindowSelected(const WindowFacts& window, const FilterList& filters) {
    if (!window.visible || window.hasParent || window.toolWindow)
        return false;
    const std::u16string_view title = window.title.substr(0, kMaxTitleLength);
    if (title.empty())
        return false;
    const std::u32string prepared = PrepareTitle(title);
    return !SparedByName().Matches(prepared) && !filters.Matches(prepared);
}
