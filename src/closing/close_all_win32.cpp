// The close-all action: WM_CLOSE to every selected window, one every 300 ms, and afterwards what
// stayed open.
#include <chrono>
#include <iterator>

#include "closing/closing_win32.h"
#include "closing/stayed_open.h"
#include "common/reentry_guard.h"
#include "win32/failure.h"
#include "win32/ui_win32.h"

namespace {

constexpr std::chrono::milliseconds kPauseAfterWindow{300};
// Long enough for a program to close or to ask its question; short enough that the user still
// connects the notification with the run.
constexpr UINT kStayedOpenDelayMs = 2000;

// Waits at least `pause`, handling this thread's messages as they come, so the tray icon, its
// menu and the hotkeys answer during the pause. False when the program is asked to end.
bool PauseWithMessages(std::chrono::milliseconds pause) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + pause;
    for (Clock::time_point now = Clock::now(); now < end; now = Clock::now()) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(end - now);
        DWORD woken = ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left.count()),
                                                    QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0) {
            ProcessPendingMessages();
            if (QuitRequested())
                return false;
        }
    }
    return true;
}

// The handle still names the window that was listed: a window that closed meanwhile has no
// thread, and a handle the system gave to a new window names another thread or process.
bool IsSameWindow(const ListedWindow& listed) {
    DWORD processId = 0;
    DWORD threadId = ::GetWindowThreadProcessId(reinterpret_cast<HWND>(listed.handle), &processId);
    return threadId != 0 && threadId == listed.threadId && processId == listed.processId;
}

// The enabled window that the disabled `window` waits on: a message box or dialog it owns.
// GW_ENABLEDPOPUP finds it on Windows; Wine 8 answers nothing there, so its owned windows are
// searched as well.
HWND EnabledPopup(HWND window) {
    HWND popup = ::GetWindow(window, GW_ENABLEDPOPUP);
    if (popup && popup != window)
        return popup;
    struct Search {
        HWND owner;
        HWND found;
    } search{window, nullptr};
    ::EnumThreadWindows(
        ::GetWindowThreadProcessId(window, nullptr),
        [](HWND candidate, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            if (::GetWindow(candidate, GW_OWNER) != s.owner || !::IsWindowVisible(candidate) ||
                !::IsWindowEnabled(candidate)) {
                return TRUE;
            }
            s.found = candidate;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::u16string TitleOf(HWND window) {
    wchar_t title[kMaxTitleLength + 1];
    const int length = ::GetWindowTextW(window, title, static_cast<int>(std::size(title)));
    return std::u16string(reinterpret_cast<const char16_t*>(title),
                          static_cast<std::size_t>(length > 0 ? length : 0));
}

}  // namespace

void CloseAll::CloseWindowsNow(HWND mainWindow, UINT_PTR stayedOpenTimer, const FilterList& filters,
                               bool spareFront) {
    // A second request while a run is under way (a tray click or hotkey handled in its pauses)
    // would refill the list under the running loop; it is ignored instead.
    if (running_ || ProgramIsEnding())
        return;
    ReentryGuard running(running_);
    // A new run: what the last one left open is no longer news.
    ::KillTimer(mainWindow, stayedOpenTimer_);
    stayedOpenTimer_ = stayedOpenTimer;
    asked_.clear();

    lngWindowList.Clear();
    CollectWindows(filters, spareFront ? WindowInFrontNow() : nullptr);
    const std::size_t last = lngWindowCount();
    for (std::size_t i = 0; i < last; ++i) {
        const ListedWindow& listed = lngWindowList[i];
        // A run may take minutes: a window retitled to a spared title, hidden or given an owner
        // since the list was made is spared as it would be in a new run.
        const HWND window = reinterpret_cast<HWND>(listed.handle);
        if (IsSameWindow(listed) && IsSelectedNow(window, filters)) {
            // A program with higher rights refuses the request at once: nothing to wait for.
            const bool refused =
                !::PostMessageW(window, WM_CLOSE, 0, 0) && ::GetLastError() == ERROR_ACCESS_DENIED;
            asked_.push_back({listed, refused});
            if (refused)
                continue;
        }
        ProcessPendingMessages();
        // Exit chosen from the tray menu during the run: the remaining windows stay open.
        if (!::IsWindow(mainWindow) || QuitRequested() || !PauseWithMessages(kPauseAfterWindow))
            return;
        ProcessPendingMessages();
        if (!::IsWindow(mainWindow) || QuitRequested())
            return;
    }
    if (!asked_.empty())
        ::SetTimer(mainWindow, stayedOpenTimer, kStayedOpenDelayMs, nullptr);
}

CloseAll::Outcome CloseAll::WhatStayedOpen(HWND mainWindow) {
    ::KillTimer(mainWindow, stayedOpenTimer_);
    Outcome outcome;
    std::vector<StayedOpen> stayed;
    for (const Asked& asked : asked_) {
        const HWND window = reinterpret_cast<HWND>(asked.window.handle);
        if (!IsSameWindow(asked.window) || !::IsWindowVisible(window))
            continue;
        StayReason reason = StayReason::DidNotClose;
        if (asked.refused) {
            reason = StayReason::RunsAsAdministrator;
        } else if (!::IsWindowEnabled(window) && EnabledPopup(window)) {
            reason = StayReason::AskingAQuestion;
            if (!outcome.question)
                outcome.question = window;
        } else if (::IsHungAppWindow(window)) {
            reason = StayReason::NotResponding;
        }
        stayed.push_back({TitleOf(window), reason});
    }
    asked_.clear();
    outcome.text = StayedOpenText(stayed);
    return outcome;
}

void ShowQuestion(HWND window) {
    if (!::IsWindow(window))
        return;
    if (::IsIconic(window))
        ::ShowWindow(window, SW_RESTORE);
    const HWND popup = EnabledPopup(window);
    ::SetForegroundWindow(popup ? popup : window);
}
