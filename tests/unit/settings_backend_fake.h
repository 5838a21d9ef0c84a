// A settings backend that keeps values in memory and can refuse reads or writes, as a registry
// without permissions would.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "system/settings_store.h"

// Thrown where the real backend ends the process.
struct ProcessEnded {
    std::u16string message;
};

class FakeSettingsBackend final : public SettingsBackend {
  public:
    std::map<std::u16string, std::u16string> values;  // by section and key, "Settings\\DeskBroom"
    bool refuseReads = false;
    bool refuseWrites = false;
    int writes = 0;
    // "Key=value" per write, and whatever else a test appends, in order.
    std::vector<std::u16string> log;

    FakeSettingsBackend() : previous_(UseSettingsBackend(this)) {}
    ~FakeSettingsBackend() override { UseSettingsBackend(previous_); }
    FakeSettingsBackend(const FakeSettingsBackend&) = delete;
    FakeSettingsBackend& operator=(const FakeSettingsBackend&) = delete;

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
        log.push_back(key + u"=" + value);
        return true;
    }
    [[noreturn]] void Fail(const std::u16string& message) override { throw ProcessEnded{message}; }

    // A value in the "Settings" section, as the program's callers use it.
    void Set(const std::u16string& key, const std::u16string& value) {
        values[u"Settings\\" + key] = value;
    }
    const std::u16string* Get(const std::u16string& key) const {
        auto found = values.find(u"Settings\\" + key);
        return found == values.end() ? nullptr : &found->second;
    }

  private:
    SettingsBackend* previous_;
};
