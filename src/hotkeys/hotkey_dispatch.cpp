// Matching a reported key press against the two hotkeys and running the matching actions.
#include "hotkeys/hotkey_dispatch.h"

void DispatchKeyEvent(const HotkeySettings& settings, const std::int32_t& keyCode,
                      const std::int16_t& shift, std::int16_t& handled, HotkeyActions& actions) {
    if (keyCode == settings.intMOdDbrHotKeyLetter && shift == settings.intGMOdDbrCtrlAltShift) {
        handled = kEventTrue;
        actions.CloseWindowsNow();
    }
    if (keyCode == settings.intMOdCcHotKeyLetter && shift == settings.intGMOdCcCtrlAltShift) {
        handled = kEventTrue;
        actions.CleanClipboard();
    }
}
