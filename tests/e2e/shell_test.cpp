// The tray application as a user meets it: start-up, the tray icon and menu, the default action,
// About and Exit.
#include "harness.h"

namespace e2e {
namespace {

constexpr int kItemDeskBroom = 0;
constexpr int kItemCleanClipboard = 1;

// The check marks of the two default items, read from the open menu; the menu is closed again.
// With a name, the tray and the open menu are saved as that screenshot.
std::pair<bool, bool> DefaultChecks(const DeskBroom& app, const wchar_t* screenshot = nullptr) {
    app.RightClickTrayIcon();
    HWND menu = app.WaitForMenu();
    EXPECT_NE(menu, nullptr);
    if (!menu)
        return {false, false};
    std::pair<bool, bool> checks{app.MenuItemChecked(menu, kItemDeskBroom),
                                 app.MenuItemChecked(menu, kItemCleanClipboard)};
    if (screenshot) {  // with Wine's tray, at the top left
        RECT shown{};
        ::GetWindowRect(menu, &shown);
        SaveScreenshot(screenshot, {0, 0, shown.right + 8, shown.bottom + 8});
    }
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return app.OpenMenu() == nullptr; }));
    return checks;
}

using ShellTest = DeskBroomTest;

TEST_F(ShellTest, FirstStartStoresCloseAllAsDefaultAndShowsTheIcon) {
    DeskBroom app;
    EXPECT_TRUE(app.TrayIcon());
    EXPECT_EQ(ReadSetting(L"DeskBroom"), L"1");
    EXPECT_EQ(DefaultChecks(app, L"tray-menu"), std::make_pair(true, false));
    EXPECT_FALSE(::IsWindowVisible(app.MainWindow()));
}

TEST_F(ShellTest, StoredDefaultIsNormalisedAndWrittenBack) {
    struct Case {
        const wchar_t* stored;
        const wchar_t* writtenBack;
        bool closeAllIsDefault;
    };
    const Case cases[] = {
        {L"true", L"1", true}, {L"Wahr", L"1", true},   {L"TRUE", L"1", true}, {L"0", L"0", false},
        {L" 1", L" 1", false}, {L"yes", L"yes", false}, {L"", L"", false},     {L"2", L"2", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stored '" << c.stored << "'");
        WriteSetting(L"DeskBroom", c.stored);
        DeskBroom app;
        EXPECT_EQ(ReadSetting(L"DeskBroom"), c.writtenBack);
        EXPECT_EQ(DefaultChecks(app), std::make_pair(c.closeAllIsDefault, !c.closeAllIsDefault));
        EXPECT_TRUE(app.ExitThroughMenu());
    }
}

TEST_F(ShellTest, DefaultItemsSwitchByTheirAccessKeysAndPersist) {
    DeskBroom app;
    app.PickMenuItem(L'c');
    EXPECT_TRUE(WaitFor([] { return ReadSetting(L"DeskBroom") == L"0"; }));
    EXPECT_EQ(DefaultChecks(app), std::make_pair(false, true));
    ASSERT_TRUE(app.TrayIcon()) << "the icon comes back with the new tooltip";

    // Choosing the item that is already checked writes its value again.
    DeleteValue(kSettingsKey, L"DeskBroom");
    app.PickMenuItem(L'c');
    EXPECT_TRUE(WaitFor([] { return ReadSetting(L"DeskBroom") == L"0"; }));

    app.PickMenuItem(L'f');
    EXPECT_TRUE(WaitFor([] { return ReadSetting(L"DeskBroom") == L"1"; }));
    EXPECT_EQ(DefaultChecks(app), std::make_pair(true, false));
    EXPECT_TRUE(app.TrayIcon());
}

TEST_F(ShellTest, OptionsSwitchByTheirAccessKeysStoreAndShowTheirTicks) {
    struct Item {
        wchar_t key;
        const wchar_t* setting;
        int downs;  // Down presses from the first item; the separator is passed over
    };
    const Item items[] = {{L'w', L"DbrSpareFront", 0},
                          {L't', L"CcTrim", 1},
                          {L'j', L"CcJoinLines", 2},
                          {L'e', L"CcEveryCopy", 3}};
    auto ticked = [](const DeskBroom& app, const Item& item) {
        HWND options = app.OpenOptions();
        EXPECT_NE(options, nullptr) << "the Options submenu did not open";
        for (int i = 0; i < item.downs; ++i)
            PressKey(VK_DOWN);
        const bool checked = options && app.MenuItemChecked(options, DeskBroom::kHighlighted);
        PressKey(VK_ESCAPE);
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitFor([&] { return app.OpenMenu() == nullptr; }));
        return checked;
    };
    {
        DeskBroom app;
        for (const Item& item : items) {
            SCOPED_TRACE(testing::Message() << "switched on: " << item.setting);
            app.PickOption(item.key);
            EXPECT_TRUE(WaitFor([&] { return ReadSetting(item.setting) == L"1"; }));
            EXPECT_TRUE(ticked(app, item));
        }
        EXPECT_TRUE(app.ExitThroughMenu());
    }
    // At the next start the ticks come from the stored values; a click switches off.
    DeskBroom app;
    for (const Item& item : items) {
        SCOPED_TRACE(testing::Message() << "after a restart: " << item.setting);
        EXPECT_TRUE(ticked(app, item));
        app.PickOption(item.key);
        EXPECT_TRUE(WaitFor([&] { return ReadSetting(item.setting) == L"0"; }));
        EXPECT_FALSE(ticked(app, item));
    }
}

