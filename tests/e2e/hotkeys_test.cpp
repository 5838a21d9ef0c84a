// Hotkeys end to end: keys pressed with SendInput reach DeskBroom's registered hotkeys, and the
// Hotkeys dialog is driven with the mouse and keyboard as a user would.
#include "closing_recorder.h"
#include "harness.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {
namespace {

// ---- Keyboard and mouse, as a user presses them ----

// A chord with the three modifiers of the default hotkeys.
void PressCtrlAltShift(WORD key) {
    PressChord({VK_CONTROL, VK_MENU, VK_SHIFT, key});
}

void Click(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// ---- Windows that a close-all run should close, and one that only takes typing ----

// Windows of another program that record the WM_CLOSE they get and stay open.
std::vector<std::wstring> WindowsToClose(int count) {
    std::vector<std::wstring> windows;
    for (int i = 1; i <= count; ++i)
        windows.push_back(L"normal:Hotkeys test window " + std::to_wstring(i));
    return windows;
}

// An edit of this program to type into: a tool window, so that close-all never asks it to close.
HWND TypingTarget() {
    static HWND edit = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"EDIT", L"", WS_POPUP | WS_VISIBLE, 300,
                                         500, 300, 30, nullptr, nullptr, nullptr, nullptr);
    return edit;
}

// ---- Clipboard ----

const std::wstring kDirtyText = L"x\vy\x1Bz";
const std::wstring kCleanText = L"xyz";

bool ClipboardIs(const std::wstring& text) {
    return ClipboardText() == text;
}

// Time in which a press that should do nothing would have done something.
constexpr int kSettleMs = 1500;

// ---- Hotkeys ----

using Settings = std::vector<std::pair<std::wstring, std::wstring>>;

class HotkeysTest : public DeskBroomTest {
  protected:
    // Stores the settings, then starts DeskBroom (which loads them at start-up).
    void StartWith(const Settings& settings) {
        for (const auto& [name, value] : settings)
            WriteSetting(name, value);
        app_.emplace();
        ASSERT_NE(app_->MainWindow(), nullptr);
    }
    std::optional<DeskBroom> app_;
};

TEST_F(HotkeysTest, TheStoredSwitchesDecideWhetherAHotkeyCleansTheClipboardAndPastesIt) {
    const Settings pasting = {{L"HotkeysActivated", L"1"}, {L"CcPaste", L"1"}};
    struct Case {
        const char* what;
        Settings settings;
        int heldMs;  // how long the modifiers stay down after the key; -1: a tray click instead
        bool cleans, pastes;
    };
    const Case cases[] = {
        {"absent", {{L"CcPaste", L"1"}}, 0, false, false},
        {"\"0\"", {{L"HotkeysActivated", L"0"}}, 0, false, false},
        {"\"1\"", {{L"HotkeysActivated", L"1"}}, 0, true, false},
        {"pasting once the modifiers are let go", pasting, 300, true, true},
        {"modifiers held longer than a second", pasting, 1800, true, false},
        {"tray click", {pasting[0], pasting[1], {L"DeskBroom", L"0"}}, -1, true, false},
    };
    const HWND edit = TypingTarget();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        app_.reset();
        DeleteKeyTree(kAppKey);
        StartWith(c.settings);
        ::SetWindowTextW(edit, L"");
        ::SetForegroundWindow(edit);
        PutClipboardText(kDirtyText);
        for (WORD key : {VK_CONTROL, VK_MENU, VK_SHIFT})
            KeyDown(key);
        // A posted click leaves the focus on the edit, where a wrong paste would show.
        c.heldMs < 0 ? (void)::PostMessageW(app_->MainWindow(), WM_MOUSEMOVE, 1, WM_LBUTTONUP)
                     : PressKey(VK_F11);
        EXPECT_EQ(WaitFor([] { return !ClipboardIs(kDirtyText); }, c.cleans ? 10000 : kSettleMs),
                  c.cleans);
        EXPECT_EQ(ClipboardText(), c.cleans ? kCleanText : kDirtyText);
        EXPECT_FALSE(WaitFor([&] { return !WindowText(edit).empty(); }, std::max(c.heldMs, 0)));
        for (WORD key : {VK_SHIFT, VK_MENU, VK_CONTROL})
            KeyUp(key);
        EXPECT_EQ(WaitFor([&] { return !WindowText(edit).empty(); }, kSettleMs), c.pastes);
        EXPECT_FALSE(
            WaitFor([&] { return WindowText(edit) != (c.pastes ? kCleanText : L""); }, 500));
        for (int key : {VK_CONTROL, VK_MENU, VK_SHIFT, int{'V'}, VK_F11})
            EXPECT_FALSE(::GetAsyncKeyState(key) & 0x8000) << key << " held";
    }
}

