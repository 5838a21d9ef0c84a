// Matching a reported key press against the two hotkeys and running the matching actions.
#include "hotkeys/hotkey_dispatch.h"

std::vector<std::uint8_t> KeysOfPress(std::int32_t keyCode, std::int16_t mask) {
    std::vector<std::uint8_t> keys;
    if (mask & kMaskShift)
        keys.push_back(kVkShift);
    if (mask & kMaskCtrl)
        keys.push_back(kVkControl);
    if (mask & kMaskAlt)
        keys.push_back(kVkMenu);
    // Virtual-key codes run from 1 to 254; anything else names no key that could be held.
    if (keyCode > 0 && keyCode < 255)
        keys.push_back(static_cast<std::uint8_t>(keyCode));
    return keys;
}

void DispatchKeyEvent(const HotkeySettings& settings, const std::int32_t& keyCode,
                      const std::int16_t& shift, std::int16_t& handled, HotkeyActions& actions) {
    bool closedWindows = false;
    if (keyCode == settings.intMOdDbrHotKeyLetter && shift == settings.intGMOdDbrCtrlAltShift) {
        handled = kEventTrue;
        actions.CloseWindowsNow();
        closedWindows = true;
    }
    if (keyCode == settings.intMOdCcHotKeyLetter && shift == settings.intGMOdCcCtrlAltShift) {
        handled = kEventTrue;
        const bool textPut = actions.CleanClipboard();
        if (textPut && settings.bMOdCcPaste && !closedWindows)
            actions.PasteWhenReleased(KeysOfPress(keyCode, shift));
    }
}
