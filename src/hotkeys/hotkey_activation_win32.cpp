// Arming and disarming the hotkeys, loading their settings and opening the Hotkeys dialog.
#include "app/frm_desk_broom_win32.h"

bool frmDeskBroom::RestoreHotkeys() {
    // Hotkey settings are not loaded yet; the hotkeys stay unarmed.
    return false;
}

void frmDeskBroom::ActivateHotkey() {}

void frmDeskBroom::DeActivateHotkey() {}

void frmDeskBroom::mPopSetHotkeys_Click() {
    // The Hotkeys dialog is not built yet.
}
