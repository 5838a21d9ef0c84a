// The program-wide table of user-interface texts: menu and dialog captions, tooltips, messages.
#pragma once

#include <string>

struct UiTextTable {
    std::u16string MenuDefaultDeskBroom;
    std::u16string MenuDefaultCleanClipboard;
    std::u16string MenuSetHotkeys;
    std::u16string MenuSetWindowsFilter;
    std::u16string MenuHelp;
    std::u16string MenuAbout;
    std::u16string MenuExit;
    std::u16string TipDeskBroom;
    std::u16string HotkeysCaption;
    std::u16string LabelDeskBroom;
    std::u16string LabelCleanClipboard;
    std::u16string LabelCtrl;
    std::u16string LabelAlt;
    std::u16string LabelShift;
    std::u16string ButtonOk;
    std::u16string ButtonCancel;
    std::u16string ButtonApply;
    std::u16string CheckHotkeysActivated;
    std::u16string NoModifierWarning;
    std::u16string MenuAutostart;
    std::u16string AboutText;
    std::u16string HelpNotFoundMessage;
};

// Filled once at start-up, read-only afterwards.
extern UiTextTable UiText;

namespace fktTranslation {

// Sets every entry of UiText; appVersion is the main window's AppVersion() ("1.1 ").
void FillUiText(const std::u16string& appVersion);

}  // namespace fktTranslation

// The version as the About box shows it: major, ".", minor and one blank ("1.1 ", "2.10 ").
std::u16string FormatAppVersion(unsigned major, unsigned minor);
