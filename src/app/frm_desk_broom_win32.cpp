// The hidden main window: start-up, tray icon and menu, the default action and the program's exit.
#include "app/frm_desk_broom_win32.h"

#include <cstring>
#include <iterator>

#include "app/resources/resource.h"
#include "common/reentry_guard.h"
#include "common/ui_text.h"
#include "system/autostart.h"
#include "system/help.h"
#include "system/settings_store.h"
#include "win32/failure.h"
#include "win32/ui_win32.h"
#include "win32/wide_text.h"
#include "win32/window_binding.h"

namespace {

constexpr wchar_t kMainClass[] = L"DeskBroomMainWindow";
constexpr wchar_t kOwnerClass[] = L"DeskBroomOwnerWindow";
constexpr UINT kTrayIconId = 1;

// The tray reports its mouse events as mouse-move messages; the low word of lParam names the
// mouse message that happened over the icon, or the keyboard's NIN_KEYSELECT and WM_CONTEXTMENU
// at the icon's version 4.
constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;

// The Options submenu: its items, the setting each one stores ("1"/"0", "0" when absent) and
// the switch it sets. A null caption is the separator.
struct OptionItem {
    UINT id;
    const wchar_t* caption;
    const char16_t* setting;
};

constexpr OptionItem kOptionItems[] = {
    {IDM_OPTION_SPARE_FRONT, L"Spare the &Window in Front", u"DbrSpareFront"},
    {0, nullptr, nullptr},
    {IDM_OPTION_TRIM, L"&Trim Spaces at Both Ends", u"CcTrim"},
    {IDM_OPTION_JOIN_LINES, L"&Join Lines", u"CcJoinLines"},
    {IDM_OPTION_EVERY_COPY, L"Clean &Every Copy", u"CcEveryCopy"},
};

}  // namespace

struct frmDeskBroom::MenuItem {
    UINT id;
    const wchar_t* designCaption;               // as the menu is built
    std::u16string UiTextTable::*tableCaption;  // as start-up renames it
    void (frmDeskBroom::*click)();
};

const frmDeskBroom::MenuItem frmDeskBroom::kMenuItems[] = {
    {IDM_DEFAULT_DESKBROOM, L"&Default: Desk Broom", &UiTextTable::MenuDefaultDeskBroom,
     &frmDeskBroom::mPopDefaultDeskBroom_Click},
    {IDM_DEFAULT_CLEAN_CLIPBOARD, L"Default: &Clean Clipboard",
     &UiTextTable::MenuDefaultCleanClipboard, &frmDeskBroom::mPopDefaultCleanClipboard_Click},
    {IDM_SET_HOTKEYS, L"Set Hot&keys", &UiTextTable::MenuSetHotkeys,
     &frmDeskBroom::mPopSetHotkeys_Click},
    {IDM_SET_WINDOWS_FILTER, L"&Set Windows Filter", &UiTextTable::MenuSetWindowsFilter,
     &frmDeskBroom::mSetWindowsFilter_Click},
    {IDM_AUTOSTART, L"Autostart &Program", &UiTextTable::MenuAutostart,
     &frmDeskBroom::mpopAutostart_Click},
    {IDM_HELP, L"&Help", &UiTextTable::MenuHelp, &frmDeskBroom::mPopHelp_Click},
    {IDM_ABOUT, L"&About", &UiTextTable::MenuAbout, &frmDeskBroom::mPopAbout_Click},
    {IDM_EXIT, L"&Exit", &UiTextTable::MenuExit, &frmDeskBroom::mPopExit_Click},
};

frmDeskBroom::frmDeskBroom(HINSTANCE instance)
    : instance_(instance),
      trayIcon_(kTrayIconId, kTrayCallbackMessage, kTrayAddTimer),
      hotkeysForm_(IDI_HOTKEYS) {}