TEST_F(HotkeysTest, TheStoredSwitchDecidesWhetherAHotkeyClosesTheWindows) {
    struct Case {
        const char* what;
        std::optional<std::wstring> activated;
        int closeRequestsEach;
    };
    for (const Case& c :
         {Case{"absent", std::nullopt, 0}, Case{"\"0\"", L"0", 0}, Case{"\"1\"", L"1", 1}}) {
        SCOPED_TRACE(c.what);
        app_.reset();
        DeleteKeyTree(kAppKey);
        StartWith(c.activated ? Settings{{L"HotkeysActivated", *c.activated}} : Settings{});
        WindowRecorder windows(app_->folder(), WindowsToClose(3));
        ASSERT_TRUE(windows.Ready());
        PressCtrlAltShift(VK_F12);
        if (c.closeRequestsEach > 0) {
            EXPECT_TRUE(WaitFor([&] { return windows.FewestCloseRequests() == 1; }));
        } else {
            EXPECT_FALSE(WaitFor([&] { return windows.CloseRequests() > 0; }, kSettleMs));
        }
    }
}

TEST_F(HotkeysTest, OnlyTheExactModifiersFireAHotkey) {
    // Clean clipboard on Ctrl+F11 alone.
    StartWith({{L"HotkeysActivated", L"1"}, {L"CcAlt", L"0"}, {L"CcShift", L"0"}});
    struct Case {
        const char* what;
        std::initializer_list<WORD> chord;
        bool cleans;
    };
    const Case cases[] = {
        {"extra Alt and Shift", {VK_CONTROL, VK_MENU, VK_SHIFT, VK_F11}, false},
        {"extra Shift", {VK_CONTROL, VK_SHIFT, VK_F11}, false},
        {"right-hand Ctrl and Alt", {VK_RCONTROL, VK_RMENU, VK_F11}, false},
        {"no modifier", {VK_F11}, false},
        {"Alt instead of Ctrl", {VK_MENU, VK_F11}, false},
        {"Ctrl and another function key", {VK_CONTROL, VK_F10}, false},
        {"left-hand Ctrl", {VK_LCONTROL, VK_F11}, true},
        {"right-hand Ctrl", {VK_RCONTROL, VK_F11}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PutClipboardText(kDirtyText);
        PressChord(c.chord);
        if (c.cleans) {
            EXPECT_TRUE(WaitFor([] { return ClipboardIs(kCleanText); }));
        } else {
            EXPECT_FALSE(WaitFor([] { return !ClipboardIs(kDirtyText); }, kSettleMs));
        }
    }
}

TEST_F(HotkeysTest, HoldingTheKeyDownRunsTheActionOnce) {
    StartWith({{L"HotkeysActivated", L"1"}});
    struct Case {
        const char* what;
        int repeats;
        DWORD gapMs;
    };
    // Auto-repeat sends further key-downs, about 30 a second, for as long as the key is held.
    for (const Case& c : {Case{"five repeats at once", 5, 0}, Case{"held for 1 s", 30, 33}}) {
        SCOPED_TRACE(c.what);
        PutClipboardText(kDirtyText);
        for (WORD key : {VK_CONTROL, VK_MENU, VK_SHIFT, VK_F11})
            KeyDown(key);
        ASSERT_TRUE(WaitFor([] { return ClipboardIs(kCleanText); }));

        // The key is still down: these are its auto-repeats.
        PutClipboardText(kDirtyText);
        for (int repeat = 0; repeat < c.repeats; ++repeat) {
            ::Sleep(c.gapMs);
            KeyDown(VK_F11);
        }
        EXPECT_FALSE(WaitFor([] { return !ClipboardIs(kDirtyText); }, kSettleMs));

        // Released for a moment, as a finger lets go, and pressed again: a new press.
        KeyUp(VK_F11);
        ::Sleep(100);
        KeyDown(VK_F11);
        EXPECT_TRUE(WaitFor([] { return ClipboardIs(kCleanText); }));
        for (WORD key : {VK_F11, VK_SHIFT, VK_MENU, VK_CONTROL})
            KeyUp(key);
        ::Sleep(100);
    }
}

TEST_F(HotkeysTest, AHotkeyAnotherProgramHoldsIsToldOnceAndTheOtherHotkeyWorks) {
    WindowRecorder holder(BuildFolder(), {L"hotkey:Holds Ctrl+Alt+Shift+F12"});
    ASSERT_TRUE(holder.Ready());
    StartWith({{L"HotkeysActivated", L"1"}});
    HWND box = app_->WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              L"The hotkey Ctrl+Alt+Shift+F12 for Desk Broom is already used by another program.\r"
              L"DeskBroom runs on; Set Hotkeys lets you choose another key.");
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitFor([&] { return app_->FindMessageBox() == nullptr; }));
    EXPECT_FALSE(WaitFor([&] { return app_->FindMessageBox() != nullptr; }, kSettleMs));
    ASSERT_TRUE(app_->IsRunning());

    PutClipboardText(kDirtyText);
    PressCtrlAltShift(VK_F11);
    EXPECT_TRUE(WaitFor([] { return ClipboardIs(kCleanText); }));
    PressCtrlAltShift(VK_F12);
    EXPECT_TRUE(WaitFor([&] { return !holder.Messages(WM_HOTKEY).empty(); }));
}

