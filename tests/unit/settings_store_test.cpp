// The settings store: text conversion of flags, defaults for absent values, the fatal messages.
#include <gtest/gtest.h>

#include "settings_backend_fake.h"
#include "system/registry_value.h"
#include "system/settings_store.h"
#include "utf16_bytes.h"

namespace {

// Value types the program never reads, as the registry numbers them.
constexpr std::uint32_t kBinary = 3;       // REG_BINARY
constexpr std::uint32_t kMultiString = 7;  // REG_MULTI_SZ

// A flag's text, here the default of an absent value, read as a flag.
TEST(ReadBoolSetting, NumbersWordsAndEverythingElse) {
    FakeSettingsBackend registry;
    struct Case {
        std::u16string text;
        bool expected;
    };
    const Case cases[] = {
        {u"0", false},
        {u"1", true},
        {u"2", true},
        {u"-1", true},
        {u"0.0", false},
        {u"0.5", true},
        {u" 0 ", false},
        {u"007", true},
        {u"TRUE", true},
        {u"true", true},
        {u"True", true},
        {u"tRuE", true},
        {u"False", false},
        {u"FALSE", false},
        {u"Wahr", true},
        {u"WAHR", true},
        {u"falsch", false},
        {u"abc", false},
        {u"", false},
        {u"yes", false},
        {u"1x", false},
        {u"+", false},
        {u".", false},
        {u"1.2.3", false},
        {u"TRUE1", false},
        {u"\u00a0"
         u"1",
         false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fktAllgModule::ReadBoolSetting(u"Settings", u"Flag", c.text), c.expected)
            << std::string(c.text.begin(), c.text.end());
    }
}

TEST(SettingsStore, AbsentValuesYieldTheDefaultAndCreateNothing) {
    FakeSettingsBackend registry;
    EXPECT_EQ(fktAllgModule::ReadTextSetting(u"Settings", u"DbrHotKeyLetter", u"F12"), u"F12");
    EXPECT_TRUE(fktAllgModule::ReadBoolSetting(u"Settings", u"DbrCtrl", u"True"));
    EXPECT_FALSE(fktAllgModule::ReadBoolSetting(u"Settings", u"HotkeysActivated", u""));
    EXPECT_EQ(registry.writes, 0);
}

TEST(SettingsStore, StoredTextWinsOverTheDefaultAndWritesReplace) {
    FakeSettingsBackend registry;
    fktAllgModule::WriteSetting(u"Settings", u"CcHotKeyLetter", u"F5");
    fktAllgModule::WriteSetting(u"Settings", u"CcHotKeyLetter", u"F13");
    EXPECT_EQ(fktAllgModule::ReadTextSetting(u"Settings", u"CcHotKeyLetter", u"F11"), u"F13");
    fktAllgModule::WriteSetting(u"Settings", u"CcCtrl", u"0");
    EXPECT_FALSE(fktAllgModule::ReadBoolSetting(u"Settings", u"CcCtrl", u"True"));
    // An empty stored text is a text, not an absent value.
    fktAllgModule::WriteSetting(u"Settings", u"DeskBroom", u"");
    EXPECT_EQ(fktAllgModule::ReadTextSetting(u"Settings", u"DeskBroom", u"1"), u"");
}

TEST(SettingsStore, FailedReadEndsWithTheTwoLanguageReadMessage) {
    FakeSettingsBackend registry;
    registry.refuseReads = true;
    const std::u16string expected =
        u"Captor could not read the registry key: 'HKEY_CURRENT_USER\\Software\\VB and VBA "
        u"Program Settings\\DeskBroom'.\r"
        u"Please check permissions for that key. This can be done in REGEDIT.\r\r"
        u"Der Captor kann den Registry Schlüssel: 'HKEY_CURRENT_USER\\Software\\VB and VBA "
        u"Program Settings\\DeskBroom' nicht lesen.\r"
        u"Bitte Zugriffsrechte prüfen. Dies kann mit REGEDIT erfolgen.";
    for (int operation = 0; operation < 2; ++operation) {
        try {
            if (operation == 0) {
                fktAllgModule::ReadTextSetting(u"Settings", u"DeskBroom", u"1");
            } else {
                fktAllgModule::ReadBoolSetting(u"Settings", u"DbrAlt", u"True");
            }
            ADD_FAILURE() << "the read returned";
        } catch (const ProcessEnded& ended) {
            EXPECT_EQ(ended.message, expected);
        }
    }
}

TEST(SettingsStore, FailedWriteEndsWithTheTwoLanguageWriteMessage) {
    FakeSettingsBackend registry;
    registry.values.emplace(u"Settings\\DeskBroom", u"1");
    registry.refuseWrites = true;
    try {
        fktAllgModule::WriteSetting(u"Settings", u"DeskBroom", u"0");
        ADD_FAILURE() << "the write returned";
    } catch (const ProcessEnded& ended) {
        EXPECT_EQ(ended.message,
                  u"Captor could not write to the registry key: 'HKEY_CURRENT_USER\\Software\\VB "
                  u"and VBA Program Settings\\DeskBroom'.\r"
                  u"Please check permissions for that key. This can be done in REGEDIT.\r\r"
                  u"Der Captor kann auf den Registry Schlüssel: 'HKEY_CURRENT_USER\\Software\\VB "
                  u"and VBA Program Settings\\DeskBroom' nicht schreiben.\r"
                  u"Bitte Zugriffsrechte prüfen. Dies kann mit REGEDIT erfolgen.");
    }
    EXPECT_EQ(registry.values[u"Settings\\DeskBroom"], u"1");
}

TEST(RegistryValue, SettingTextOfEachValueType) {
    struct Case {
        const char* name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        std::optional<std::u16string> expected;
    };
    const Case cases[] = {
        {"string with NUL", registry::kString, Utf16Bytes(u"F12", true), u"F12"},
        {"string without NUL", registry::kString, Utf16Bytes(u"F12", false), u"F12"},
        {"string cut at first NUL", registry::kString, Utf16Bytes(u"1\0junk", true), u"1"},
        {"empty string", registry::kString, {}, u""},
        {"odd last byte", registry::kString, {'1', 0, '2'}, u"1"},
        {"non-ASCII", registry::kString, Utf16Bytes(u"Schl\u00fcssel \u4e2d", true),
         u"Schl\u00fcssel \u4e2d"},
        {"expandable string", registry::kExpandString, Utf16Bytes(u"%X%", true), u"%X%"},
        {"dword", registry::kDword, {1, 0, 0, 0}, u"1"},
        {"negative dword", registry::kDword, {0xFE, 0xFF, 0xFF, 0xFF}, u"-2"},
        {"qword", registry::kQword, {0, 0, 0, 0, 1, 0, 0, 0}, u"4294967296"},
        {"short dword", registry::kDword, {1, 0}, std::nullopt},
        {"binary", kBinary, {1, 0, 0, 0}, std::nullopt},
        {"multi-string", kMultiString, Utf16Bytes(u"a", true), std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(registry::SettingText(c.type, c.data), c.expected) << c.name;
    }
}

}  // namespace
