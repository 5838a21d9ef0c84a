// The settings store's registry backend and its fatal failure path.
#pragma once

#include "system/settings_store.h"

class RegistrySettingsBackend final : public SettingsBackend {
  public:
    SettingRead Read(const std::u16string& section, const std::u16string& key) override;
    bool Write(const std::u16string& section, const std::u16string& key,
               const std::u16string& value) override;
    [[noreturn]] void Fail(const std::u16string& message) override;
};