TEST_F(HotkeysTest, ALongCloseAllDoesNotHoldUpOtherProgramsKeyboardInput) {
    StartWith({{L"HotkeysActivated", L"1"}});
    constexpr int kWindows = 20;  // a run of about 6 s: 300 ms per window
    WindowRecorder windows(app_->folder(), WindowsToClose(kWindows));
    ASSERT_TRUE(windows.Ready());
    PressCtrlAltShift(VK_F12);
    ASSERT_TRUE(WaitFor([&] { return windows.CloseRequests() >= 1; }));

    // Typing into another program while the run goes on: each key arrives before the run
    // has moved on by more than a window or two; the keyboard never waits for the run.
    ::SetForegroundWindow(TypingTarget());
    for (std::size_t typed = 1; typed <= 5; ++typed) {
        PressKey('A');
        ASSERT_TRUE(WaitFor([&] { return WindowText(TypingTarget()).size() == typed; }));
    }
    EXPECT_LE(windows.CloseRequests(), 3);
    EXPECT_TRUE(
        WaitFor([&] { return windows.FewestCloseRequests() == 1; }, kWindows * 300 + 10000));
}

TEST_F(HotkeysTest, AHotkeyPressedWhileNotepadIsOpenRunsOnceItClosesAndTheProgramStaysAnswered) {
    StartWith({{L"HotkeysActivated", L"1"}});
    PutClipboardText(kDirtyText);
    app_->PickMenuItem(L'w');
    HWND editor = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (editor = ::FindWindowW(L"Notepad", nullptr)) != nullptr; }));

    // The press waits for Notepad, as the tray does; the thread still answers what other
    // threads send it.
    ::SetForegroundWindow(TypingTarget());
    PressCtrlAltShift(VK_F11);
    DWORD_PTR answer = 0;
    EXPECT_NE(
        ::SendMessageTimeoutW(app_->MainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer),
        0);
    EXPECT_FALSE(WaitFor([] { return !ClipboardIs(kDirtyText); }, kSettleMs));

    ::PostMessageW(editor, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([] { return ClipboardIs(kCleanText); }));
}

