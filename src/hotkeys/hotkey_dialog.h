// What the Hotkeys dialog shows and saves, apart from its window: control states, checks, layout.
#pragma once

#include <cstdint>
#include <span>
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

// The dialog's controls, in tab order; positions and sizes in twips of the client area.
enum class ControlKind { Label, CheckBox, DropDown, Button, DefaultButton };

struct ControlLayout {
    int id;
    ControlKind kind;
    int left, top, width, height;
    const char16_t* designCaption;  // null: the box has no text
};

// Control identifiers; OK and Cancel carry the system's own so that Enter and Esc reach them.
enum HotkeyControlId : int {
    kIdOk = 1,
    kIdCancel = 2,
    kIdApply = 1001,
    kIdChkDbrCtrl,
    kIdChkDbrShift,
    kIdChkDbrAlt,
    kIdCmbDbrHotkeyLetter,
    kIdChkCcCtrl,
    kIdChkCcShift,
    kIdChkCcAlt,
    kIdCmbCcHotkeyLetter,
    kIdChkHotkeysActivated,
    kIdLblDeskBroom,
    kIdLblCleanClipboard,
    kIdLblCtrl,
    kIdLblShift,
    kIdLblAlt,
    kIdChkCcPaste,
};

inline constexpr int kHotkeysClientWidthTwips = 8175;
inline constexpr int kHotkeysClientHeightTwips = 2160;

std::span<const ControlLayout> HotkeysDialogLayout();

// Twips to pixels at the given dots per inch, rounded to the nearest pixel.
int TwipsToPixels(int twips, unsigned dpi);
