// What the Hotkeys dialog shows and saves, apart from its window: control states, checks, layout.
#include "hotkeys/hotkey_dialog.h"

#include "system/settings_store.h"

namespace {

constexpr ControlLayout kLayout[] = {
    {kIdOk, ControlKind::DefaultButton, 1800, 1680, 1095, 375, u"OK"},
    {kIdCancel, ControlKind::Button, 3120, 1680, 1095, 375, u"Cancel"},
    {kIdApply, ControlKind::Button, 4440, 1680, 1095, 375, u"Apply"},
    {kIdChkDbrCtrl, ControlKind::CheckBox, 2160, 360, 255, 255, nullptr},
    {kIdChkDbrShift, ControlKind::CheckBox, 3000, 360, 255, 255, nullptr},
    {kIdChkDbrAlt, ControlKind::CheckBox, 3840, 360, 255, 255, nullptr},
    {kIdCmbDbrHotkeyLetter, ControlKind::DropDown, 4680, 360, 735, 315, u"F12"},
    {kIdChkCcCtrl, ControlKind::CheckBox, 2160, 720, 255, 255, nullptr},
    {kIdChkCcShift, ControlKind::CheckBox, 3000, 720, 255, 255, nullptr},
    {kIdChkCcAlt, ControlKind::CheckBox, 3840, 720, 255, 255, nullptr},
    {kIdCmbCcHotkeyLetter, ControlKind::DropDown, 4680, 720, 735, 315, u"F11"},
    {kIdChkCcPaste, ControlKind::CheckBox, 5640, 720, 2295, 255, u"&Paste after cleaning"},
    {kIdChkHotkeysActivated, ControlKind::CheckBox, 2160, 1200, 2055, 255, u"Hotkeys activated"},
    {kIdLblDeskBroom, ControlKind::Label, 240, 360, 1815, 255, u"Desk Broom"},
    {kIdLblCleanClipboard, ControlKind::Label, 240, 720, 1815, 255, u"Clean clipboard"},
    {kIdLblCtrl, ControlKind::Label, 2160, 120, 495, 255, u"CTRL"},
    {kIdLblShift, ControlKind::Label, 2880, 120, 855, 255, u"Shift"},
    {kIdLblAlt, ControlKind::Label, 3840, 120, 495, 255, u"ALT"},
};

const char16_t* StateText(bool checked) {
    return checked ? u"1" : u"0";
}

}  // namespace

HotkeyControls ControlsFromSettings(const HotkeySettings& settings) {
    HotkeyControls controls;
    controls.chkCcCtrl = settings.bMOdCcCtrl;
    controls.chkCcAlt = settings.bMOdCcAlt;
    controls.chkCcShift = settings.bMOdCcShift;
    controls.chkDbrCtrl = settings.bMOdDbrCtrl;
    controls.chkDbrAlt = settings.bMOdDbrAlt;
    controls.chkDbrShift = settings.bMOdDbrShift;
    controls.chkHotkeysActivated = settings.bMOdHotkeysActivated;
    controls.cmbDbrHotkeyLetter = settings.svMOdDbrHotKeyLetter;
    controls.cmbCcHotkeyLetter = settings.svMOdCcHotKeyLetter;
    controls.chkCcPaste = settings.bMOdCcPaste;
    return controls;
}

bool HotkeyRowWithoutModifier(const HotkeyControls& c) {
    bool ccBare = !c.chkCcCtrl && !c.chkCcAlt && !c.chkCcShift;
    bool dbrBare = !c.chkDbrCtrl && !c.chkDbrAlt && !c.chkDbrShift;
    return ccBare || dbrBare;
}

void StoreHotkeyControls(const HotkeyControls& c, HotkeyArming& arming) {
    using fktAllgModule::WriteSetting;
    WriteSetting(kSettingsSection, u"CcCtrl", StateText(c.chkCcCtrl));
    WriteSetting(kSettingsSection, u"CcAlt", StateText(c.chkCcAlt));
    WriteSetting(kSettingsSection, u"CcShift", StateText(c.chkCcShift));
    WriteSetting(kSettingsSection, u"DbrCtrl", StateText(c.chkDbrCtrl));
    WriteSetting(kSettingsSection, u"DbrAlt", StateText(c.chkDbrAlt));
    WriteSetting(kSettingsSection, u"DbrShift", StateText(c.chkDbrShift));
    WriteSetting(kSettingsSection, u"HotkeysActivated", StateText(c.chkHotkeysActivated));
    if (c.chkHotkeysActivated) {
        arming.ActivateHotkey();
    } else {
        arming.DeActivateHotkey();
    }
    WriteSetting(kSettingsSection, u"DbrHotKeyLetter", c.cmbDbrHotkeyLetter);
    WriteSetting(kSettingsSection, u"CcHotKeyLetter", c.cmbCcHotkeyLetter);
    WriteSetting(kSettingsSection, u"CcPaste", StateText(c.chkCcPaste));
}

std::span<const ControlLayout> HotkeysDialogLayout() {
    return kLayout;
}

int TwipsToPixels(int twips, unsigned dpi) {
    long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled + 720) / 1440);
}