// ---- The Hotkeys dialog ----

// The text a control shows; GetWindowText would give another process's combo box's caption.
std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    ::SendMessageW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t type[64] = {};
    ::GetClassNameW(window, type, 64);
    return type;
}

bool Ticked(HWND box) {
    return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

const std::wstring kNoModifierWarning =
    L"You should specify a modifier key (CTRL / Shift / Alt) for the hotkey.\r"
    L"Without modifier the danger that you activate the hotkey unintendedly is high.\r"
    L"Do you want to save this hotkey anyway ?";

// The dialog's controls in tab order, which is the order of its child windows.
struct HotkeysDialog {
    HWND window = nullptr;
    HWND ok, cancel, apply;
    HWND dbrCtrl, dbrShift, dbrAlt, dbrKey;
    HWND ccCtrl, ccShift, ccAlt, ccKey, ccPaste;
    HWND activated;
    HWND lblDeskBroom, lblCleanClipboard, lblCtrl, lblShift, lblAlt;

    explicit HotkeysDialog(HWND dialog) : window(dialog) {
        std::vector<HWND> children;
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            children.push_back(child);
        }
        children.resize(18, nullptr);
        HWND* slots[] = {&ok,      &cancel,   &apply,     &dbrCtrl,      &dbrShift,
                         &dbrAlt,  &dbrKey,   &ccCtrl,    &ccShift,      &ccAlt,
                         &ccKey,   &ccPaste,  &activated, &lblDeskBroom, &lblCleanClipboard,
                         &lblCtrl, &lblShift, &lblAlt};
        for (std::size_t i = 0; i < std::size(slots); ++i)
            *slots[i] = children[i];
    }
    // The client-area rectangle of a control.
    RECT Place(HWND control) const {
        RECT r{};
        ::GetWindowRect(control, &r);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

class HotkeysDialogTest : public HotkeysTest {
  protected:
    // Right click on the tray icon, then the menu's access key S.
    HWND Open() {
        app_->PickMenuItem(L'S');
        HWND dialog = nullptr;
        EXPECT_TRUE(WaitFor([&] {
            auto dialogs = WindowsOf(Pid(), L"#32770", L"Hotkeys");
            return (dialog = dialogs.empty() ? nullptr : dialogs.front()) != nullptr;
        }));
        return dialog;
    }
    HWND MessageBoxShown() { return app_->FindMessageBox(); }
    // Replaces the text of a key's combo box as a user types it; true once the box shows it.
    bool TypeKeyName(HWND combo, const std::wstring& name) {
        Click(::FindWindowExW(combo, nullptr, L"Edit", nullptr));
        PressKey(VK_HOME);
        PressChord({VK_SHIFT, VK_END});
        TypeText(name);
        return WaitFor([&] { return TextOf(combo) == name; });
    }
    bool Closed(HWND dialog) { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }
    DWORD Pid() const { return app_->pid(); }
};

TEST_F(HotkeysDialogTest, OpensWithTheStoredValuesAndTheTablesCaptions) {
    StartWith({{L"DbrCtrl", L"0"},
               {L"CcAlt", L"0"},
               {L"CcShift", L"0"},
               {L"CcHotKeyLetter", L"F5"},
               {L"DbrHotKeyLetter", L"f13 x"},
               {L"HotkeysActivated", L"1"},
               {L"CcPaste", L"1"}});
    HotkeysDialog dialog(Open());
    ASSERT_NE(dialog.window, nullptr);

    EXPECT_EQ(TextOf(dialog.window), L"Hotkeys");
    const std::pair<HWND, std::wstring> captions[] = {
        {dialog.ok, L"OK"},
        {dialog.cancel, L"Cancel"},
        {dialog.apply, L"&Apply"},
        {dialog.activated, L"&Hotkeys activated"},
        {dialog.ccPaste, L"&Paste after cleaning"},
        {dialog.lblDeskBroom, L"Desk Broom"},
        {dialog.lblCleanClipboard, L"Clean Clipboard"},
        {dialog.lblCtrl, L"CTRL"},
        {dialog.lblShift, L"Shift"},
        {dialog.lblAlt, L"ALT"},
        {dialog.dbrKey, L"f13 x"},
        {dialog.ccKey, L"F5"},
    };
    for (const auto& [control, caption] : captions)
        EXPECT_EQ(TextOf(control), caption);
    for (HWND combo : {dialog.dbrKey, dialog.ccKey}) {
        EXPECT_EQ(ClassOf(combo), L"ComboBox");
        ASSERT_EQ(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 12);
        wchar_t last[8] = {};
        ::SendMessageW(combo, CB_GETLBTEXT, 11, reinterpret_cast<LPARAM>(last));
        EXPECT_STREQ(last, L"F12");
    }
    const std::pair<HWND, bool> ticks[] = {
        {dialog.dbrCtrl, false},  {dialog.dbrShift, true}, {dialog.dbrAlt, true},
        {dialog.ccCtrl, true},    {dialog.ccShift, false}, {dialog.ccAlt, false},
        {dialog.activated, true}, {dialog.ccPaste, true},
    };
    for (const auto& [box, ticked] : ticks)
        EXPECT_EQ(Ticked(box), ticked);

    // Focus on OK, the default button.
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog.window, nullptr), &gui);
    EXPECT_EQ(gui.hwndFocus, dialog.ok);
    EXPECT_EQ(::SendMessageW(dialog.window, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));

    // Where the layout drawn in twips puts them (15 twips to a pixel at 96 DPI), give or take
    // the rounding to dialog units: a pixel or two.
    UINT dpi = ::GetDpiForWindow(dialog.window);
    auto px = [dpi](int twips) { return (twips * static_cast<int>(dpi) + 720) / 1440; };
    const int slack = 2 * static_cast<int>(dpi) / 96;
    RECT client{};
    ::GetClientRect(dialog.window, &client);
    EXPECT_NEAR(client.right, px(8175), slack);
    EXPECT_NEAR(client.bottom, px(2160), slack);
    struct Placed {
        HWND control;
        int left, top, width, height;
    };
    for (const Placed& p :
         {Placed{dialog.dbrCtrl, 2160, 360, 255, 255}, Placed{dialog.ccAlt, 3840, 720, 255, 255},
          Placed{dialog.apply, 4440, 1680, 1095, 375}, Placed{dialog.ccKey, 4680, 720, 735, 315},
          Placed{dialog.lblCleanClipboard, 240, 720, 1815, 255},
          Placed{dialog.activated, 2160, 1200, 2055, 255},
          Placed{dialog.ccPaste, 5640, 720, 2295, 255}}) {
        RECT r = dialog.Place(p.control);
        EXPECT_NEAR(r.left, px(p.left), slack) << TextOf(p.control);
        EXPECT_NEAR(r.top, px(p.top), slack) << TextOf(p.control);
        EXPECT_NEAR(r.right - r.left, px(p.width), slack) << TextOf(p.control);
        EXPECT_NEAR(r.bottom - r.top, px(p.height), slack) << TextOf(p.control);
    }
    // Controls that take input stay apart and inside, or a click would land on the wrong one.
    const HWND inputs[] = {dialog.ok,       dialog.cancel, dialog.apply,  dialog.dbrCtrl,
                           dialog.dbrShift, dialog.dbrAlt, dialog.dbrKey, dialog.ccCtrl,
                           dialog.ccShift,  dialog.ccAlt,  dialog.ccKey,  dialog.ccPaste,
                           dialog.activated};
    for (HWND a : inputs) {
        RECT ra = dialog.Place(a), inside{};
        EXPECT_TRUE(::IntersectRect(&inside, &ra, &client) && ::EqualRect(&inside, &ra))
            << TextOf(a);
        for (HWND b : inputs) {
            RECT rb = dialog.Place(b), both{};
            EXPECT_TRUE(a == b || !::IntersectRect(&both, &ra, &rb))
                << TextOf(a) << " overlaps " << TextOf(b);
        }
    }
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return Closed(dialog.window); }));
}

