// What the Hotkeys dialog shows and saves, apart from its window: control states and checks.
#include "hotkeys/hotkey_dialog.h"

#include "system/settings_store.h"

namespace {

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
