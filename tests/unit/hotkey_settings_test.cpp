// Hotkey settings: defaults, masks and key codes derived from what the settings store holds.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "hotkeys/hotkey_settings.h"
#include "settings_backend_fake.h"

namespace {

std::string Narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

auto Fields(const HotkeySettings& s) {
    return std::tie(s.bMOdCcCtrl, s.bMOdCcAlt, s.bMOdCcShift, s.bMOdDbrCtrl, s.bMOdDbrAlt,
                    s.bMOdDbrShift, s.bMOdHotkeysActivated, s.bMOdCcPaste, s.svMOdDbrHotKeyLetter,
                    s.svMOdCcHotKeyLetter, s.intGMOdDbrCtrlAltShift, s.intMOdDbrHotKeyLetter,
                    s.intGMOdCcCtrlAltShift, s.intMOdCcHotKeyLetter);
}

TEST(IsReservedByWindows, PlainF12AndShiftF12Only) {
    for (std::int16_t mask = 0; mask < 8; ++mask) {
        EXPECT_EQ(IsReservedByWindows(123, mask), mask == 0 || mask == kMaskShift) << mask;
        EXPECT_FALSE(IsReservedByWindows(122, mask)) << mask;
    }
}

TEST(HotkeyTakenLine, SpellsTheCombinationAndNamesWhoHoldsIt) {
    const std::pair<std::tuple<int, int, std::u16string>, std::u16string> cases[] = {
        {{123, 7, u"Desk Broom"},
         u"The hotkey Ctrl+Alt+Shift+F12 for Desk Broom is already used by another program.\r"},
        {{112, kMaskAlt, u"Clean Clipboard"},
         u"The hotkey Alt+F1 for Clean Clipboard is already used by another program.\r"},
        {{123, 0, u"Desk Broom"}, u"The hotkey F12 for Desk Broom is reserved by Windows.\r"},
        {{123, kMaskShift, u"A and B"},
         u"The hotkey Shift+F12 for A and B is reserved by Windows.\r"},
    };
    for (const auto& [combination, line] : cases) {
        const auto& [code, mask, action] = combination;
        EXPECT_EQ(HotkeyTakenLine(static_cast<std::int16_t>(code), static_cast<std::int16_t>(mask),
                                  action),
                  line);
    }
}

TEST(HotKeyLetterToKeyCode, OnlyTheExactNamesF1ToF12HaveCodes) {
    const std::pair<std::u16string, int> cases[] = {
        {u"F1", 112},
        {u"F2", 113},
        {u"F3", 114},
        {u"F4", 115},
        {u"F5", 116},
        {u"F6", 117},
        {u"F7", 118},
        {u"F8", 119},
        {u"F9", 120},
        {u"F10", 121},
        {u"F11", 122},
        {u"F12", 123},
        {u"f5", 0},
        {u" F5", 0},
        {u"F5 ", 0},
        {u"F13", 0},
        {u"F0", 0},
        {u"F", 0},
        {u"", 0},
        {u"F01", 0},
        {u"F1F", 0},
        {std::u16string(u"F1\0", 3), 0},
        {u"\uFF26\uFF11", 0},  // full-width F1
    };
    for (const auto& [name, code] : cases) {
        EXPECT_EQ(HotKeyLetterToKeyCode(name), code) << Narrow(name);
        // And back: the codes of F1 to F12 have their names, every other code none.
        EXPECT_EQ(KeyNameOf(static_cast<std::int16_t>(code)), code ? name : u"") << code;
    }
    for (int code : {111, 124})
        EXPECT_EQ(KeyNameOf(static_cast<std::int16_t>(code)), u"") << code;
}

// What a load gives: the switch, then each hotkey as "name mask code", close-all's first.
std::string Loaded(const HotkeySettings& s) {
    auto hotkey = [](const std::u16string& name, int mask, int code) {
        return Narrow(name) + " " + std::to_string(mask) + " " + std::to_string(code);
    };
    return (s.bMOdHotkeysActivated ? "on " : "off ") +
           hotkey(s.svMOdDbrHotKeyLetter, s.intGMOdDbrCtrlAltShift, s.intMOdDbrHotKeyLetter) +
           ", " + hotkey(s.svMOdCcHotKeyLetter, s.intGMOdCcCtrlAltShift, s.intMOdCcHotKeyLetter);
}

TEST(RestoreGlobalsFromRegistry, DerivesMasksAndKeyCodesFromTheStore) {
    // What the store holds ("name=value ..."), and what loads from it.
    const std::pair<std::string, std::string> cases[] = {
        {"", "off F12 7 123, F11 7 122"},
        {"DbrCtrl=1 DbrAlt=0 DbrShift=0", "off F12 2 123, F11 7 122"},
        {"CcShift=1 CcAlt=1 CcCtrl=0", "off F12 7 123, F11 5 122"},
        {"CcCtrl=0 CcAlt=0 CcShift=0 DbrCtrl=0 DbrAlt=0 DbrShift=0", "off F12 0 123, F11 0 122"},
        {"DbrCtrl=0 DbrAlt=1 DbrShift=0 CcCtrl=0 CcAlt=0 CcShift=1", "off F12 4 123, F11 1 122"},
        {"CcHotKeyLetter=f5 DbrHotKeyLetter=F10", "off F10 7 121, f5 7 0"},
        {"DbrHotKeyLetter=", "off  7 0, F11 7 122"},  // stored empty: not the default
        {"DbrHotKeyLetter=F13", "off F13 7 0, F11 7 122"},
        {"DbrHotKeyLetter=F12 CcHotKeyLetter=F12", "off F12 7 123, F12 7 123"},
        {"HotkeysActivated=1", "on F12 7 123, F11 7 122"},
        {"HotkeysActivated=0", "off F12 7 123, F11 7 122"},
        {"HotkeysActivated=True DbrAlt=falsch", "on F12 3 123, F11 7 122"},
        {"HotkeysActivated=yes CcCtrl=x CcAlt=", "off F12 7 123, F11 1 122"},  // unconvertible
    };
    for (const auto& [stored, loaded] : cases) {
        FakeSettingsBackend store;
        std::istringstream pairs(stored);
        for (std::string pair; pairs >> pair;) {
            const std::size_t equals = pair.find('=');
            store.Set(std::u16string(pair.begin(), pair.begin() + equals),
                      std::u16string(pair.begin() + equals + 1, pair.end()));
        }
        HotkeySettings s;
        s.RestoreGlobalsFromRegistry();
        EXPECT_EQ(Loaded(s), loaded) << stored;
        EXPECT_TRUE(store.log.empty()) << stored << ": loading writes nothing";
    }
}

TEST(RestoreGlobalsFromRegistry, LoadingTwiceGivesTheSameFields) {
    FakeSettingsBackend store;
    store.Set(u"DbrShift", u"0");
    store.Set(u"CcHotKeyLetter", u"F3");
    store.Set(u"HotkeysActivated", u"1");
    HotkeySettings first, second;
    first.RestoreGlobalsFromRegistry();
    second = first;
    second.RestoreGlobalsFromRegistry();
    EXPECT_EQ(Fields(first), Fields(second));
}

TEST(RestoreGlobalsFromRegistry, ReloadReplacesEveryFieldFromTheStore) {
    // What a save in the dialog relies on: nothing of an earlier load survives.
    FakeSettingsBackend store;
    store.Set(u"DbrCtrl", u"0");
    store.Set(u"DbrHotKeyLetter", u"F2");
    store.Set(u"CcAlt", u"0");
    store.Set(u"CcHotKeyLetter", u"nonsense");
    store.Set(u"HotkeysActivated", u"1");
    store.Set(u"CcPaste", u"1");
    HotkeySettings s;
    s.RestoreGlobalsFromRegistry();
    store.values.clear();
    s.RestoreGlobalsFromRegistry();
    HotkeySettings fresh;
    fresh.RestoreGlobalsFromRegistry();
    EXPECT_EQ(Fields(s), Fields(fresh));
    EXPECT_EQ(s.intGMOdDbrCtrlAltShift, 7);
    EXPECT_EQ(s.intMOdCcHotKeyLetter, 122);
}

}  // namespace
