// The start-up sequence: its binding order, the default action's normalisation, and that a
// failing settings store ends the program before any later step.
#include <gtest/gtest.h>

#include <string_view>
#include <utility>
#include <vector>

#include "app/startup.h"
#include "settings_backend_fake.h"

namespace {

class RecordingHost final : public StartupHost {
  public:
    std::vector<std::string> steps;
    bool hotkeysActivated = false;
    std::u16string tip;
    bool deskBroomChecked = false;
    std::u16string firstMenuCaption;

    void SetMenuCaptions(const UiTextTable& text) override {
        steps.push_back("captions");
        firstMenuCaption = text.MenuDefaultDeskBroom;
    }
    void FlashAndHide() override { steps.push_back("flash"); }
    void ShowDefaultAction(bool deskBroomIsDefault, const std::u16string& tipText) override {
        steps.push_back("tray icon");
        deskBroomChecked = deskBroomIsDefault;
        tip = tipText;
    }
    void LoadWindowsFilter() override { steps.push_back("filter"); }
    bool CreateHotkeysAndRestoreSettings() override {
        steps.push_back("hotkey settings");
        return hotkeysActivated;
    }
    void ActivateHotkey() override { steps.push_back("arm hotkeys"); }
    void ShowAutostartState() override { steps.push_back("autostart"); }
    void HideOwnerWindow() override { steps.push_back("hide owner"); }
};

TEST(Startup, StepsRunInTheirBindingOrder) {
    FakeSettingsBackend registry;
    RecordingHost host;
    RunStartupSequence(host, u"1.1 ");
    EXPECT_EQ(host.steps, (std::vector<std::string>{"captions", "flash", "tray icon", "filter",
                                                    "hotkey settings", "autostart", "hide owner"}));
    EXPECT_EQ(host.firstMenuCaption, u"&Function: Desk Broom") << "the table is filled first";

    RecordingHost armed;
    armed.hotkeysActivated = true;
    RunStartupSequence(armed, u"1.1 ");
    EXPECT_EQ(armed.steps, (std::vector<std::string>{"captions", "flash", "tray icon", "filter",
                                                     "hotkey settings", "arm hotkeys", "autostart",
                                                     "hide owner"}));
}

TEST(Startup, DefaultActionIsNormalisedWrittenBackAndShown) {
    struct Case {
        std::optional<std::u16string> stored;
        std::u16string writtenBack;
        bool deskBroom;
    };
    const Case cases[] = {
        {std::nullopt, u"1", true}, {u"1", u"1", true},          {u"true", u"1", true},
        {u"True", u"1", true},      {u"TRUE", u"1", true},       {u"wahr", u"1", true},
        {u"WaHr", u"1", true},      {u"0", u"0", false},         {u"", u"", false},
        {u"yes", u"yes", false},    {u"2", u"2", false},         {u" 1", u" 1", false},
        {u"1 ", u"1 ", false},      {u"true ", u"true ", false}, {u"-1", u"-1", false},
    };
    for (const Case& c : cases) {
        FakeSettingsBackend registry;
        if (c.stored)
            registry.values[u"Settings\\DeskBroom"] = *c.stored;
        RecordingHost host;
        RunStartupSequence(host, u"1.1 ");
        EXPECT_EQ(registry.values[u"Settings\\DeskBroom"], c.writtenBack);
        EXPECT_EQ(registry.writes, 1) << "written back whether changed or not";
        EXPECT_EQ(host.deskBroomChecked, c.deskBroom);
        EXPECT_EQ(host.tip, c.deskBroom ? u"Desk Broom" : u"Clean Clipboard");
    }
}

TEST(Startup, SettingsFailureEndsTheProgramBeforeTheTrayIcon) {
    const std::pair<bool, std::u16string_view> cases[] = {
        {true, u"Captor could not read the registry key: 'HKEY_CURRENT_USER\\Software\\"},
        {false, u"Captor could not write to the registry key: 'HKEY_CURRENT_USER\\Software\\"},
    };
    for (const auto& [failRead, opening] : cases) {
        FakeSettingsBackend registry;
        registry.refuseReads = failRead;
        registry.refuseWrites = !failRead;
        RecordingHost host;
        try {
            RunStartupSequence(host, u"1.1 ");
            ADD_FAILURE() << "start-up went on";
        } catch (const ProcessEnded& ended) {
            EXPECT_TRUE(ended.message.starts_with(opening)) << failRead;
        }
        EXPECT_EQ(host.steps, (std::vector<std::string>{"captions", "flash"}));
    }
}

}  // namespace
