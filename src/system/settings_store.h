// The settings store: text values under the program's registry key, and its fatal failure path.
#pragma once

#include <optional>
#include <string>

// The section of the program's settings.
inline constexpr char16_t kSettingsSection[] = u"Settings";

// What a read of one value found.
struct SettingRead {
    enum class Status { Found, Absent, Failed };
    Status status = Status::Absent;
    std::u16string text;  // only for Found
};

// The registry under the store; a stand-in replaces it in tests.
class SettingsBackend {
  public:
    virtual ~SettingsBackend() = default;
    // Absent when the value, the section key or the application key does not exist.
    virtual SettingRead Read(const std::u16string& section, const std::u16string& key) = 0;
    // Creates the keys it needs; false when the value could not be stored.
    virtual bool Write(const std::u16string& section, const std::u16string& key,
                       const std::u16string& value) = 0;
    // Shows the message and ends the program; never returns.
    [[noreturn]] virtual void Fail(const std::u16string& message) = 0;
};

// Installs the backend that the three operations use (the registry, or a test's stand-in);
// returns the one it replaces, null before the first.
SettingsBackend* UseSettingsBackend(SettingsBackend* backend);

namespace fktAllgModule {

std::u16string ReadTextSetting(const std::u16string& section, const std::u16string& key,
                               const std::u16string& defaultText);
bool ReadBoolSetting(const std::u16string& section, const std::u16string& key,
                     const std::u16string& defaultText);
void WriteSetting(const std::u16string& section, const std::u16string& key,
                  const std::u16string& value);

}  // namespace fktAllgModule