TEST_F(ShellTest, MenuAnswersTheTablesAccessKeysNotTheDesignCaptions) {
    DeskBroom app;
    // "&Default: Desk Broom" and "Set Hot&keys" were renamed at start-up: D and K pick nothing.
    for (wchar_t key : {L'd', L'k'}) {
        app.RightClickTrayIcon();
        ASSERT_NE(app.WaitForMenu(), nullptr);
        PressKey(static_cast<WORD>(::VkKeyScanW(key) & 0xFF));
        PumpMessages();
        ::Sleep(300);
        EXPECT_NE(app.OpenMenu(), nullptr) << "an item answered to " << char(key);
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitFor([&] { return app.OpenMenu() == nullptr; }));
    }
    app.PickMenuItem(L'a');
    HWND about = app.WaitForMessageBox();
    ASSERT_NE(about, nullptr) << "A opens About";
    PressButton(about, IDOK);
    EXPECT_TRUE(WaitFor([&] { return app.FindMessageBox() == nullptr; }));
    EXPECT_TRUE(app.ExitThroughMenu()) << "E exits";
}

TEST_F(ShellTest, AboutShowsTitleAndVersionFromTheExecutable) {
    DeskBroom app;
    app.PickMenuItem(L'a');
    HWND about = app.WaitForMessageBox();
    ASSERT_NE(about, nullptr);
    std::wstring text = MessageBoxText(about);
    EXPECT_EQ(text.rfind(L"Desk Broom / Clean Clipboard\r\rVersion 1.1 \r\r", 0), 0u) << text;
    EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
    EXPECT_NE(text.back(), L'\r');
    PressButton(about, IDOK);
    EXPECT_TRUE(WaitFor([&] { return app.FindMessageBox() == nullptr; }));
    EXPECT_TRUE(app.IsRunning());
}

TEST_F(ShellTest, ExitRemovesTheIconEndsTheProcessAndWritesNothing) {
    DeskBroom app;
    HWND main = app.MainWindow();
    DeleteKeyTree(kAppKey);
    EXPECT_TRUE(app.ExitThroughMenu());
    EXPECT_TRUE(WaitFor([&] { return !TrayIconOf(main); })) << "the icon is left in the tray";
    EXPECT_FALSE(::IsWindow(main));
    EXPECT_EQ(ReadValue(kSettingsKey, L"DeskBroom"), std::nullopt) << "nothing is written at exit";
}

TEST_F(ShellTest, ClosingTheMainWindowAlsoRemovesTheIcon) {
    DeskBroom app;
    HWND main = app.MainWindow();
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(app.WaitForExit());
    EXPECT_TRUE(WaitFor([&] { return !TrayIconOf(main); }));
}

TEST_F(ShellTest, TwoCopiesHaveTwoIndependentIcons) {
    DeskBroom first;
    StartOptions other;
    other.folderName = L"Second copy";
    DeskBroom second(other);
    auto firstIcon = first.TrayIcon(), secondIcon = second.TrayIcon();
    ASSERT_TRUE(firstIcon && secondIcon);
    EXPECT_FALSE(::EqualRect(&*firstIcon, &*secondIcon));

    second.PickMenuItem(L'c');
    EXPECT_TRUE(WaitFor([] { return ReadSetting(L"DeskBroom") == L"0"; }));
    EXPECT_EQ(DefaultChecks(first), std::make_pair(true, false)) << "the first keeps its state";

    EXPECT_TRUE(second.ExitThroughMenu());
    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(first.TrayIcon());
}

TEST_F(ShellTest, IconComesBackWhenTheTaskbarIsCreatedAgain) {
    DeskBroom app;
    HWND main = app.MainWindow();
    // What a restarted Explorer leaves: no icon, then the broadcast.
    NOTIFYICONDATAW gone{};
    gone.cbSize = NOTIFYICONDATAW_V1_SIZE;
    gone.hWnd = main;
    gone.uID = 1;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &gone));
    ASSERT_TRUE(WaitFor([&] { return !app.TrayIcon(); }));
    ::PostMessageW(main, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(app.WaitForTrayIcon());
    EXPECT_EQ(DefaultChecks(app), std::make_pair(true, false));
}

