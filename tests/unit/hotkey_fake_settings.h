// An in-memory settings store for the hotkey tests, logging each write in order.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "system/settings_store.h"

class FakeSettings final : public SettingsBackend {
  public:
    FakeSettings() { UseSettingsBackend(*this); }

    SettingRead Read(const std::u16string& section, const std::u16string& key) override {
        auto found = values.find(section + u"\\" + key);
        if (found == values.end())
            return {SettingRead::Status::Absent, {}};
        return {SettingRead::Status::Found, found->second};
    }
    bool Write(const std::u16string& section, const std::u16string& key,
               const std::u16string& value) override {
        values[section + u"\\" + key] = value;
        log.push_back(key + u"=" + value);
        return true;
    }
    [[noreturn]] void Fail(const std::u16string&) override {
        throw std::runtime_error("settings store failed");
    }

    void Set(const std::u16string& key, const std::u16string& value) {
        values[u"Settings\\" + key] = value;
    }
    const std::u16string* Get(const std::u16string& key) const {
        auto found = values.find(u"Settings\\" + key);
        return found == values.end() ? nullptr : &found->second;
    }

    std::map<std::u16string, std::u16string> values;
    // "Key=value" per write, and whatever else a test appends, in order.
    std::vector<std::u16string> log;
};