void frmDeskBroom::Create() {
    HINSTANCE instance = instance_;
    // No dead icon may stay in the tray after a failure has ended the process.
    SetFailureCleanup([this] { Form_Unload(); });
    icon_.reset(LoadIconResource(IDI_DESKBROOM, ::GetSystemMetrics(SM_CXICON)));
    smallIcon_.reset(LoadIconResource(IDI_DESKBROOM, ::GetSystemMetrics(SM_CXSMICON)));

    WNDCLASSEXW owner{};
    owner.cbSize = sizeof owner;
    owner.lpfnWndProc = ::DefWindowProcW;
    owner.hInstance = instance;
    owner.lpszClassName = kOwnerClass;
    ::RegisterClassExW(&owner);

    WNDCLASSEXW main{};
    main.cbSize = sizeof main;
    main.lpfnWndProc = &BoundWindowProc<frmDeskBroom>;
    main.hInstance = instance;
    main.hIcon = icon_.get();
    main.hIconSm = smallIcon_.get();
    main.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    main.lpszClassName = kMainClass;
    ::RegisterClassExW(&main);

    // The main window is owned by a hidden window of its own, as owned windows get no task-bar
    // button; start-up hides that owner at its end.
    owner_.reset(::CreateWindowExW(0, kOwnerClass, L"DeskBroom", WS_POPUP, 0, 0, 0, 0, nullptr,
                                   nullptr, instance, nullptr));
    if (!owner_)
        EndWithFailure(DescribeLastError());
    // WM_CREATE runs the start-up sequence.
    HWND hwnd = ::CreateWindowExW(
        0, kMainClass, L"Desk Broom", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        CW_USEDEFAULT, CW_USEDEFAULT, 320, 140, owner_.get(), nullptr, instance, this);
    if (!hwnd)
        EndWithFailure(DescribeLastError());
}

LRESULT frmDeskBroom::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (trayIcon_.OnMessage(message, wParam, lParam))
        return 0;
    switch (message) {
        case WM_CREATE:
            Form_Load();
            return 0;
        case WM_SIZE:
            Form_Resize(wParam);
            return 0;
        case WM_PAINT:
            Form_Paint();
            return 0;
        case kTrayCallbackMessage:
            // Once the program has begun to end, nothing starts behind its last message boxes.
            if (ProgramIsEnding())
                return 0;
            // The shell may send its notifications rather than post them, and the Notepad wait
            // answers sent messages: a click then waits until the edited list is loaded.
            if (editingFilter_) {
                if (IsTrayCommandEvent(LOWORD(lParam)))
                    deferredTrayEvents_.emplace_back(wParam, lParam);
                return 0;
            }
            Form_MouseMove(wParam, lParam);
            return 0;
        case WM_COMMAND:
            if (!ProgramIsEnding())
                OnCommand(LOWORD(wParam));
            return 0;
        case WM_CLIPBOARDUPDATE:
            Clipboard_Change();
            return 0;
        case WM_TIMER:
            if (wParam == kStayedOpenTimer) {
                TellWhatStayedOpen();
                return 0;
            }
            if (wParam == kPasteTimer) {
                paste_.OnTimer();
                return 0;
            }
            break;
        case WM_ENDSESSION:
            // Log-off or shutdown: the end comes now and quietly, whatever box, dialog or run
            // is open. Nothing is written at exit, so nothing is lost.
            if (wParam) {
                BeginProgramEnd();
                Form_Unload();
                ::ExitProcess(0);
            }
            return 0;
        case WM_DESTROY:
            // Exit, or WM_CLOSE from outside (an upgrade): whatever still waits on the way out
            // starts nothing.
            BeginProgramEnd();
            Form_Unload();
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

void frmDeskBroom::Form_Load() {
    trayIcon_.Attach(hwnd_);
    mPopupSys.reset(::CreatePopupMenu());
    mPopOptions = ::CreatePopupMenu();
    for (const OptionItem& item : kOptionItems) {
        ::AppendMenuW(mPopOptions, item.caption ? MF_STRING : MF_SEPARATOR, item.id, item.caption);
    }
    for (const MenuItem& item : kMenuItems) {
        ::AppendMenuW(mPopupSys.get(), MF_STRING, item.id, item.designCaption);
        if (item.id == IDM_SET_WINDOWS_FILTER) {
            ::AppendMenuW(mPopupSys.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(mPopOptions),
                          L"&Options");
        }
    }
    RunStartupSequence(*this, AppVersion());
    RestoreOptions();
}

void frmDeskBroom::Form_Resize(WPARAM sizeType) {
    if (sizeType == SIZE_MINIMIZED)
        ::ShowWindow(hwnd_, SW_HIDE);
}

void frmDeskBroom::Form_Unload() {
    ListenToClipboard(false);
    trayIcon_.Delete();
}

void frmDeskBroom::Form_Paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd_, &ps);
    RECT client;
    ::GetClientRect(hwnd_, &client);
    int iconSize = ::GetSystemMetrics(SM_CXICON);
    ::DrawIconEx(dc, 16, (client.bottom - iconSize) / 2, icon_.get(), iconSize, iconSize, 0,
                 nullptr, DI_NORMAL);
    client.left = 16 + iconSize + 16;
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, L"Desk Broom", -1, &client, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    ::EndPaint(hwnd_, &ps);
}

