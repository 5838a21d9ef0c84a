// What a close-all run tells afterwards: the windows it asked that stayed open, and why.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The notification's text has room for this many characters.
inline constexpr std::size_t kMaxNotificationLength = 255;

// Why a window stayed open, as the notification says it.
enum class StayReason {
    RunsAsAdministrator,  // the request was refused: the window has higher rights
    AskingAQuestion,      // it shows a window of its own that waits for an answer
    NotResponding,
    DidNotClose,
};

struct StayedOpen {
    std::u16string title;
    StayReason reason;
};

// "3 windows stayed open:", then one line per window ("Untitled - Notepad: is asking a question")
// for the first five, then "and 2 more". Titles are shortened with "..." as far as needed to keep
// the text within kMaxNotificationLength. Empty when nothing stayed open.
std::u16string StayedOpenText(const std::vector<StayedOpen>& windows);
