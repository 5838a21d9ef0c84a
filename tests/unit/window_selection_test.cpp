// The selection rules of a close-all run over a window's facts, and the list's capacity.
#include <gtest/gtest.h>

#include <string>

#include "closing/window_selection.h"

namespace {

struct Case {
    const char* name;
    bool visible, hasParent, toolWindow;
    std::u16string title;
    bool selected;
    bool cloaked = false, shellDesktop = false;
    std::u16string program = u"C:\\Apps\\calc.exe";
};

TEST(IsWindowSelected, RulesInOrder) {
    const std::u16string long127(127, u'A');
    const std::u16string deep = std::u16string(1100, u'd') + u"\\Deep.exe";
    const FilterList filters({u"Wine System Tray", u"*- Notes", u"  Two", long127 + u"B",
                              std::u16string(126, u'C') + u"?", u"[unclosed",
                              std::u16string(126, u'E'), u"program:player*.EXE",
                              u"PROGRAM:  *\\tools\\*  ", u"*Web Browser", u"Zero\u200Bwidth",
                              u"program:D:\\" + deep});
    const Case cases[] = {
        {"plain application window", true, false, false, u"Calculator", true},
        {"hidden", false, false, false, u"Calculator", false},
        {"has parent or owner", true, true, false, u"Calculator", false},
        {"tool window", true, false, true, u"Calculator", false},
        {"hidden tool window with owner", false, true, true, u"Calculator", false},
        {"untitled", true, false, false, u"", false},
        {"the main window", true, false, false, u"Desk Broom", false},
        {"begins with Desk Broom", true, false, false, u"Desk Broom - Settings", false},
        {"program name as one word", true, false, false, u"deskbroom", false},
        {"program name as a prefix", true, false, false, u"DeskBroomX", false},
        {"main form name", true, false, false, u"frmDeskBroom", false},
        {"the shell's desktop", true, false, false, u"Program Manager", false},
        {"the shell's desktop in lower case", true, false, false, u"program manager", false},
        {"begins with Program Manager", true, false, false, u"Program Managers' Guide", false},
        {"Desk Broom after other text", true, false, false, u"My Desk Broom", true},
        {"Desk Broom with two spaces", true, false, false, u"Desk  Broom", true},
        {"short of Desk Broom", true, false, false, u"Desk Bro", true},
        {"filtered, any case", true, false, false, u"WINE system TRAY", false},
        {"filtered by a star", true, false, false, u"Shopping - Notes", false},
        {"filter needs the whole title", true, false, false, u"Wine System Tray 2", true},
        {"filter keeps leading spaces", true, false, false, u"  Two", false},
        {"one leading space is not two", true, false, false, u" Two", true},
        // Only 127 units of a title take part: a filter that spells out a longer title fails.
        {"title cut before a 128-unit filter", true, false, false, long127 + u"B", true},
        {"filter of the cut title", true, false, false, std::u16string(127, u'C') + u"D", false},
        {"cut before a pair at the limit", true, false, false,
         std::u16string(126, u'E') + u"\U0001F600", false},
        {"malformed filter spares nothing", true, false, false, u"[unclosed", true},
        {"cloaked: on another virtual desktop", true, false, false, u"Calculator", false, true},
        {"the shell's desktop by its identity", true, false, false, u"Desktop", false, false, true},
        // Program lines: the file name, or the whole path when the pattern has a backslash.
        {"spared by its program's name", true, false, false, u"Song", false, false, false,
         u"D:\\Music\\Player.exe"},
        {"a folder's name is not the program's", true, false, false, u"Song", true, false, false,
         u"D:\\Player.exe\\run.exe"},
        {"spared by its program's folder", true, false, false, u"Any", false, false, false,
         u"C:\\TOOLS\\x\\y.exe"},
        {"program unknown: title lines only", true, false, false, u"Song", true, false, false, u""},
        {"a path past 1,024 characters", true, false, false, u"Song", false, false, false,
         u"D:\\" + deep},
        {"a title like the program line", true, false, false, u"player.exe", true},
        {"no program line for the title", true, false, false, u"program:player*.EXE", true},
        // Format characters that show nothing count neither in titles nor in patterns.
        {"zero-width space in the title", true, false, false, u"Web\u200B Browser", false},
        {"direction marks in the title", true, false, false, u"\u202AWeb Browser\u202C\uFEFF",
         false},
        {"zero-width space in the pattern", true, false, false, u"Zerowidth", false},
        {"soft hyphen and Arabic letter mark", true, false, false, u"Web\u00AD Bro\u061Cwser",
         false},
    };
    for (const Case& c : cases) {
        const WindowFacts facts{c.visible, c.hasParent,    c.toolWindow, c.title,
                                c.cloaked, c.shellDesktop, c.program};
        EXPECT_EQ(IsWindowSelected(facts, filters), c.selected) << c.name;
    }
}

TEST(IsWindowSelected, EmptyFilterListLeavesOnlyTheFixedNames) {
    const FilterList none;
    EXPECT_TRUE(IsWindowSelected({true, false, false, u"Wine System Tray"}, none));
    EXPECT_FALSE(IsWindowSelected({true, false, false, u"DESK BROOM"}, none));
}

TEST(WindowList, KeepsTheFirstThousandInOrder) {
    WindowList list;
    for (std::uintptr_t handle = 1; handle <= kMaxListedWindows + 5; ++handle) {
        EXPECT_EQ(list.Add({handle, 7, 9}), handle <= kMaxListedWindows) << handle;
    }
    ASSERT_EQ(list.Count(), kMaxListedWindows);
    EXPECT_EQ(list[0].handle, 1u);
    EXPECT_EQ(list[kMaxListedWindows - 1].handle, kMaxListedWindows);
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_TRUE(list.Add({42, 1, 1}));
    EXPECT_EQ(list[0].handle, 42u);
}

}  // namespace
