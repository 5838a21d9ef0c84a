// The start-up sequence of the main window, in its binding order.
#include "app/startup.h"

#include "common/text.h"
#include "system/settings_store.h"

std::u16string NormaliseDefaultAction(const std::u16string& stored) {
    // Only letters of a to z take part, so ASCII upper case is the whole conversion here.
    std::u16string upper = AsciiUpper(stored);
    if (upper == u"WAHR" || upper == u"TRUE")
        return u"1";
    return stored;
}

bool IsDeskBroomDefault(const std::u16string& normalised) {
    return normalised == u"1";
}

void RunStartupSequence(StartupHost& host, const std::u16string& appVersion) {
    fktTranslation::FillUiText(appVersion);
    host.SetMenuCaptions(UiText);
    host.FlashAndHide();

    std::u16string stored = fktAllgModule::ReadTextSetting(kSettingsSection, u"DeskBroom", u"1");
    std::u16string value = NormaliseDefaultAction(stored);
    bool deskBroomIsDefault = IsDeskBroomDefault(value);
    fktAllgModule::WriteSetting(kSettingsSection, u"DeskBroom", value);

    host.ShowDefaultAction(deskBroomIsDefault,
                           deskBroomIsDefault ? UiText.TipDeskBroom : UiText.LabelCleanClipboard);
    host.LoadWindowsFilter();
    if (host.CreateHotkeysAndRestoreSettings())
        host.ActivateHotkey();
    host.ShowAutostartState();
    host.HideOwnerWindow();
}
