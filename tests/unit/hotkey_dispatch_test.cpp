// Hotkey dispatch: which key presses run which action, in which order, and the handled flag.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "hotkeys/hotkey_dispatch.h"

namespace {

// Records the actions as "D" (close all), "C" (clean clipboard) and "P" (paste, with its keys).
class RecordingActions final : public HotkeyActions {
  public:
    void CloseWindowsNow() override {
        ran += 'D';
        if (duringCloseAll)
            duringCloseAll();
    }
    bool CleanClipboard() override {
        ran += 'C';
        return textPut;
    }
    void PasteWhenReleased(const std::vector<std::uint8_t>& keys) override {
        ran += 'P';
        for (std::uint8_t key : keys)
            ran += ' ' + std::to_string(key);
    }
    std::string ran;
    std::function<void()> duringCloseAll;
    bool textPut = true;
};

HotkeySettings Hotkeys(int dbrCode, int dbrMask, int ccCode, int ccMask, bool paste = false) {
    HotkeySettings s;
    s.bMOdCcPaste = paste;
    s.intMOdDbrHotKeyLetter = static_cast<std::int16_t>(dbrCode);
    s.intGMOdDbrCtrlAltShift = static_cast<std::int16_t>(dbrMask);
    s.intMOdCcHotKeyLetter = static_cast<std::int16_t>(ccCode);
    s.intGMOdCcCtrlAltShift = static_cast<std::int16_t>(ccMask);
    return s;
}

constexpr int kF11 = 122, kF12 = 123;
constexpr std::int16_t kUntouched = 5;  // neither true nor false: shows that nobody wrote it

struct PressCase {
    const char* what;
    HotkeySettings settings;
    std::int32_t keyCode;
    std::int16_t shift;
    std::string ran;
    std::int16_t handled;
};

TEST(DispatchKeyEvent, RunsTheActionsWhoseKeyAndWholeMaskMatch) {
    const HotkeySettings defaults = Hotkeys(kF12, 7, kF11, 7);
    const PressCase cases[] = {
        {"close-all hotkey", defaults, kF12, 7, "D", kEventTrue},
        {"clean-clipboard hotkey", defaults, kF11, 7, "C", kEventTrue},
        {"one modifier missing", defaults, kF12, 3, "", kUntouched},
        {"no modifier", defaults, kF12, 0, "", kUntouched},
        {"other key, same mask", defaults, 121, 7, "", kUntouched},
        {"extra modifier on a Ctrl+F12 hotkey", Hotkeys(kF12, 2, kF11, 7), kF12, 7, "", kUntouched},
        {"Ctrl+Shift+F12 on a Ctrl+F12 hotkey", Hotkeys(kF12, 2, kF11, 7), kF12, 3, "", kUntouched},
        {"Ctrl+F12 on a Ctrl+F12 hotkey", Hotkeys(kF12, 2, kF11, 7), kF12, 2, "D", kEventTrue},
        {"bare key hotkey, bare press", Hotkeys(kF12, 0, kF11, 7), kF12, 0, "D", kEventTrue},
        {"bare key hotkey, Shift held", Hotkeys(kF12, 0, kF11, 7), kF12, 1, "", kUntouched},
        {"unknown key name: code 0 matches only code 0", Hotkeys(0, 7, kF11, 7), 0, 7, "D",
         kEventTrue},
        {"unknown key name: F12 does not match", Hotkeys(0, 7, kF11, 7), kF12, 7, "", kUntouched},
        {"equal hotkeys: both run, close-all first", Hotkeys(kF12, 7, kF12, 7), kF12, 7, "DC",
         kEventTrue},
        {"key code beyond 16 bits does not wrap", defaults, kF12 + 65536, 7, "", kUntouched},
        {"paste once the press's modifiers and key are up", Hotkeys(kF12, 7, kF11, 5, true), kF11,
         5, "CP 16 18 122", kEventTrue},
        {"no paste where the press closes the focused window", Hotkeys(kF11, 7, kF11, 7, true),
         kF11, 7, "DC", kEventTrue},
    };
    for (const PressCase& c : cases) {
        RecordingActions actions;
        std::int16_t handled = kUntouched;
        DispatchKeyEvent(c.settings, c.keyCode, c.shift, handled, actions);
        EXPECT_EQ(actions.ran, c.ran) << c.what;
        EXPECT_EQ(handled, c.handled) << c.what;
    }
}

TEST(DispatchKeyEvent, SecondTestUsesTheSettingsAsTheyAreAfterTheFirstAction) {
    // Close-all pumps messages; a save in the Hotkeys dialog may run inside it.
    HotkeySettings settings = Hotkeys(kF12, 7, kF11, 7);
    RecordingActions actions;
    actions.duringCloseAll = [&] { settings.intMOdCcHotKeyLetter = kF12; };
    std::int32_t keyCode = kF12;
    std::int16_t handled = 0;
    DispatchKeyEvent(settings, keyCode, 7, handled, actions);
    EXPECT_EQ(actions.ran, "DC");
}

TEST(DispatchKeyEvent, ASaveDuringCloseAllCanAlsoDisableTheSecondMatch) {
    HotkeySettings settings = Hotkeys(kF12, 7, kF12, 7);
    RecordingActions actions;
    actions.duringCloseAll = [&] { settings.intGMOdCcCtrlAltShift = 3; };
    std::int32_t keyCode = kF12;
    std::int16_t handled = 0;
    DispatchKeyEvent(settings, keyCode, 7, handled, actions);
    EXPECT_EQ(actions.ran, "D");
    EXPECT_EQ(handled, kEventTrue);
}

TEST(DispatchKeyEvent, NoPasteAfterACleaningThatPutNoText) {
    RecordingActions actions;
    actions.textPut = false;
    std::int16_t handled = 0;
    DispatchKeyEvent(Hotkeys(kF12, 7, kF11, 7, true), kF11, 7, handled, actions);
    EXPECT_EQ(actions.ran, "C");
}

}  // namespace
