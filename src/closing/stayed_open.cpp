// The text of the notification that names the windows a close-all run left open.
#include "closing/stayed_open.h"

#include <algorithm>

#include "common/text.h"

namespace {

constexpr std::size_t kMaxLines = 5;
constexpr std::u16string_view kEllipsis = u"...";

std::u16string_view ReasonText(StayReason reason) {
    switch (reason) {
        case StayReason::RunsAsAdministrator:
            return u"runs as administrator";
        case StayReason::AskingAQuestion:
            return u"is asking a question";
        case StayReason::NotResponding:
            return u"is not responding";
        case StayReason::DidNotClose:
            break;
    }
    return u"did not close";
}

// The title in at most `room` units, its end replaced by "..." when it is longer; a surrogate
// pair is never split.
std::u16string Shortened(std::u16string_view title, std::size_t room) {
    if (title.size() <= room)
        return std::u16string(title);
    std::size_t keep = room > kEllipsis.size() ? room - kEllipsis.size() : 0;
    if (keep > 0 && IsSurrogatePair(title[keep - 1], title[keep]))
        --keep;
    return std::u16string(title.substr(0, keep)) + std::u16string(kEllipsis);
}

}  // namespace

std::u16string StayedOpenText(const std::vector<StayedOpen>& windows) {
    if (windows.empty())
        return {};
    const std::size_t shown = std::min(windows.size(), kMaxLines);
    std::u16string head =
        DecimalText(static_cast<long long>(windows.size())) +
        (windows.size() == 1 ? u" window stayed open:" : u" windows stayed open:");
    std::u16string tail;
    if (windows.size() > shown)
        tail = u"\nand " + DecimalText(static_cast<long long>(windows.size() - shown)) + u" more";

    // What the titles leave to share: each line adds its break, ": " and its reason.
    std::size_t fixed = head.size() + tail.size();
    std::size_t titles = 0;
    for (std::size_t i = 0; i < shown; ++i) {
        fixed += 1 + 2 + ReasonText(windows[i].reason).size();
        titles += windows[i].title.size();
    }
    const std::size_t room = kMaxNotificationLength > fixed ? kMaxNotificationLength - fixed : 0;
    // The longest a title may stay: the largest cap under which all of them fit, so that short
    // titles stay whole and the long ones share what is left.
    std::size_t cap = std::max_element(windows.begin(), windows.begin() + shown,
                                       [](const StayedOpen& a, const StayedOpen& b) {
                                           return a.title.size() < b.title.size();
                                       })
                          ->title.size();
    while (titles > room && cap > 0) {
        --cap;
        titles = 0;
        for (std::size_t i = 0; i < shown; ++i)
            titles += std::min(windows[i].title.size(), cap);
    }

    std::u16string text = head;
    for (std::size_t i = 0; i < shown; ++i) {
        text += u'\n';
        text += Shortened(windows[i].title, cap);
        text += u": ";
        text += ReasonText(windows[i].reason);
    }
    return text + tail;
}
