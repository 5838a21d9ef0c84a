// What a close-all run tells afterwards: the windows it asked that stayed open, why, and when
// the notification goes out.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/privileges.h"

// A toast shows a title and about three short lines: the text names no more windows than this
// and keeps within kMaxNotificationLength.
inline constexpr std::size_t kMaxNamedWindows = 3;
inline constexpr std::size_t kMaxNotificationLength = 200;

// The first look after the run's last request; then one look a second until every window still
// open is settled, or until the latest moment, when what is still open is named anyway. Windows'
// own shutdown waits longer for slow programs, but the user is waiting for an answer here.
inline constexpr unsigned kFirstLookMs = 2000;
inline constexpr unsigned kLookAgainMs = 1000;
inline constexpr unsigned kLatestReportMs = 10000;

// Why a window stayed open, as the notification says it, in the order the reasons are tried.
enum class StayReason {
    RunsAsAdministrator,  // Windows drops what a program without those rights sends it
    NotResponding,
    AskingAQuestion,  // it shows a window of its own that waits for an answer
    DidNotClose,
};

// What the system says about an asked window that is still open.
struct StayFacts {
    bool elevated = false;      // its process runs elevated
    bool selfElevated = false;  // DeskBroom's does
    bool hung = false;          // the system calls it hung
    bool disabled = false;      // it does not take input
    bool enabledPopup = false;  // it owns an enabled window, a message box or dialog
};

StayReason ReasonFor(const StayFacts& facts);

// Nothing more will change without the user: a question waits for an answer, and a program
// with higher rights never got the request.
bool IsSettled(StayReason reason);

// After a look `sinceLastRequestMs` after the run's last request: whether to report now.
bool ReportNow(unsigned sinceLastRequestMs, bool everyOpenWindowSettled);

// The title as the user reads it, one line: without the format characters that show nothing,
// each run of line breaks, tabs and other control characters one space, blanks at the ends
// dropped, a lone surrogate half U+FFFD. When nothing is left, the file name of `programPath`.
std::u16string ReadableTitle(std::u16string_view title, std::u16string_view programPath);

// An asked window still open: its title as read, its program's whole path, and what the system
// says about it.
struct StayedOpen {
    std::u16string title;
    std::u16string program;
    StayFacts facts;
};

struct StayedOpenNotice {
    std::u16string title;  // "3 windows stayed open"
    std::u16string text;   // "Untitled - Notepad: is asking a question", one line a window
};

// The count as the title; the first kMaxNamedWindows windows as "Title: reason" lines (the title
// as ReadableTitle gives it), then "and 2 more". Titles are shortened with "..." as far as needed
// to keep the text within kMaxNotificationLength, never inside a surrogate pair. Empty when nothing
// stayed open.
StayedOpenNotice StayedOpenText(const std::vector<StayedOpen>& windows);

// What a click on the notification does with the window that asks a question, over the system
// calls it needs. A program in the background may not take the foreground: Windows then refuses
// quietly, and the taskbar button flashes instead.
struct QuestionCalls {
    std::function<bool()> isMinimised;
    std::function<void()> restoreWithoutWaiting;  // a program asking may not answer at once
    std::function<void()> putQuestionInFront;
    std::function<bool()> questionIsInFront;
    std::function<void()> flashUntilVisited;
};
void BringQuestionForward(const QuestionCalls& calls);
