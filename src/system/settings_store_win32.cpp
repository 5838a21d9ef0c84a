// The settings store's registry backend: text values under HKCU\Software\VB and VBA Program
// Settings.
#include "system/settings_store_win32.h"

#include <windows.h>

#include "system/registry_win32.h"
#include "win32/failure.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

namespace {

// Where the settings live, below HKEY_CURRENT_USER.
constexpr wchar_t kAppKeyPath[] = L"Software\\VB and VBA Program Settings\\DeskBroom";

std::wstring SectionKeyPath(const std::u16string& section) {
    return kAppKeyPath + (L"\\" + ToWide(section));
}

bool IsAbsence(LSTATUS status) {
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

}  // namespace

SettingRead RegistrySettingsBackend::Read(const std::u16string& section,
                                          const std::u16string& key) {
    UniqueHkey hkey;
    registry::QueryData read;
    read.status = ::RegOpenKeyExW(HKEY_CURRENT_USER, SectionKeyPath(section).c_str(), 0,
                                  KEY_QUERY_VALUE, hkey.put());
    if (read.status == ERROR_SUCCESS)
        read = fktAllgModule::QueryRegistryData(hkey.get(), key);
    if (read.status != registry::kSuccess) {
        return {IsAbsence(read.status) ? SettingRead::Status::Absent : SettingRead::Status::Failed,
                {}};
    }
    if (auto text = registry::SettingText(read.type, read.data)) {
        return {SettingRead::Status::Found, *text};
    }
    return {SettingRead::Status::Absent, {}};
}

bool RegistrySettingsBackend::Write(const std::u16string& section, const std::u16string& key,
                                    const std::u16string& value) {
    UniqueHkey hkey;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, SectionKeyPath(section).c_str(), 0, nullptr,
                          REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, hkey.put(),
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return fktAllgModule::WriteRegistryValue(hkey.get(), key, REG_SZ, value) == ERROR_SUCCESS;
}

void RegistrySettingsBackend::Fail(const std::u16string& message) {
    // Ends at once: no unload steps run, nothing else is written.
    EndWithFailure(message);
}
