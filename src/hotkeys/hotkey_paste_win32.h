// Pasting after a clean-clipboard hotkey: Ctrl+V to the focused window once the hotkey is let go.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// What the notification says when Windows would not let the paste land.
inline constexpr char16_t kNotPastedTitle[] = u"Not pasted";
inline constexpr char16_t kNotPastedText[] =
    u"DeskBroom cannot type into a program that runs as administrator. The cleaned text is on "
    u"the clipboard: press Ctrl+V.";

// One paste at a time. The wait for the keys runs on a timer of the caller's window, so the
// thread answers tray clicks, menus and other programs meanwhile; the window hands its
// WM_TIMER for that timer to OnTimer.
class HotkeyPaste {
  public:
    enum class Started {
        Waiting,
        // The window in front runs elevated and DeskBroom does not: Windows would drop the keys
        // and hide their state, so nothing waits and nothing is sent.
        OutOfReach,
        Failed,
    };
    // Replaces any paste still waiting. Looks every 15 ms, for at most 1 s, whether the keys
    // (virtual-key codes) are all up, then sends Ctrl+V; keys still held after that second
    // paste nothing, and neither does a change of the foreground window meanwhile.
    Started Start(HWND window, UINT_PTR timerId, const std::vector<std::uint8_t>& keys);
    // A new action or the program's end: the paste waiting is dropped.
    void Cancel();
    void OnTimer();

  private:
    HWND window_ = nullptr;  // null when no paste waits
    UINT_PTR timerId_ = 0;
    std::vector<std::uint8_t> keys_;
    HWND target_ = nullptr;  // the foreground window when the paste was asked for
    ULONGLONG deadline_ = 0;
};
