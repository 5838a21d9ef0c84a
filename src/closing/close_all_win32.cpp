// The close-all action: WM_CLOSE to every selected window, one every 300 ms, and afterwards what
// stayed open, gathered as facts for the rules of stayed_open.h.
#include <algorithm>
#include <chrono>
#include <climits>
#include <iterator>

#include "closing/closing_win32.h"
#include "closing/stayed_open.h"
#include "common/reentry_guard.h"
#include "win32/elevation.h"
#include "win32/failure.h"
#include "win32/ui_win32.h"

namespace {

constexpr std::chrono::milliseconds kPauseAfterWindow{300};

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

// Still open as the user sees it: the same window, shown and not hidden by the window manager.
bool IsStillOpen(const ListedWindow& listed) {
    const HWND window = reinterpret_cast<HWND>(listed.handle);
    return IsSameWindow(listed) && ::IsWindowVisible(window) && !IsCloaked(window);
}

StayFacts FactsOf(HWND window) {
    const bool disabled = !::IsWindowEnabled(window);
    return {.elevated = IsWindowElevated(window),
            .selfElevated = IsSelfElevated(),
            .hung = ::IsHungAppWindow(window) != FALSE,
            .disabled = disabled,
            .enabledPopup = disabled && EnabledPopup(window) != nullptr};
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
    // Exit chosen from the tray menu during the run: the remaining windows stay open.
    const auto runEnds = [mainWindow] {
        ProcessPendingMessages();
        return !::IsWindow(mainWindow) || QuitRequested();
    };
    const std::size_t last = lngWindowCount();
    for (std::size_t i = 0; i < last; ++i) {
        const ListedWindow& listed = lngWindowList[i];
        // A run may take minutes: a window retitled to a spared title, hidden or given an owner
        // since the list was made is spared as it would be in a new run.
        const HWND window = reinterpret_cast<HWND>(listed.handle);
        if (IsSameWindow(listed) && IsSelectedNow(window, filters)) {
            ::PostMessageW(window, WM_CLOSE, 0, 0);
            asked_.push_back(listed);
            lastRequest_ = ::GetTickCount64();
            // Windows drops the request to a program with higher rights, whether PostMessage
            // says so or not: nothing to wait for.
            if (IsOutOfReach(IsWindowElevated(window), IsSelfElevated()))
                continue;
        }
        if (runEnds() || !PauseWithMessages(kPauseAfterWindow) || runEnds())
            return;
    }
    // The first look counts from the last request, not from the pause after it.
    if (!asked_.empty()) {
        const ULONGLONG since = ::GetTickCount64() - lastRequest_;
        ::SetTimer(mainWindow, stayedOpenTimer_,
                   static_cast<UINT>(since < kFirstLookMs ? kFirstLookMs - since : 0), nullptr);
    }
}

std::optional<CloseAll::Outcome> CloseAll::WhatStayedOpen(HWND mainWindow) {
    ::KillTimer(mainWindow, stayedOpenTimer_);
    std::erase_if(asked_, [](const ListedWindow& listed) { return !IsSameWindow(listed); });
    std::vector<std::pair<ListedWindow, StayFacts>> open;
    bool settled = true;
    for (const ListedWindow& listed : asked_) {
        if (!IsStillOpen(listed))
            continue;
        open.emplace_back(listed, FactsOf(reinterpret_cast<HWND>(listed.handle)));
        settled = settled && IsSettled(ReasonFor(open.back().second));
    }
    const ULONGLONG since = ::GetTickCount64() - lastRequest_;
    if (!open.empty() &&
        !ReportNow(static_cast<unsigned>(std::min<ULONGLONG>(since, UINT_MAX)), settled)) {
        const ULONGLONG left = kLatestReportMs - since;
        ::SetTimer(mainWindow, stayedOpenTimer_,
                   static_cast<UINT>(std::min<ULONGLONG>(kLookAgainMs, left)), nullptr);
        return std::nullopt;
    }
    asked_.clear();
    if (open.empty())
        return std::nullopt;

    Outcome outcome{};
    std::vector<StayedOpen> stayed;
    for (const auto& [listed, facts] : open) {
        const HWND window = reinterpret_cast<HWND>(listed.handle);
        stayed.push_back({TitleOf(window), ProgramOfWindow(window), facts});
        if (!outcome.question.handle && ReasonFor(facts) == StayReason::AskingAQuestion)
            outcome.question = listed;
    }
    outcome.notice = StayedOpenText(stayed);
    return outcome;
}

void ShowQuestion(const ListedWindow& asking) {
    if (!asking.handle || !IsSameWindow(asking))
        return;
    const HWND window = reinterpret_cast<HWND>(asking.handle);
    const HWND popup = EnabledPopup(window);
    const HWND question = popup ? popup : window;
    BringQuestionForward({
        .isMinimised = [&] { return ::IsIconic(window) != FALSE; },
        // ShowWindow would wait until the other program has handled it.
        .restoreWithoutWaiting = [&] { ::ShowWindowAsync(window, SW_RESTORE); },
        .putQuestionInFront = [&] { ::SetForegroundWindow(question); },
        .questionIsInFront =
            [&] {
                const HWND front = ::GetForegroundWindow();
                return front == question || front == window;
            },
        .flashUntilVisited =
            [&] {
                FLASHWINFO flash{sizeof flash, window, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
                ::FlashWindowEx(&flash);
            },
    });
}
