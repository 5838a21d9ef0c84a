// The settings store's three operations over a backend, with the fatal failure path.
#include "system/settings_store.h"

#include <cassert>
#include <utility>

#include "common/text.h"

namespace {

SettingsBackend* backend = nullptr;

SettingsBackend& Backend() {
    assert(backend != nullptr && "UseSettingsBackend must run before the first setting is read");
    return *backend;
}

constexpr char16_t kAppKeyName[] =
    u"'HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\DeskBroom'";

std::u16string FailureMessage(const std::u16string& english, const std::u16string& german) {
    return english + u"\rPlease check permissions for that key. This can be done in REGEDIT.\r\r" +
           german + u"\rBitte Zugriffsrechte pr\u00fcfen. Dies kann mit REGEDIT erfolgen.";
}

// A decimal number as the platform's text-to-number conversion accepts it: blanks around an
// optional sign, digits with an optional fraction.
std::optional<bool> NumberToBool(std::u16string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && (text.front() == u'+' || text.front() == u'-'))
        text.remove_prefix(1);
    bool anyDigit = false, nonZero = false, point = false;
    for (char16_t c : text) {
        if (c >= u'0' && c <= u'9') {
            anyDigit = true;
            nonZero = nonZero || c != u'0';
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    return nonZero;
}

std::u16string SettingsReadFailureMessage() {
    return FailureMessage(
        std::u16string(u"Captor could not read the registry key: ") + kAppKeyName + u".",
        std::u16string(u"Der Captor kann den Registry Schl\u00fcssel: ") + kAppKeyName +
            u" nicht lesen.");
}

std::u16string SettingsWriteFailureMessage() {
    return FailureMessage(
        std::u16string(u"Captor could not write to the registry key: ") + kAppKeyName + u".",
        std::u16string(u"Der Captor kann auf den Registry Schl\u00fcssel: ") + kAppKeyName +
            u" nicht schreiben.");
}

// The conversion of a stored text to a flag: numbers (0 false, others true), True/False and
// Wahr/Falsch in any case; anything else is false.
bool TextToBool(const std::u16string& text) {
    if (auto number = NumberToBool(text))
        return *number;
    std::u16string word = AsciiUpper(TrimBlanks(text));
    return word == u"TRUE" || word == u"WAHR";
}

}  // namespace

SettingsBackend* UseSettingsBackend(SettingsBackend* replacement) {
    return std::exchange(backend, replacement);
}

namespace fktAllgModule {

std::u16string ReadTextSetting(const std::u16string& section, const std::u16string& key,
                               const std::u16string& defaultText) {
    SettingRead read = Backend().Read(section, key);
    if (read.status == SettingRead::Status::Failed)
        Backend().Fail(SettingsReadFailureMessage());
    return read.status == SettingRead::Status::Found ? read.text : defaultText;
}

bool ReadBoolSetting(const std::u16string& section, const std::u16string& key,
                     const std::u16string& defaultText) {
    return TextToBool(ReadTextSetting(section, key, defaultText));
}

void WriteSetting(const std::u16string& section, const std::u16string& key,
                  const std::u16string& value) {
    if (!Backend().Write(section, key, value))
        Backend().Fail(SettingsWriteFailureMessage());
}

}  // namespace fktAllgModule
