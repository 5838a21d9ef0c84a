// Matching a reported key press against the two hotkeys and running the matching actions.
#pragma once

#include <cstdint>

#include "hotkeys/hotkey_settings.h"

// The handled flag of a key event: a 16-bit boolean.
inline constexpr std::int16_t kEventTrue = -1;

// What a hotkey runs.
class HotkeyActions {
  public:
    virtual ~HotkeyActions() = default;
    virtual void CloseWindowsNow() = 0;
    virtual void CleanClipboard() = 0;
};

// Tests the close-all hotkey, then the clean-clipboard hotkey, each by key code and whole mask.
// The settings are read at each test, not before: an action pumps messages, and a save in the
// Hotkeys dialog handled meanwhile takes effect for the second test already. handled becomes
// true on a match and is left alone otherwise.
void DispatchKeyEvent(const HotkeySettings& settings, const std::int32_t& keyCode,
                      const std::int16_t& shift, std::int16_t& handled, HotkeyActions& actions);