TEST_F(HotkeysDialogTest, EnterRightAfterOpeningSavesTheValuesAsLoaded) {
    StartWith({});
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return Closed(dialog); }));
    const std::pair<std::wstring, std::wstring> stored[] = {
        {L"CcCtrl", L"1"},           {L"CcAlt", L"1"},
        {L"CcShift", L"1"},          {L"DbrCtrl", L"1"},
        {L"DbrAlt", L"1"},           {L"DbrShift", L"1"},
        {L"HotkeysActivated", L"0"}, {L"DbrHotKeyLetter", L"F12"},
        {L"CcHotKeyLetter", L"F11"}, {L"CcPaste", L"0"},
    };
    for (const auto& [name, value] : stored)
        EXPECT_EQ(ReadSetting(name), value) << name;
}

TEST_F(HotkeysDialogTest, ARowWithoutModifierAsksOnceAndNoKeepsTheDialogUnsaved) {
    StartWith({});
    HotkeysDialog dialog(Open());
    ASSERT_NE(dialog.window, nullptr);
    for (HWND box : {dialog.ccCtrl, dialog.ccShift, dialog.ccAlt}) {
        Click(box);
        ASSERT_TRUE(WaitFor([&] { return !Ticked(box); }));
    }
    PressKey(VK_RETURN);  // the default button, OK
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = MessageBoxShown()) != nullptr; }));
    EXPECT_EQ(MessageBoxText(box), kNoModifierWarning);
    EXPECT_NE(::GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(::GetDlgItem(box, IDNO), nullptr);
    // While it asks, the dialog takes no second OK (and so asks no second time), even with the
    // question moved out of the way.
    ::SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(WaitFor([&] {
        RECT r{};
        ::GetWindowRect(box, &r);
        return r.left == 0 && r.top == 0;
    }));
    Click(dialog.ok);
    EXPECT_FALSE(
        WaitFor([&] { return WindowsOf(Pid(), L"#32770", L"DeskBroom").size() > 1; }, kSettleMs));
    ::SetForegroundWindow(box);

    PressKey(VK_RETURN);  // No is the default answer
    ASSERT_TRUE(WaitFor([&] { return MessageBoxShown() == nullptr; }));
    EXPECT_FALSE(WaitFor([&] { return MessageBoxShown() != nullptr; }, kSettleMs)) << "asked twice";
    EXPECT_FALSE(Closed(dialog.window));
    EXPECT_FALSE(Ticked(dialog.ccCtrl)) << "the edits stay for correction";
    EXPECT_EQ(ReadSetting(L"CcCtrl"), std::nullopt);
    EXPECT_EQ(ReadSetting(L"DbrHotKeyLetter"), std::nullopt);

    Click(dialog.ok);
    ASSERT_TRUE(WaitFor([&] { return (box = MessageBoxShown()) != nullptr; }));
    Click(::GetDlgItem(box, IDYES));
    ASSERT_TRUE(WaitFor([&] { return Closed(dialog.window); }));
    EXPECT_EQ(ReadSetting(L"CcCtrl"), L"0");
    EXPECT_EQ(ReadSetting(L"CcAlt"), L"0");
    EXPECT_EQ(ReadSetting(L"CcShift"), L"0");
    EXPECT_EQ(ReadSetting(L"DbrCtrl"), L"1");
    EXPECT_EQ(ReadSetting(L"CcHotKeyLetter"), L"F11");
}

