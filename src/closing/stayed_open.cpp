// The notification that names the windows a close-all run left open, and the rules of when it
// goes out and what its click does.
#include "closing/stayed_open.h"

#include <algorithm>

#include "common/text.h"

namespace {

constexpr std::u16string_view kEllipsis = u"...";
constexpr char16_t kReplacement = 0xFFFD;

std::u16string_view ReasonText(StayReason reason) {
    switch (reason) {
        case StayReason::RunsAsAdministrator:
            return u"runs as administrator";
        case StayReason::NotResponding:
            return u"is not responding";
        case StayReason::AskingAQuestion:
            return u"is asking a question";
        case StayReason::DidNotClose:
            break;
    }
    return u"did not close";
}

// C0 and C1 controls, DEL and the two Unicode separators: each would break the line or show as a
// box.
bool BreaksTheLine(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
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

StayReason ReasonFor(const StayFacts& facts) {
    if (IsOutOfReach(facts.elevated, facts.selfElevated))
        return StayReason::RunsAsAdministrator;
    if (facts.hung)
        return StayReason::NotResponding;
    if (facts.disabled && facts.enabledPopup)
        return StayReason::AskingAQuestion;
    return StayReason::DidNotClose;
}

bool IsSettled(StayReason reason) {
    return reason == StayReason::RunsAsAdministrator || reason == StayReason::AskingAQuestion;
}

bool ReportNow(unsigned sinceLastRequestMs, bool everyOpenWindowSettled) {
    return everyOpenWindowSettled || sinceLastRequestMs >= kLatestReportMs;
}

std::u16string ReadableTitle(std::u16string_view title, std::u16string_view programPath) {
    std::u16string readable;
    readable.reserve(title.size());
    for (std::size_t i = 0; i < title.size(); ++i) {
        const char16_t c = title[i];
        if (i + 1 < title.size() && IsSurrogatePair(c, title[i + 1])) {
            readable += c;
            readable += title[++i];
        } else if (IsSurrogate(c)) {
            readable += kReplacement;
        } else if (BreaksTheLine(c)) {
            if (readable.empty() || readable.back() != u' ')
                readable += u' ';
        } else if (!IsInvisibleFormatCharacter(c)) {
            readable += c;
        }
    }
    const std::u16string_view trimmed = TrimBlanks(readable);
    if (!trimmed.empty())
        return std::u16string(trimmed);
    const std::size_t separator = programPath.find_last_of(u'\\');
    return std::u16string(programPath.substr(separator == programPath.npos ? 0 : separator + 1));
}

StayedOpenNotice StayedOpenText(const std::vector<StayedOpen>& windows) {
    if (windows.empty())
        return {};
    StayedOpenNotice notice;
    notice.title = DecimalText(static_cast<long long>(windows.size())) +
                   (windows.size() == 1 ? u" window stayed open" : u" windows stayed open");
    const std::size_t shown = std::min(windows.size(), kMaxNamedWindows);
    std::u16string tail;
    if (windows.size() > shown)
        tail = u"\nand " + DecimalText(static_cast<long long>(windows.size() - shown)) + u" more";

    std::vector<std::u16string> titles;
    std::vector<std::u16string_view> reasons;
    // What the titles leave to share: each line adds ": ", its reason and a break before the next.
    std::size_t fixed = tail.size() + (shown - 1);
    std::size_t titleUnits = 0;
    for (std::size_t i = 0; i < shown; ++i) {
        titles.push_back(ReadableTitle(windows[i].title, windows[i].program));
        reasons.push_back(ReasonText(ReasonFor(windows[i].facts)));
        fixed += 2 + reasons.back().size();
        titleUnits += titles.back().size();
    }
    const std::size_t room = kMaxNotificationLength > fixed ? kMaxNotificationLength - fixed : 0;
    // The longest a title may stay: the largest cap under which all of them fit, so that short
    // titles stay whole and the long ones share what is left.
    std::size_t cap = std::ranges::max_element(titles, {}, [](const std::u16string& t) {
                          return t.size();
                      })->size();
    while (titleUnits > room && cap > 0) {
        --cap;
        titleUnits = 0;
        for (const std::u16string& title : titles)
            titleUnits += std::min(title.size(), cap);
    }

    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0)
            notice.text += u'\n';
        notice.text += Shortened(titles[i], cap);
        notice.text += u": ";
        notice.text += reasons[i];
    }
    notice.text += tail;
    return notice;
}

void BringQuestionForward(const QuestionCalls& calls) {
    if (calls.isMinimised())
        calls.restoreWithoutWaiting();
    calls.putQuestionInFront();
    if (!calls.questionIsInFront())
        calls.flashUntilVisited();
}