void frmDeskBroom::Form_MouseMove(WPARAM wParam, LPARAM lParam) {
    // Real mouse moves reach the window only during its moment on screen at start-up; they
    // carry a coordinate, not a tray notification.
    if (::IsWindowVisible(hwnd_))
        return;
    switch (trayEvents_.Decode(LOWORD(lParam), ::GetTickCount64(), ::GetDoubleClickTime())) {
        case TrayAction::DefaultAction:
            RunDefaultAction();
            break;
        case TrayAction::MouseMenu: {
            POINT at{};
            ::GetCursorPos(&at);
            ShowTrayMenu(at, false);
            break;
        }
        case TrayAction::KeyboardMenu:
            // At version 4 wParam holds the icon's anchor point.
            ShowTrayMenu({static_cast<short>(LOWORD(wParam)), static_cast<short>(HIWORD(wParam))},
                         true);
            break;
        case TrayAction::BalloonClick:
            ShowQuestion(questionWindow_);
            break;
        case TrayAction::BalloonGone:
            questionWindow_ = {};
            break;
        case TrayAction::None:
            break;
    }
}

void frmDeskBroom::RunDefaultAction() {
    CheckFilterFile();
    // Exit, or WM_CLOSE from outside, while the missing file's message was open.
    if (ProgramIsEnding())
        return;
    if (bDefaultDeskBroom) {
        CloseWindowsNow();
    } else {
        CleanClipboard();
    }
}

void frmDeskBroom::ShowTrayMenu(POINT at, bool fromKeyboard) {
    CheckFilterFile();
    if (ProgramIsEnding())
        return;
    ::SetForegroundWindow(hwnd_);
    UINT command = static_cast<UINT>(::TrackPopupMenuEx(
        mPopupSys.get(), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y,
        hwnd_, nullptr));
    // Without this the menu of a background window may not close when the user clicks
    // elsewhere, or open only at the second try.
    ::PostMessageW(hwnd_, WM_NULL, 0, 0);
    if (command != 0) {
        OnCommand(command);
    } else if (fromKeyboard) {
        // Esc: the keyboard user goes on from the icon, not from wherever the focus fell.
        trayIcon_.Focus();
    }
}

void frmDeskBroom::CheckFilterFile() {
    windowsFilter_.ReloadIfChanged();
    windowsFilter_.TellMissingFile();
}

void frmDeskBroom::TellWhatStayedOpen() {
    std::optional<CloseAll::Outcome> outcome = closeAll_.WhatStayedOpen(hwnd_);
    if (!outcome || ProgramIsEnding())
        return;
    questionWindow_ = outcome->question;
    trayIcon_.Notify(outcome->notice.title, outcome->notice.text);
}

void frmDeskBroom::OnCommand(UINT id) {
    for (const MenuItem& item : kMenuItems) {
        if (item.id == id)
            return (this->*item.click)();
    }
    mPopOption_Click(id);
}

void frmDeskBroom::CreateSystemTrayIcon(const std::u16string& svTipText) {
    trayIcon_.Add(svTipText);
}

void frmDeskBroom::SwitchDefaultAction(bool deskBroom) {
    fktAllgModule::WriteSetting(kSettingsSection, u"DeskBroom", deskBroom ? u"1" : u"0");
    trayIcon_.Delete();
    ShowDefaultAction(deskBroom, deskBroom ? UiText.TipDeskBroom : UiText.LabelCleanClipboard);
}

