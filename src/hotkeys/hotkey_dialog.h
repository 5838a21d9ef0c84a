// What the Hotkeys dialog shows and saves, apart from its window: control states and checks.
#pragma once

#include <string>

#include "hotkeys/hotkey_settings.h"

// The state of the dialog's editable controls.
struct HotkeyControls {
    bool chkCcCtrl = false;
    bool chkCcAlt = false;
    bool chkCcShift = false;
    bool chkDbrCtrl = false;
    bool chkDbrAlt = false;
    bool chkDbrShift = false;
    bool chkHotkeysActivated = false;
    std::u16string cmbDbrHotkeyLetter;
    std::u16string cmbCcHotkeyLetter;
    bool chkCcPaste = false;

    friend bool operator==(const HotkeyControls&, const HotkeyControls&) = default;
};

// The controls as the settings say, key names shown even when they name no known key.
HotkeyControls ControlsFromSettings(const HotkeySettings& settings);

// True when either row has none of its three modifier boxes ticked.
bool HotkeyRowWithoutModifier(const HotkeyControls& controls);

// Arms or disarms the hotkeys.
class HotkeyArming {
  public:
    virtual ~HotkeyArming() = default;
    virtual void ActivateHotkey() = 0;
    virtual void DeActivateHotkey() = 0;
    // The hotkey settings in memory were loaded anew; armed hotkeys follow them.
    virtual void HotkeySettingsChanged() = 0;
};

// Writes the seven box states as "1"/"0", arms or disarms the hotkeys as the switch says, then
// writes both key names exactly as typed and the paste option. The in-memory settings are not
// touched.
void StoreHotkeyControls(const HotkeyControls& controls, HotkeyArming& arming);
