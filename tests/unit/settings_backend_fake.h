// A settings backend that keeps values in memory and can refuse reads or writes, as a registry
// without permissions would.
#pragma once

#include <map>
#include <string>

#include "system/settings_store.h"

// Thrown where the real backend ends the process.
struct ProcessEnded {
    std::u16string message;
};

class FakeSettingsBackend final : public SettingsBackend {
  public:
    std::map<std::u16string, std::u16string> values;  // by key; every caller uses "Settings"
    bool refuseReads = false;
    bool refuseWrites = false;
    int writes = 0;

    FakeSettingsBackend() { UseSettingsBackend(*this); }

    SettingRead Read(const std::u16string& section, const std::u16string& key) override {
        if (refuseReads)
            return {SettingRead::Status::Failed, {}};
        auto it = values.find(section + u"\\" + key);
        if (it == values.end())
            return {SettingRead::Status::Absent, {}};
        return {SettingRead::Status::Found, it->second};
    }
    bool Write(const std::u16string& section, const std::u16string& key,
               const std::u16string& value) override {
        if (refuseWrites)
            return false;
        ++writes;
        values[section + u"\\" + key] = value;
        return true;
    }
    [[noreturn]] void Fail(const std::u16string& message) override { throw ProcessEnded{message}; }
};