void frmDeskBroom::mPopDefaultDeskBroom_Click() {
    SwitchDefaultAction(true);
}

void frmDeskBroom::mPopDefaultCleanClipboard_Click() {
    SwitchDefaultAction(false);
}

void frmDeskBroom::CloseWindowsNow() {
    // The window a waiting paste was meant for may be among those asked to close.
    paste_.Cancel();
    closeAll_.CloseWindowsNow(hwnd_, kStayedOpenTimer, windowsFilter_.svFilterList,
                              options_.spareFront);
}

bool frmDeskBroom::CleanClipboard() {
    paste_.Cancel();
    return clipboardCleaner_.CleanClipboard(hwnd_, CleaningShape());
}

void frmDeskBroom::Clipboard_Change() {
    if (!options_.everyCopy || ProgramIsEnding())
        return;
    // A copy line added since the last look counts at once; a missing file is told only by an
    // action the user started.
    windowsFilter_.ReloadIfChanged();
    clipboardCleaner_.CleanCopy(hwnd_, CleaningShape(), [this](HWND copier) {
        return IsCopyExempt(copier, windowsFilter_.svFilterList);
    });
}

void frmDeskBroom::PasteWhenReleased(const std::vector<std::uint8_t>& keys) {
    if (paste_.Start(hwnd_, kPasteTimer, keys) == HotkeyPaste::Started::OutOfReach &&
        !ProgramIsEnding()) {
        trayIcon_.Notify(kNotPastedTitle, kNotPastedText);
    }
}

void frmDeskBroom::mPopSetHotkeys_Click() {
    hotkeysForm_.Show(*this, owner_.get());
}

void frmDeskBroom::mSetWindowsFilter_Click() {
    {
        ReentryGuard editing(editingFilter_);
        windowsFilter_.EditFileInNotepad(WindowsFilter::WindowsFilterPath());
    }
    // The clicks made meanwhile, in their order, now that the list is as the user saved it.
    for (auto [wParam, lParam] : deferredTrayEvents_)
        ::PostMessageW(hwnd_, kTrayCallbackMessage, wParam, lParam);
    deferredTrayEvents_.clear();
}

void frmDeskBroom::mpopAutostart_Click() {
    // The check mark is the record of the state after start-up and after the last switch; the
    // switch reads back what Windows will do.
    SetAutostart(!IsChecked(IDM_AUTOSTART));
    ShowAutostartState();
}

void frmDeskBroom::mPopOption_Click(UINT id) {
    for (const OptionItem& item : kOptionItems) {
        if (!item.caption || item.id != id)
            continue;
        const bool on = fktAllgModule::ReadBoolSetting(kSettingsSection, item.setting, u"0");
        fktAllgModule::WriteSetting(kSettingsSection, item.setting, on ? u"0" : u"1");
        RestoreOptions();
    }
}

void frmDeskBroom::RestoreOptions() {
    bool* switches[] = {&options_.spareFront, nullptr, &options_.trim, &options_.joinLines,
                        &options_.everyCopy};
    static_assert(std::size(switches) == std::size(kOptionItems));
    for (std::size_t i = 0; i < std::size(kOptionItems); ++i) {
        const OptionItem& item = kOptionItems[i];
        if (!item.caption)
            continue;
        *switches[i] = fktAllgModule::ReadBoolSetting(kSettingsSection, item.setting, u"0");
        ::CheckMenuItem(mPopOptions, item.id,
                        MF_BYCOMMAND | (*switches[i] ? MF_CHECKED : MF_UNCHECKED));
    }
    ListenToClipboard(options_.everyCopy);
}

void frmDeskBroom::ListenToClipboard(bool listen) {
    if (listen == listening_)
        return;
    // Failing to listen leaves copies as they are, as with the switch off.
    listening_ = listen ? ::AddClipboardFormatListener(hwnd_) != FALSE
                        : ::RemoveClipboardFormatListener(hwnd_) == FALSE;
}

void frmDeskBroom::mPopHelp_Click() {
    OpenHelpDocument(UiText.HelpNotFoundMessage);
}

void frmDeskBroom::mPopAbout_Click() {
    ShowMessage(UiText.AboutText);
}

void frmDeskBroom::mPopExit_Click() {
    ::DestroyWindow(hwnd_);
}

