// The settings store's registry backend: text values under HKCU\Software\VB and VBA Program
// Settings.
#include "system/settings_store_win32.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "system/registry_value.h"
#include "win32/failure.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

namespace {

std::wstring SectionKeyPath(const std::u16string& section) {
    return ToWide(kSettingsRoot) + L"\\" + ToWide(kAppName) + L"\\" + ToWide(section);
}

bool IsAbsence(LSTATUS status) {
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

}  // namespace

SettingRead RegistrySettingsBackend::Read(const std::u16string& section,
                                          const std::u16string& key) {
    UniqueHkey hkey;
    LSTATUS status = ::RegOpenKeyExW(HKEY_CURRENT_USER, SectionKeyPath(section).c_str(), 0,
                                     KEY_QUERY_VALUE, hkey.put());
    if (status != ERROR_SUCCESS) {
        return {IsAbsence(status) ? SettingRead::Status::Absent : SettingRead::Status::Failed, {}};
    }
    std::wstring name = ToWide(key);
    std::vector<std::uint8_t> data;
    DWORD type = 0;
    // The value may grow between learning its size and reading it: read again until it fits, but
    // not forever against a program that keeps rewriting it.
    for (int attempt = 0;; ++attempt) {
        if (attempt == 16)
            return {SettingRead::Status::Failed, {}};
        DWORD size = static_cast<DWORD>(data.size());
        status = ::RegQueryValueExW(hkey.get(), name.c_str(), nullptr, &type,
                                    data.empty() ? nullptr : data.data(), &size);
        if (status == ERROR_MORE_DATA || (status == ERROR_SUCCESS && data.size() < size)) {
            data.resize(size);
            continue;
        }
        if (status != ERROR_SUCCESS) {
            return {IsAbsence(status) ? SettingRead::Status::Absent : SettingRead::Status::Failed,
                    {}};
        }
        data.resize(size);
        break;
    }
    if (auto text = registry::SettingText(type, data)) {
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
    std::wstring datum = ToWide(value);
    auto bytes = static_cast<DWORD>((datum.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(hkey.get(), ToWide(key).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(datum.c_str()), bytes) == ERROR_SUCCESS;
}

void RegistrySettingsBackend::Fail(const std::u16string& message) {
    // Ends at once: no unload steps run, nothing else is written.
    EndWithFailure(message);
}