TEST_F(HotkeysDialogTest, ExitWhileTheNoModifierQuestionIsOpenStoresNothing) {
    StartWith({});
    HotkeysDialog dialog(Open());
    ASSERT_NE(dialog.window, nullptr);
    Click(dialog.dbrCtrl);
    Click(dialog.dbrAlt);
    Click(dialog.dbrShift);
    Click(dialog.ok);
    ASSERT_TRUE(WaitFor([&] { return MessageBoxShown() != nullptr; }));
    EXPECT_TRUE(app_->ExitThroughMenu());
    EXPECT_EQ(ReadSetting(L"DbrCtrl"), std::nullopt);
}

TEST_F(HotkeysDialogTest, ApplyWithTheSwitchOffDisarmsAtOnceAndStaysOpen) {
    StartWith({{L"HotkeysActivated", L"1"}});
    HotkeysDialog dialog(Open());
    ASSERT_NE(dialog.window, nullptr);
    // The hotkeys work while the dialog is open.
    PutClipboardText(kDirtyText);
    PressCtrlAltShift(VK_F11);
    ASSERT_TRUE(WaitFor([] { return ClipboardIs(kCleanText); }));

    PressChord({VK_MENU, 'H'});  // "&Hotkeys activated"
    ASSERT_TRUE(WaitFor([&] { return !Ticked(dialog.activated); }));
    Click(dialog.apply);
    ASSERT_TRUE(WaitFor([] { return ReadSetting(L"HotkeysActivated") == L"0"; }));
    EXPECT_FALSE(Closed(dialog.window));

    PutClipboardText(kDirtyText);
    PressCtrlAltShift(VK_F11);
    EXPECT_FALSE(WaitFor([] { return ClipboardIs(kCleanText); }, kSettleMs));

    // Cancel afterwards keeps what Apply stored.
    Click(dialog.cancel);
    ASSERT_TRUE(WaitFor([&] { return Closed(dialog.window); }));
    EXPECT_EQ(ReadSetting(L"HotkeysActivated"), L"0");
}

