// The UI text table: exact texts, lone-CR line breaks, and the version line.
#include <gtest/gtest.h>

#include "common/ui_text.h"

namespace {

std::vector<std::u16string> SplitAtCr(const std::u16string& text) {
    std::vector<std::u16string> lines(1);
    for (char16_t c : text) {
        if (c == u'\r') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

TEST(FormatAppVersion, MajorDotMinorAndOneBlank) {
    struct Case {
        unsigned major, minor;
        std::u16string expected;
    };
    for (const Case& c : {Case{1, 1, u"1.1 "}, Case{2, 10, u"2.10 "}, Case{0, 0, u"0.0 "},
                          Case{65535, 7, u"65535.7 "}}) {
        EXPECT_EQ(FormatAppVersion(c.major, c.minor), c.expected) << c.major << "." << c.minor;
    }
}

TEST(FillUiText, SingleLineEntriesHaveTheirExactTexts) {
    fktTranslation::FillUiText(u"1.1 ");
    const std::pair<const std::u16string*, std::u16string> expected[] = {
        {&UiText.MenuDefaultDeskBroom, u"&Function: Desk Broom"},
        {&UiText.MenuDefaultCleanClipboard, u"Function: &Clean Clipboard"},
        {&UiText.MenuSetHotkeys, u"&Set Hotkeys"},
        {&UiText.MenuSetWindowsFilter, u"Set &Windows Filter"},
        {&UiText.MenuHelp, u"&Help"},
        {&UiText.MenuAbout, u"&About"},
        {&UiText.MenuExit, u"&Exit"},
        {&UiText.TipDeskBroom, u"Desk Broom"},
        {&UiText.HotkeysCaption, u"Hotkeys"},
        {&UiText.LabelDeskBroom, u"Desk Broom"},
        {&UiText.LabelCleanClipboard, u"Clean Clipboard"},
        {&UiText.LabelCtrl, u"CTRL"},
        {&UiText.LabelAlt, u"ALT"},
        {&UiText.LabelShift, u"Shift"},
        {&UiText.ButtonOk, u"OK"},
        {&UiText.ButtonCancel, u"Cancel"},
        {&UiText.ButtonApply, u"&Apply"},
        {&UiText.CheckHotkeysActivated, u"&Hotkeys activated"},
        {&UiText.MenuAutostart, u"Autostart &Program"},
    };
    for (const auto& [entry, text] : expected)
        EXPECT_EQ(*entry, text);
}

TEST(FillUiText, MultiLineEntriesBreakAtLoneCarriageReturns) {
    fktTranslation::FillUiText(u"1.1 ");
    EXPECT_EQ(UiText.NoModifierWarning,
              u"You should specify a modifier key (CTRL / Shift / Alt) for the hotkey.\r"
              u"Without modifier the danger that you activate the hotkey unintendedly is high.\r"
              u"Do you want to save this hotkey anyway ?");
    EXPECT_EQ(UiText.HelpNotFoundMessage,
              u"The program: 'Write.exe' could not be found !\r"
              u"You can open the document manually at the \r"
              u"location shown at the bottom of this window.");
    for (const std::u16string* text :
         {&UiText.NoModifierWarning, &UiText.HelpNotFoundMessage, &UiText.AboutText}) {
        EXPECT_EQ(text->find(u'\n'), std::u16string::npos);
        ASSERT_FALSE(text->empty());
        EXPECT_NE(text->back(), u'\r');
    }
}

TEST(FillUiText, AboutTextCarriesTitleVersionLineAndMakersBlock) {
    fktTranslation::FillUiText(u"2.10 ");
    std::vector<std::u16string> lines = SplitAtCr(UiText.AboutText);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], u"Desk Broom / Clean Clipboard");
    EXPECT_EQ(lines[1], u"");
    EXPECT_EQ(lines[2], u"Version 2.10 ");
    EXPECT_EQ(lines[3], u"");
    EXPECT_FALSE(lines[4].empty());
    EXPECT_FALSE(lines.back().empty());
}

}  // namespace
