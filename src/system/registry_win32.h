// The registry layer: one value of a key below a root key, read or written, every opened key
// closed again before the operation returns.
#pragma once

#include <windows.h>

#include <string>

#include "system/registry_value.h"

namespace fktAllgModule {

// The value as text under HKEY_CURRENT_USER (a number as its decimal text); the default when
// the key or value is missing, unreadable, of another type or empty.
std::u16string GetUserRegistryText(const std::u16string& keyPath, const std::u16string& valueName,
                                   const std::u16string& defaultText);

// Stores the text as REG_SZ under HKEY_CURRENT_USER; a key that does not exist is not created,
// and nothing is written then.
void SetUserRegistryText(const std::u16string& keyPath, const std::u16string& valueName,
                         const std::u16string& text);

// Deletes the value under HKEY_CURRENT_USER, never the key; nothing when either is missing.
void DeleteUserRegistryValue(const std::u16string& keyPath, const std::u16string& valueName);

// Makes sure the key exists.
void CreateRegistryKey(const std::u16string& keyPath, HKEY root);

void WriteKeyValue(HKEY root, const std::u16string& keyPath, const std::u16string& valueName,
                   const std::u16string& value, DWORD valueType);

// Writes a REG_SZ value into an open key; returns the registry's result code.
LSTATUS WriteRegistryValue(HKEY key, const std::u16string& valueName, DWORD valueType,
                           const std::u16string& value);

registry::Value ReadKeyValue(HKEY root, const std::u16string& keyPath,
                             const std::u16string& valueName);

// Result 0 with the value, the registry's code on failure, -1 for a type the program does not read.
registry::QueryResult QueryRegistryValue(HKEY key, const std::u16string& valueName);

// The value's type and data whatever its type, through the same two-step query; the settings
// store reads this way.
registry::QueryData QueryRegistryData(HKEY key, const std::u16string& valueName);

}  // namespace fktAllgModule