TEST_F(HotkeysDialogTest, AnAppliedKeyWorksAtTheNextPressAndTheOldOneNoLonger) {
    StartWith({{L"HotkeysActivated", L"1"}});
    HotkeysDialog dialog(Open());
    ASSERT_NE(dialog.window, nullptr);
    ASSERT_TRUE(TypeKeyName(dialog.ccKey, L"F10"));
    Click(dialog.apply);
    ASSERT_TRUE(WaitFor([] { return ReadSetting(L"CcHotKeyLetter") == L"F10"; }));
    for (auto [key, cleans] : {std::pair{VK_F11, false}, std::pair{VK_F10, true}}) {
        SCOPED_TRACE(key);
        PutClipboardText(kDirtyText);
        PressCtrlAltShift(static_cast<WORD>(key));
        EXPECT_EQ(WaitFor([] { return ClipboardIs(kCleanText); }, kSettleMs), cleans);
    }
}

TEST_F(HotkeysDialogTest, ATypedKeyNameIsStoredAndShownAgain) {
    StartWith({});
    HotkeysDialog dialog(Open());
    ASSERT_NE(dialog.window, nullptr);
    ASSERT_TRUE(TypeKeyName(dialog.dbrKey, L"F13"));
    PressChord({VK_MENU, 'P'});  // "&Paste after cleaning"
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return Closed(dialog.window); }));
    EXPECT_EQ(ReadSetting(L"DbrHotKeyLetter"), L"F13");
    EXPECT_EQ(ReadSetting(L"CcPaste"), L"1");

    HotkeysDialog again(Open());
    ASSERT_NE(again.window, nullptr);
    EXPECT_EQ(TextOf(again.dbrKey), L"F13");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return Closed(again.window); }));
}

