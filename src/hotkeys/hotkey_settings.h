// The two hotkeys and their on/off switch as stored in the settings, with their masks and key
// codes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Modifier mask bits, as the hotkey component reports the modifiers held.
inline constexpr std::int16_t kMaskShift = 1;
inline constexpr std::int16_t kMaskCtrl = 2;
inline constexpr std::int16_t kMaskAlt = 4;

std::int16_t ModifierMask(bool shift, bool ctrl, bool alt);

// The virtual-key code of "F1" to "F12" (112 to 123); 0 for any other text, compared whole and
// case-sensitively.
std::int16_t HotKeyLetterToKeyCode(std::u16string_view name);

// The key names the hotkeys can have, "F1" to "F12" in order.
std::span<const std::u16string_view> HotKeyLetters();
// The name of key code 112 to 123 ("F1" to "F12"); empty for any other code.
std::u16string_view KeyNameOf(std::int16_t keyCode);

// Whether Windows keeps the combination for itself: plain F12 and Shift+F12 break into a
// debugger, and no program can register them.
bool IsReservedByWindows(std::int16_t keyCode, std::int16_t mask);
// The line that tells why the combination could not be the hotkey for `action`: "The hotkey
// Ctrl+Alt+F5 for Desk Broom is already used by another program.\r", or "is reserved by Windows".
std::u16string HotkeyTakenLine(std::int16_t keyCode, std::int16_t mask, std::u16string_view action);

// The program-wide hotkey settings. The Hotkeys dialog class derives from this, so the fields
// are its public variables and live as long as its one instance, open or not.
struct HotkeySettings {
    bool bMOdCcCtrl = false;
    bool bMOdCcAlt = false;
    bool bMOdCcShift = false;
    bool bMOdDbrCtrl = false;
    bool bMOdDbrAlt = false;
    bool bMOdDbrShift = false;
    bool bMOdHotkeysActivated = false;
    // The clean-clipboard hotkey pastes the cleaned text where the user types.
    bool bMOdCcPaste = false;
    std::u16string svMOdDbrHotKeyLetter;
    std::u16string svMOdCcHotKeyLetter;
    std::int16_t intGMOdDbrCtrlAltShift = 0;
    std::int16_t intMOdDbrHotKeyLetter = 0;
    std::int16_t intGMOdCcCtrlAltShift = 0;
    std::int16_t intMOdCcHotKeyLetter = 0;
    // The user chose to correct a hotkey without modifier; never stored.
    bool bMOdTryModifierAgain = false;

    // Loads the eight flags and two key names from the settings store (or their defaults) and
    // derives the masks and key codes from them. The only writer of those fields.
    void RestoreGlobalsFromRegistry();
};
