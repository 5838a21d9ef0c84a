// Starting with Windows: the "DeskBroom" value of the user's Run key and its menu check mark.
#include "app/frm_desk_broom_win32.h"

#include "system/autostart.h"
#include "system/registry_win32.h"
#include "win32/ui_win32.h"

void frmDeskBroom::ShowAutostartState() {
    SetChecked(IDM_AUTOSTART, IsAutostartOn(fktAllgModule::GetUserRegistryText(
                                  kRunKeyPath, kAutostartValueName, u"")));
}

void frmDeskBroom::mpopAutostart_Click() {
    // The check mark is the record of the state after start-up; the registry is only written.
    if (IsChecked(IDM_AUTOSTART)) {
        SetChecked(IDM_AUTOSTART, false);
        // Off is the empty text, never a deleted value.
        fktAllgModule::SetUserRegistryText(kRunKeyPath, kAutostartValueName, u"");
    } else {
        SetChecked(IDM_AUTOSTART, true);
        fktAllgModule::CreateRegistryKey(kRunKeyPath, HKEY_CURRENT_USER);
        fktAllgModule::SetUserRegistryText(kRunKeyPath, kAutostartValueName,
                                           AutostartDatum(ProgramFolder()));
    }
}
