// The close-all action: WM_CLOSE to every selected window, one every 300 ms.
#include <chrono>

#include "closing/closing_win32.h"
#include "common/reentry_guard.h"
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

}  // namespace

void CloseAll::CloseWindowsNow(HWND mainWindow, const FilterList& filters) {
    // A second request while a run is under way (a tray click or hotkey handled in its pauses)
    // would refill the list under the running loop; it is ignored instead.
    if (running_)
        return;
    ReentryGuard running(running_);

    lngWindowList.Clear();
    CollectWindows(filters);
    const std::size_t last = lngWindowCount();
    for (std::size_t i = 0; i < last; ++i) {
        const ListedWindow& listed = lngWindowList[i];
        // A run may take minutes: a window retitled to a spared title, hidden or given an owner
        // since the list was made is spared as it would be in a new run.
        const HWND window = reinterpret_cast<HWND>(listed.handle);
        if (IsSameWindow(listed) && IsSelectedNow(window, filters)) {
            ::PostMessageW(window, WM_CLOSE, 0, 0);
        }
        ProcessPendingMessages();
        // Exit chosen from the tray menu during the run: the remaining windows stay open.
        if (!::IsWindow(mainWindow) || QuitRequested() || !PauseWithMessages(kPauseAfterWindow))
            return;
        ProcessPendingMessages();
        if (!::IsWindow(mainWindow) || QuitRequested())
            return;
    }
}