void frmDeskBroom::SetChecked(UINT id, bool checked) {
    ::CheckMenuItem(mPopupSys.get(), id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool frmDeskBroom::IsChecked(UINT id) const {
    return (::GetMenuState(mPopupSys.get(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

std::u16string frmDeskBroom::AppVersion() const {
    // Straight from the program's own version resource: the version DLL's readers would load a
    // DLL that Windows looks for beside the program first.
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
    const auto* block = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
    const DWORD size = found ? ::SizeofResource(nullptr, found) : 0;
    // The block's length, value length and type (three WORDs) and its key, then the fixed part
    // at the next DWORD boundary.
    constexpr DWORD kFixedOffset = (3 * sizeof(WORD) + sizeof(L"VS_VERSION_INFO") + 3) & ~3u;
    VS_FIXEDFILEINFO fixed{};
    if (!block || size < kFixedOffset + sizeof fixed)
        return FormatAppVersion(0, 0);
    std::memcpy(&fixed, block + kFixedOffset, sizeof fixed);
    if (fixed.dwSignature != VS_FFI_SIGNATURE)
        return FormatAppVersion(0, 0);
    return FormatAppVersion(HIWORD(fixed.dwFileVersionMS), LOWORD(fixed.dwFileVersionMS));
}

// Start-up steps.

void frmDeskBroom::SetMenuCaptions(const UiTextTable& text) {
    for (const MenuItem& menuItem : kMenuItems) {
        std::wstring wide = ToWide(text.*menuItem.tableCaption);
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING;
        item.dwTypeData = wide.data();
        ::SetMenuItemInfoW(mPopupSys.get(), menuItem.id, FALSE, &item);
    }
}

void frmDeskBroom::FlashAndHide() {
    // On screen for a moment without taking the focus from what the user is doing.
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd_);
    ::ShowWindow(hwnd_, SW_HIDE);
}

void frmDeskBroom::ShowDefaultAction(bool deskBroomIsDefault, const std::u16string& tip) {
    bDefaultDeskBroom = deskBroomIsDefault;
    SetChecked(IDM_DEFAULT_DESKBROOM, deskBroomIsDefault);
    SetChecked(IDM_DEFAULT_CLEAN_CLIPBOARD, !deskBroomIsDefault);
    CreateSystemTrayIcon(tip);
}

void frmDeskBroom::LoadWindowsFilter() {
    windowsFilter_.LoadWindowsFilter();
}

bool frmDeskBroom::CreateHotkeysAndRestoreSettings() {
    // The component comes with the main window, disarmed; start-up arms it if asked to.
    if (!WinHookHotKey) {
        const HRESULT result = WinHook::Create(
            instance_, hotkeysForm_,
            [this](std::int32_t& keyCode, std::int16_t shift, std::int16_t& handled) {
                WinHookHotKey_KeyEvent(keyCode, shift, handled);
            },
            WinHookHotKey);
        if (FAILED(result))
            EndWithFailure(DescribeError(result));
    }
    hotkeysForm_.RestoreGlobalsFromRegistry();
    return hotkeysForm_.bMOdHotkeysActivated;
}

void frmDeskBroom::ShowAutostartState() {
    SetChecked(IDM_AUTOSTART, IsAutostartOn());
}

// Hotkeys.

void frmDeskBroom::ActivateHotkey() {
    PutArming(*WinHookHotKey, WinHook::kArmed);
}

void frmDeskBroom::DeActivateHotkey() {
    PutArming(*WinHookHotKey, WinHook::kDisarmed);
}

void frmDeskBroom::HotkeySettingsChanged() {
    WinHookHotKey->FollowSettings();
}

void frmDeskBroom::WinHookHotKey_KeyEvent(std::int32_t& keyCode, std::int16_t shift,
                                          std::int16_t& handled) {
    if (ProgramIsEnding())
        return;
    CheckFilterFile();
    if (ProgramIsEnding())
        return;
    DispatchKeyEvent(hotkeysForm_, keyCode, shift, handled, *this);
}

void frmDeskBroom::HideOwnerWindow() {
    ::ShowWindow(::GetWindow(hwnd_, GW_OWNER), SW_HIDE);
}
