// Starting with Windows: reading and writing the "DeskBroom" value of the user's Run key.
#include "system/autostart.h"
#include "system/registry_win32.h"
#include "win32/files.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

namespace {

// The datum of the entry under StartupApproved\Run, whatever its type; empty when there is none.
std::vector<std::uint8_t> StartupApprovedDatum() {
    UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, ToWide(kStartupApprovedRunPath).c_str(), 0,
                        KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return {};
    }
    registry::QueryData read = fktAllgModule::QueryRegistryData(key.get(), kAutostartValueName);
    return read.status == registry::kSuccess ? read.data : std::vector<std::uint8_t>{};
}

}  // namespace

bool IsAutostartOn() {
    // Any text is on: the stored path is never compared with the running program.
    return !fktAllgModule::GetUserRegistryText(kRunKeyPath, kAutostartValueName, u"").empty() &&
           !StartupApprovedMeansOff(StartupApprovedDatum());
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
