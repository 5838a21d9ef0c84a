// Starting with Windows: reading and writing the "DeskBroom" value of the user's Run key.
#include "system/autostart.h"
#include "system/registry_win32.h"
#include "win32/files.h"

bool IsAutostartOn() {
    return RunValueMeansAutostartOn(
        fktAllgModule::GetUserRegistryText(kRunKeyPath, kAutostartValueName, u""));
}

void SetAutostart(bool on) {
    if (!on) {
        fktAllgModule::SetUserRegistryText(kRunKeyPath, kAutostartValueName, u"");
        return;
    }
    fktAllgModule::CreateRegistryKey(kRunKeyPath, HKEY_CURRENT_USER);
    fktAllgModule::SetUserRegistryText(kRunKeyPath, kAutostartValueName,
                                       AutostartDatum(ProgramFolder()));
    // Switched off in Task Manager, the entry would stay off at log-on although the check mark
    // says on. The value only: the key is Windows' own.
    fktAllgModule::DeleteUserRegistryValue(kStartupApprovedRunPath, kAutostartValueName);
}
