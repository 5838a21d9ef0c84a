// Loading the hotkey settings and deriving the masks and key codes that the dispatch compares.
#include "hotkeys/hotkey_settings.h"

#include "system/settings_store.h"

namespace {

// Defaults go through the store's own flag conversion, which turns these back into the flags.
constexpr char16_t kTrueText[] = u"True";
constexpr char16_t kFalseText[] = u"False";

constexpr std::u16string_view kKeyNames[] = {u"F1", u"F2", u"F3", u"F4",  u"F5",  u"F6",
                                             u"F7", u"F8", u"F9", u"F10", u"F11", u"F12"};
constexpr std::int16_t kVkF1 = 112;
constexpr std::int16_t kVkF12 = kVkF1 + 11;

}  // namespace

std::int16_t ModifierMask(bool shift, bool ctrl, bool alt) {
    return static_cast<std::int16_t>((shift ? kMaskShift : 0) | (ctrl ? kMaskCtrl : 0) |
                                     (alt ? kMaskAlt : 0));
}

std::span<const std::u16string_view> HotKeyLetters() {
    return kKeyNames;
}

std::u16string_view KeyNameOf(std::int16_t keyCode) {
    const int index = keyCode - kVkF1;
    return index >= 0 && index < static_cast<int>(std::size(kKeyNames)) ? kKeyNames[index]
                                                                        : std::u16string_view{};
}

bool IsReservedByWindows(std::int16_t keyCode, std::int16_t mask) {
    return keyCode == kVkF12 && (mask == 0 || mask == kMaskShift);
}

std::u16string HotkeyTakenLine(std::int16_t keyCode, std::int16_t mask,
                               std::u16string_view action) {
    // Spelled as the user sets it in the Hotkeys dialog. Windows refuses the reserved ones as if
    // another program held them.
    return std::u16string(u"The hotkey ") + (mask & kMaskCtrl ? u"Ctrl+" : u"") +
           (mask & kMaskAlt ? u"Alt+" : u"") + (mask & kMaskShift ? u"Shift+" : u"") +
           std::u16string(KeyNameOf(keyCode)) + u" for " + std::u16string(action) +
           (IsReservedByWindows(keyCode, mask) ? u" is reserved by Windows.\r"
                                               : u" is already used by another program.\r");
}

std::int16_t HotKeyLetterToKeyCode(std::u16string_view name) {
    for (std::size_t i = 0; i < std::size(kKeyNames); ++i) {
        if (name == kKeyNames[i])
            return static_cast<std::int16_t>(kVkF1 + i);
    }
    return 0;
}

void HotkeySettings::RestoreGlobalsFromRegistry() {
    using fktAllgModule::ReadBoolSetting;
    using fktAllgModule::ReadTextSetting;
    bMOdCcCtrl = ReadBoolSetting(kSettingsSection, u"CcCtrl", kTrueText);
    bMOdCcAlt = ReadBoolSetting(kSettingsSection, u"CcAlt", kTrueText);
    bMOdCcShift = ReadBoolSetting(kSettingsSection, u"CcShift", kTrueText);
    bMOdDbrCtrl = ReadBoolSetting(kSettingsSection, u"DbrCtrl", kTrueText);
    bMOdDbrAlt = ReadBoolSetting(kSettingsSection, u"DbrAlt", kTrueText);
    bMOdDbrShift = ReadBoolSetting(kSettingsSection, u"DbrShift", kTrueText);
    bMOdHotkeysActivated = ReadBoolSetting(kSettingsSection, u"HotkeysActivated", kFalseText);
    svMOdDbrHotKeyLetter = ReadTextSetting(kSettingsSection, u"DbrHotKeyLetter", u"F12");
    svMOdCcHotKeyLetter = ReadTextSetting(kSettingsSection, u"CcHotKeyLetter", u"F11");
    bMOdCcPaste = ReadBoolSetting(kSettingsSection, u"CcPaste", u"0");

    intGMOdDbrCtrlAltShift = ModifierMask(bMOdDbrShift, bMOdDbrCtrl, bMOdDbrAlt);
    intGMOdCcCtrlAltShift = ModifierMask(bMOdCcShift, bMOdCcCtrl, bMOdCcAlt);
    intMOdDbrHotKeyLetter = HotKeyLetterToKeyCode(svMOdDbrHotKeyLetter);
    intMOdCcHotKeyLetter = HotKeyLetterToKeyCode(svMOdCcHotKeyLetter);
}
