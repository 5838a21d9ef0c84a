// Hotkey settings: defaults, masks and key codes derived from what the settings store holds.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "hotkeys/hotkey_settings.h"
#include "settings_backend_fake.h"

namespace {

using Stored = std::vector<std::pair<std::u16string, std::u16string>>;

std::string Narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

auto Fields(const HotkeySettings& s) {
    return std::tie(s.bMOdCcCtrl, s.bMOdCcAlt, s.bMOdCcShift, s.bMOdDbrCtrl, s.bMOdDbrAlt,
                    s.bMOdDbrShift, s.bMOdHotkeysActivated, s.svMOdDbrHotKeyLetter,
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

struct LoadCase {
    const char* what;
    Stored stored;
    bool activated;
    std::u16string dbrName, ccName;
    int dbrMask, dbrCode, ccMask, ccCode;
};

TEST(RestoreGlobalsFromRegistry, DerivesMasksAndKeyCodesFromTheStore) {
    const LoadCase cases[] = {
        {"empty store", {}, false, u"F12", u"F11", 7, 123, 7, 122},
        {"close-all with Ctrl only",
         {{u"DbrCtrl", u"1"}, {u"DbrAlt", u"0"}, {u"DbrShift", u"0"}},
         false,
         u"F12",
         u"F11",
         2,
         123,
         7,
         122},
        {"clean clipboard with Shift and Alt",
         {{u"CcShift", u"1"}, {u"CcAlt", u"1"}, {u"CcCtrl", u"0"}},
         false,
         u"F12",
         u"F11",
         7,
         123,
         5,
         122},
        {"no modifiers at all",
         {{u"CcCtrl", u"0"},
          {u"CcAlt", u"0"},
          {u"CcShift", u"0"},
          {u"DbrCtrl", u"0"},
          {u"DbrAlt", u"0"},
          {u"DbrShift", u"0"}},
         false,
         u"F12",
         u"F11",
         0,
         123,
         0,
         122},
        {"single flags each",
         {{u"DbrCtrl", u"0"},
          {u"DbrAlt", u"1"},
          {u"DbrShift", u"0"},
          {u"CcCtrl", u"0"},
          {u"CcAlt", u"0"},
          {u"CcShift", u"1"}},
         false,
         u"F12",
         u"F11",
         4,
         123,
         1,
         122},
        {"lower-case f5 kept, code 0; F10",
         {{u"CcHotKeyLetter", u"f5"}, {u"DbrHotKeyLetter", u"F10"}},
         false,
         u"F10",
         u"f5",
         7,
         121,
         7,
         0},
        {"stored empty name is not the default",
         {{u"DbrHotKeyLetter", u""}},
         false,
         u"",
         u"F11",
         7,
         0,
         7,
         122},
        {"typed F13 kept with code 0",
         {{u"DbrHotKeyLetter", u"F13"}},
         false,
         u"F13",
         u"F11",
         7,
         0,
         7,
         122},
        {"equal hotkeys load as they are",
         {{u"DbrHotKeyLetter", u"F12"}, {u"CcHotKeyLetter", u"F12"}},
         false,
         u"F12",
         u"F12",
         7,
         123,
         7,
         123},
        {"activated", {{u"HotkeysActivated", u"1"}}, true, u"F12", u"F11", 7, 123, 7, 122},
        {"deactivated", {{u"HotkeysActivated", u"0"}}, false, u"F12", u"F11", 7, 123, 7, 122},
        {"flag words",
         {{u"HotkeysActivated", u"True"}, {u"DbrAlt", u"falsch"}},
         true,
         u"F12",
         u"F11",
         3,
         123,
         7,
         122},
        {"unconvertible flags read as false",
         {{u"HotkeysActivated", u"yes"}, {u"CcCtrl", u"x"}, {u"CcAlt", u""}},
         false,
         u"F12",
         u"F11",
         7,
         123,
         1,
         122},
    };
    for (const LoadCase& c : cases) {
        FakeSettingsBackend store;
        for (const auto& [key, value] : c.stored)
            store.Set(key, value);
        HotkeySettings s;
        s.RestoreGlobalsFromRegistry();
        SCOPED_TRACE(c.what);
        EXPECT_EQ(s.bMOdHotkeysActivated, c.activated);
        EXPECT_EQ(s.svMOdDbrHotKeyLetter, c.dbrName);
        EXPECT_EQ(s.svMOdCcHotKeyLetter, c.ccName);
        EXPECT_EQ(s.intGMOdDbrCtrlAltShift, c.dbrMask);
        EXPECT_EQ(s.intMOdDbrHotKeyLetter, c.dbrCode);
        EXPECT_EQ(s.intGMOdCcCtrlAltShift, c.ccMask);
        EXPECT_EQ(s.intMOdCcHotKeyLetter, c.ccCode);
        EXPECT_TRUE(store.log.empty()) << "loading writes nothing";
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