TEST_F(HotkeysDialogTest, EscAndTheCloseBoxStoreNothing) {
    StartWith({});
    struct Case {
        const char* what;
        std::function<void(HWND)> close;
    };
    const Case cases[] = {
        {"Esc", [this](HWND) { PressKey(VK_ESCAPE); }},
        // What the close box (and Alt+F4) sends.
        {"close box", [](HWND dialog) { ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HotkeysDialog dialog(Open());
        ASSERT_NE(dialog.window, nullptr);
        Click(dialog.dbrCtrl);
        ASSERT_TRUE(WaitFor([&] { return !Ticked(dialog.dbrCtrl); }));
        c.close(dialog.window);
        ASSERT_TRUE(WaitFor([&] { return Closed(dialog.window); }));
        EXPECT_EQ(MessageBoxShown(), nullptr);
        EXPECT_EQ(ReadSetting(L"DbrCtrl"), std::nullopt);

        HotkeysDialog again(Open());
        ASSERT_NE(again.window, nullptr);
        EXPECT_TRUE(Ticked(again.dbrCtrl));
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitFor([&] { return Closed(again.window); }));
    }
}

// Close-all passes over the program's own dialog, and the dialog answers its keys while a run
// goes on inside its loop.
TEST_F(HotkeysDialogTest, CloseAllSparesTheOpenDialogAndItsKeysWorkDuringTheRun) {
    StartWith({{L"HotkeysActivated", L"1"}});
    WindowRecorder windows(app_->folder(), WindowsToClose(20));
    ASSERT_TRUE(windows.Ready());
    HotkeysDialog dialog(Open());
    ASSERT_NE(dialog.window, nullptr);
    PressChord({VK_MENU, 'H'});  // an edit not yet applied
    ASSERT_TRUE(WaitFor([&] { return !Ticked(dialog.activated); }));
    auto focus = [&] {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog.window, nullptr), &gui);
        return gui.hwndFocus;
    };

    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run == 1 ? "tray click" : "hotkey");
        run == 1 ? app_->LeftClickTrayIcon() : PressCtrlAltShift(VK_F12);
        ASSERT_TRUE(WaitFor([&] { return windows.CloseRequests() > 20 * (run - 1); }));
        ::SetForegroundWindow(dialog.window);
        HWND before = focus();
        PressKey(VK_TAB);
        EXPECT_TRUE(WaitFor([&] { return focus() != before; })) << "Tab during the run";
        EXPECT_FALSE(Closed(dialog.window) || Ticked(dialog.activated)) << "the edit is kept";
        if (run == 2) {
            PressKey(VK_ESCAPE);
            EXPECT_TRUE(WaitFor([&] { return Closed(dialog.window); })) << "Esc during the run";
        }
        EXPECT_LT(windows.CloseRequests(), 20 * run) << "the run was over before the keys";
        ASSERT_TRUE(WaitFor([&] { return windows.FewestCloseRequests() == run; }, 20000));
        EXPECT_TRUE(run == 2 || (!Closed(dialog.window) && !Ticked(dialog.activated)));
        ::Sleep(1000);  // the run's last pause
    }
    EXPECT_EQ(ReadSetting(L"HotkeysActivated"), L"1");
}

TEST_F(HotkeysDialogTest, SetHotkeysWhileTheDialogIsOpenBringsItForward) {
    StartWith({});
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    app_->PickMenuItem(L'S');
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == dialog; }));
    EXPECT_EQ(MessageBoxShown(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(dialog));
    SaveScreenshot(L"hotkeys-dialog", dialog);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return Closed(dialog); }));
    EXPECT_TRUE(app_->IsRunning());
}

}  // namespace
}  // namespace e2e
