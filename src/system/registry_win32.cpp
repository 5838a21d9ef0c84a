// The registry layer: one value of a key below a root key, read or written, every opened key
// closed again before the operation returns.
#include "system/registry_win32.h"

#include "win32/unique_handle.h"
#include "win32/wide_text.h"

namespace fktAllgModule {

std::u16string GetUserRegistryText(const std::u16string& keyPath, const std::u16string& valueName,
                                   const std::u16string& defaultText) {
    std::u16string text = registry::ValueText(ReadKeyValue(HKEY_CURRENT_USER, keyPath, valueName));
    return text.empty() ? defaultText : text;
}

void SetUserRegistryText(const std::u16string& keyPath, const std::u16string& valueName,
                         const std::u16string& text) {
    WriteKeyValue(HKEY_CURRENT_USER, keyPath, valueName, text, REG_SZ);
}

void DeleteUserRegistryValue(const std::u16string& keyPath, const std::u16string& valueName) {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, ToWide(keyPath).c_str(), ToWide(valueName).c_str());
}

void CreateRegistryKey(const std::u16string& keyPath, HKEY root) {
    UniqueHkey key;
    ::RegCreateKeyExW(root, ToWide(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY |
                          KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY | KEY_CREATE_LINK,
                      nullptr, key.put(), nullptr);
}

void WriteKeyValue(HKEY root, const std::u16string& keyPath, const std::u16string& valueName,
                   const std::u16string& value, DWORD valueType) {
    UniqueHkey key;
    if (::RegOpenKeyExW(root, ToWide(keyPath).c_str(), 0, KEY_SET_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return;
    }
    WriteRegistryValue(key.get(), valueName, valueType, value);
}

LSTATUS WriteRegistryValue(HKEY key, const std::u16string& valueName, DWORD valueType,
                           const std::u16string& value) {
    // Texts are all the program writes; any other type would need a datum of its own.
    if (valueType != REG_SZ)
        return ERROR_INVALID_PARAMETER;
    std::wstring datum = ToWide(value);
    // The datum carries its terminating NUL: the empty text is one NUL character.
    auto bytes = static_cast<DWORD>((datum.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key, ToWide(valueName).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(datum.c_str()), bytes);
}

registry::Value ReadKeyValue(HKEY root, const std::u16string& keyPath,
                             const std::u16string& valueName) {
    UniqueHkey key;
    if (::RegOpenKeyExW(root, ToWide(keyPath).c_str(), 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return {};
    }
    return QueryRegistryValue(key.get(), valueName).value;
}

namespace {

// One call of the registry's query function, as the two-step query wants it.
auto QueryFunction(HKEY key, const std::wstring& name) {
    return [key, &name](std::uint32_t& type, std::uint8_t* data, std::uint32_t& size) {
        DWORD dwType = 0;
        DWORD dwSize = size;
        LSTATUS status = ::RegQueryValueExW(key, name.c_str(), nullptr, &dwType, data, &dwSize);
        type = dwType;
        size = dwSize;
        return static_cast<long>(status);
    };
}

}  // namespace

registry::QueryResult QueryRegistryValue(HKEY key, const std::u16string& valueName) {
    std::wstring name = ToWide(valueName);
    return registry::QueryValue(QueryFunction(key, name));
}

registry::QueryData QueryRegistryData(HKEY key, const std::u16string& valueName) {
    std::wstring name = ToWide(valueName);
    return registry::ReadValueData(QueryFunction(key, name), [](std::uint32_t) { return true; });
}

}  // namespace fktAllgModule