TEST_F(ShellTest, MinimisedMainWindowStaysHidden) {
    DeskBroom app;
    HWND main = app.MainWindow();
    // Sent: the minimising, and what the program does about it, are over when the call returns.
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0, SMTO_ABORTIFHUNG, 5000,
                                      &ignored));
    EXPECT_FALSE(::IsWindowVisible(main));
    EXPECT_TRUE(app.IsRunning());
}

TEST_F(ShellTest, OnlyTheLeftButtonsReleaseRunsTheDefaultAction) {
    WriteSetting(L"DeskBroom", L"0");
    PutClipboardText(
        L"a\x01"
        L"b");
    DeskBroom app;
    HWND main = app.MainWindow();
    DWORD sequence = ::GetClipboardSequenceNumber();
    // What the tray reports for a move, a press, a double click, the middle button and the
    // selection after a left button-up.
    for (UINT mouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP,
                       WM_RBUTTONDOWN, int{NIN_SELECT}}) {
        ::PostMessageW(main, WM_MOUSEMOVE, 1, mouse);
    }
    ::Sleep(500);
    app.WaitForIdle();
    EXPECT_EQ(::GetClipboardSequenceNumber(), sequence) << "the clipboard was touched";
    EXPECT_EQ(app.OpenMenu(), nullptr);

    ::PostMessageW(main, WM_MOUSEMOVE, 1, WM_LBUTTONUP);
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"ab"; }));
}

// Posted as the shell sends them at the icon's version 4: the event and the icon's id in lParam,
// the anchor point in wParam.
void PostTrayEvent(HWND main, UINT event, POINT anchor = {}) {
    ::PostMessageW(main, WM_MOUSEMOVE, MAKEWPARAM(anchor.x, anchor.y), MAKELPARAM(event, 1));
}

TEST_F(ShellTest, EnterAndTheMenuKeyOnTheIconWorkAndAClickStillDoesOneThing) {
    WriteSetting(L"DeskBroom", L"0");
    DeskBroom app;
    HWND main = app.MainWindow();
    // How often the clipboard changed while a dirty text was cleaned; one cleaning is a baseline.
    auto changes = [](const std::function<void()>& act) {
        PutClipboardText(L"a\u0001b");
        const DWORD before = ::GetClipboardSequenceNumber();
        act();
        EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"ab"; }));
        Linger(1000);
        return ::GetClipboardSequenceNumber() - before;
    };
    const DWORD once = changes([&] { PostTrayEvent(main, NIN_KEYSELECT); });
    EXPECT_EQ(changes([&] { app.LeftClickTrayIcon(); }), once) << "a real left click";

    PostTrayEvent(main, WM_CONTEXTMENU, {300, 200});
    HWND menu = app.WaitForMenu();
    ASSERT_NE(menu, nullptr) << "the context-menu key opened no menu";
    RECT at{};
    ::GetWindowRect(menu, &at);
    EXPECT_EQ(std::make_pair(at.left, at.top), std::make_pair(300L, 200L));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return app.OpenMenu() == nullptr; }));
    // The shell follows a right button-up with a context menu of its own: still one menu.
    app.RightClickTrayIcon();
    ASSERT_NE(app.WaitForMenu(), nullptr);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return app.OpenMenu() == nullptr; }));
    EXPECT_FALSE(WaitFor([&] { return app.OpenMenu() != nullptr; }, 1000)) << "a second menu";

    // One press of Enter that Windows reports twice, the second time after the cleaning: once.
    PutClipboardText(L"a\u0001b");
    const ULONGLONG pressed = ::GetTickCount64();
    PostTrayEvent(main, NIN_KEYSELECT);
    ASSERT_TRUE(WaitFor([] { return ClipboardText() == L"ab"; }));
    PutClipboardText(L"c\u0001d");
    PostTrayEvent(main, NIN_KEYSELECT);
    if (::GetTickCount64() - pressed >= ::GetDoubleClickTime())
        GTEST_SKIP() << "the machine took longer than a double click to get here";
    EXPECT_FALSE(WaitFor([] { return ClipboardText() == L"cd"; }, 1000)) << "cleaned twice";
}

TEST_F(ShellTest, MenuClosesWhenTheUserClicksElsewhere) {
    DeskBroom app;
    app.RightClickTrayIcon();
    HWND menu = app.WaitForMenu();
    ASSERT_NE(menu, nullptr);
    RECT rect{};
    ::GetWindowRect(menu, &rect);
    ClickAt({rect.right + 200, rect.bottom + 200});
    EXPECT_TRUE(WaitFor([&] { return app.OpenMenu() == nullptr; }, 5000));
    // And it opens again at the next right click.
    app.RightClickTrayIcon();
    EXPECT_NE(app.WaitForMenu(), nullptr);
    PressKey(VK_ESCAPE);
}

}  // namespace
}  // namespace e2e
