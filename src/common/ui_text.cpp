// The English texts of menus, the Hotkeys dialog, tooltips and messages.
#include "common/ui_text.h"

#include "common/text.h"

UiTextTable UiText;

namespace {

// Message boxes break lines at a lone carriage return.
constexpr char16_t CR = u'\r';

std::u16string Lines(std::initializer_list<std::u16string_view> lines) {
    std::u16string text;
    for (auto line : lines)
        text.append(line) += CR;
    if (!text.empty())
        text.pop_back();  // no break after the last line
    return text;
}

}  // namespace

std::u16string FormatAppVersion(unsigned major, unsigned minor) {
    return DecimalText(major) + u'.' + DecimalText(minor) + u' ';
}

namespace fktTranslation {

void FillUiText(const std::u16string& appVersion) {
    UiText.MenuDefaultDeskBroom = u"&Function: Desk Broom";
    UiText.MenuDefaultCleanClipboard = u"Function: &Clean Clipboard";
    UiText.MenuSetHotkeys = u"&Set Hotkeys";
    UiText.MenuSetWindowsFilter = u"Set &Windows Filter";
    UiText.MenuHelp = u"&Help";
    UiText.MenuAbout = u"&About";
    UiText.MenuExit = u"&Exit";
    UiText.TipDeskBroom = u"Desk Broom";
    UiText.HotkeysCaption = u"Hotkeys";
    UiText.LabelDeskBroom = u"Desk Broom";
    UiText.LabelCleanClipboard = u"Clean Clipboard";
    UiText.LabelCtrl = u"CTRL";
    UiText.LabelAlt = u"ALT";
    UiText.LabelShift = u"Shift";
    UiText.ButtonOk = u"OK";
    UiText.ButtonCancel = u"Cancel";
    UiText.ButtonApply = u"&Apply";
    UiText.CheckHotkeysActivated = u"&Hotkeys activated";
    UiText.NoModifierWarning =
        Lines({u"You should specify a modifier key (CTRL / Shift / Alt) for the hotkey.",
               u"Without modifier the danger that you activate the hotkey unintendedly is high.",
               u"Do you want to save this hotkey anyway ?"});
    UiText.MenuAutostart = u"Autostart &Program";
    UiText.AboutText = Lines({u"Desk Broom / Clean Clipboard", u"", u"Version " + appVersion, u"",
                              u"Made by the DeskBroom developers", u"Freeware for Windows", u"",
                              u"Closes the windows on your desk with one click",
                              u"and turns the clipboard into plain text."});
    UiText.HelpNotFoundMessage = Lines({u"The program: 'Write.exe' could not be found !",
                                        u"You can open the document manually at the ",
                                        u"location shown at the bottom of this window."});
}

}  // namespace fktTranslation
