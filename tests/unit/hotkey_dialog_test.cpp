// The Hotkeys dialog's logic apart from its window: the no-modifier check and saving.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hotkeys/hotkey_dialog.h"
#include "settings_backend_fake.h"

namespace {

// Logs arming into the store's write log, so that the order of both shows in one list.
class LoggingArming final : public HotkeyArming {
  public:
    explicit LoggingArming(FakeSettingsBackend& store) : store_(store) {}
    void ActivateHotkey() override { store_.log.push_back(u"<arm>"); }
    void DeActivateHotkey() override { store_.log.push_back(u"<disarm>"); }
    void HotkeySettingsChanged() override {}

  private:
    FakeSettingsBackend& store_;
};

HotkeyControls Controls(bool dbrCtrl, bool dbrShift, bool dbrAlt, bool ccCtrl, bool ccShift,
                        bool ccAlt) {
    HotkeyControls c;
    c.chkDbrCtrl = dbrCtrl;
    c.chkDbrShift = dbrShift;
    c.chkDbrAlt = dbrAlt;
    c.chkCcCtrl = ccCtrl;
    c.chkCcShift = ccShift;
    c.chkCcAlt = ccAlt;
    c.cmbDbrHotkeyLetter = u"F12";
    c.cmbCcHotkeyLetter = u"F11";
    return c;
}

TEST(HotkeyRowWithoutModifier, WarnsWhenEitherRowHasNoBoxTicked) {
    struct Case {
        const char* what;
        HotkeyControls controls;
        bool warn;
    };
    const Case cases[] = {
        {"all ticked", Controls(1, 1, 1, 1, 1, 1), false},
        {"one box per row", Controls(0, 0, 1, 1, 0, 0), false},
        {"shift only in both rows", Controls(0, 1, 0, 0, 1, 0), false},
        {"close-all row bare", Controls(0, 0, 0, 1, 1, 1), true},
        {"clean-clipboard row bare", Controls(1, 1, 1, 0, 0, 0), true},
        {"both rows bare", Controls(0, 0, 0, 0, 0, 0), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HotkeyRowWithoutModifier(c.controls), c.warn) << c.what;
    }
    // The switch plays no part: the warning comes also while the hotkeys are off.
    HotkeyControls off = Controls(0, 0, 0, 1, 1, 1);
    off.chkHotkeysActivated = false;
    EXPECT_TRUE(HotkeyRowWithoutModifier(off));
}

TEST(StoreHotkeyControls, WritesTheBoxesThenArmsThenWritesTheKeyNamesAndThePasteOption) {
    struct Case {
        bool activated;
        const char16_t* arming;
    };
    for (const Case& c : {Case{true, u"<arm>"}, Case{false, u"<disarm>"}}) {
        FakeSettingsBackend store;
        LoggingArming arming(store);
        HotkeyControls controls = Controls(1, 0, 1, 0, 1, 0);
        controls.chkHotkeysActivated = c.activated;
        controls.cmbDbrHotkeyLetter = u" f13 ";
        controls.cmbCcHotkeyLetter = u"";
        controls.chkCcPaste = c.activated;
        StoreHotkeyControls(controls, arming);
        const std::vector<std::u16string> expected = {
            u"CcCtrl=0",
            u"CcAlt=0",
            u"CcShift=1",
            u"DbrCtrl=1",
            u"DbrAlt=1",
            u"DbrShift=0",
            std::u16string(u"HotkeysActivated=") + (c.activated ? u"1" : u"0"),
            c.arming,
            u"DbrHotKeyLetter= f13 ",
            u"CcHotKeyLetter=",
            std::u16string(u"CcPaste=") + (c.activated ? u"1" : u"0"),
        };
        EXPECT_EQ(store.log, expected);
    }
}

TEST(StoreHotkeyControls, WhatIsSavedIsWhatTheNextOpeningShows) {
    HotkeyControls typed = Controls(0, 0, 0, 1, 0, 0);
    typed.chkHotkeysActivated = true;
    typed.cmbDbrHotkeyLetter = u"F13";
    typed.cmbCcHotkeyLetter = u"f5";
    typed.chkCcPaste = true;
    HotkeyControls defaults = Controls(1, 1, 1, 1, 1, 1);
    for (const HotkeyControls& controls : {typed, defaults}) {
        FakeSettingsBackend store;
        LoggingArming arming(store);
        StoreHotkeyControls(controls, arming);
        HotkeySettings settings;
        settings.RestoreGlobalsFromRegistry();
        EXPECT_EQ(ControlsFromSettings(settings), controls);
    }
}

}  // namespace
