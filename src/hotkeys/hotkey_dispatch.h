// Matching a reported key press against the two hotkeys and running the matching actions.
#pragma once

#include <cstdint>
#include <vector>

#include "hotkeys/hotkey_settings.h"

// The handled flag of a key event: a 16-bit boolean.
inline constexpr std::int16_t kEventTrue = -1;

// Virtual-key codes of the modifiers, down whichever side's key the user holds.
inline constexpr std::uint8_t kVkShift = 0x10;
inline constexpr std::uint8_t kVkControl = 0x11;
inline constexpr std::uint8_t kVkMenu = 0x12;

// What a hotkey runs.
class HotkeyActions {
  public:
    virtual ~HotkeyActions() = default;
    virtual void CloseWindowsNow() = 0;
    // True when the cleaning put text on the clipboard: false when it gave up or found none.
    virtual bool CleanClipboard() = 0;
    // Pastes the clipboard into the window that has the focus once none of the keys (virtual-key
    // codes) is down any more.
    virtual void PasteWhenReleased(const std::vector<std::uint8_t>& keys) = 0;
};

// The keys that a press of keyCode with the modifier mask holds: its modifiers, then the key.
std::vector<std::uint8_t> KeysOfPress(std::int32_t keyCode, std::int16_t mask);

// Tests the close-all hotkey, then the clean-clipboard hotkey, each by key code and whole mask.
// The settings are read at each test, not before: an action pumps messages, and a save in the
// Hotkeys dialog handled meanwhile takes effect for the second test already. handled becomes
// true on a match and is left alone otherwise. With the paste option on, a cleaning that put
// text on the clipboard is pasted once the press's keys are up, unless the same press ran
// close-all: the window that had the focus is being asked to close.
void DispatchKeyEvent(const HotkeySettings& settings, const std::int32_t& keyCode,
                      const std::int16_t& shift, std::int16_t& handled, HotkeyActions& actions);
