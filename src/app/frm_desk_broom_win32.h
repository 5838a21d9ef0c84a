// The hidden main window: start-up, tray icon and menu, the default action and the program's exit.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/startup.h"
#include "app/tray_event.h"
#include "app/tray_icon_win32.h"
#include "clipboard/clean_clipboard_win32.h"
#include "closing/closing_win32.h"
#include "hotkeys/frm_hotkeys_win32.h"
#include "hotkeys/hotkey_dispatch.h"
#include "hotkeys/hotkey_paste_win32.h"
#include "hotkeys/hotkey_component_win32.h"
#include "win32/unique_handle.h"

// Each menu command and action is a short member here over its feature's interface.
class frmDeskBroom final : private StartupHost, private HotkeyArming, private HotkeyActions {
  public:
    explicit frmDeskBroom(HINSTANCE instance);

    // Creates the owner and the main window and runs the start-up sequence; a failure ends the
    // program with its description.
    void Create();

    // The program's version for display, from its own version resource: "1.1 ".
    std::u16string AppVersion() const;
    // Adds the tray icon with the given tooltip.
    void CreateSystemTrayIcon(const std::u16string& svTipText);

    // The window's binding (see win32/window_binding.h).
    void Bind(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    // The two actions (HotkeyActions).
    void CloseWindowsNow() override;
    bool CleanClipboard() override;
    void PasteWhenReleased(const std::vector<std::uint8_t>& keys) override;

    // Arm and disarm the hotkeys (HotkeyArming).
    void ActivateHotkey() override;
    void DeActivateHotkey() override;
    void HotkeySettingsChanged() override;

    void Form_Load();
    void Form_Resize(WPARAM sizeType);
    void Form_Unload();
    // The tray icon's notifications: the event in the low word of lParam, the anchor point of a
    // keyboard event in wParam.
    void Form_MouseMove(WPARAM wParam, LPARAM lParam);
    void RunDefaultAction();
    // Pops up the tray menu at `at` and runs the chosen command; a menu opened from the keyboard
    // that closes without a choice gives the keyboard focus back to the icon.
    void ShowTrayMenu(POINT at, bool fromKeyboard);
    // Before an action: the filter file as saved now, and a missing file told once.
    void CheckFilterFile();
    // After a close-all run: the notification that names the windows that stayed open.
    void TellWhatStayedOpen();
    void Form_Paint();
    void OnCommand(UINT id);

    // The tray menu's items in their order: command, captions and what a click runs.
    struct MenuItem;
    static const MenuItem kMenuItems[];

    void mPopDefaultDeskBroom_Click();
    void mPopDefaultCleanClipboard_Click();
    void mPopSetHotkeys_Click();
    void mSetWindowsFilter_Click();
    void mpopAutostart_Click();
    void mPopHelp_Click();
    void mPopAbout_Click();
    void mPopExit_Click();
    // An item of the Options submenu flips its switch, stores it and ticks it as stored; any
    // other id does nothing.
    void mPopOption_Click(UINT id);

    // The Options submenu's switches as stored, each item ticked accordingly, and the clipboard
    // listened to while every copy is cleaned.
    void RestoreOptions();
    void ListenToClipboard(bool listen);
    // WM_CLIPBOARDUPDATE.
    void Clipboard_Change();
    TextShape CleaningShape() const { return {options_.trim, options_.joinLines}; }

    void WinHookHotKey_KeyEvent(std::int32_t& keyCode, std::int16_t shift, std::int16_t& handled);

    void SwitchDefaultAction(bool deskBroom);
    void SetChecked(UINT id, bool checked);
    bool IsChecked(UINT id) const;

    // StartupHost
    void SetMenuCaptions(const UiTextTable& text) override;
    void FlashAndHide() override;
    void ShowDefaultAction(bool deskBroomIsDefault, const std::u16string& tip) override;
    void LoadWindowsFilter() override;
    bool CreateHotkeysAndRestoreSettings() override;
    void ShowAutostartState() override;
    void HideOwnerWindow() override;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    UniqueHwnd owner_;
    UniqueHmenu mPopupSys;
    UniqueHicon icon_;       // 32x32, the window's
    UniqueHicon smallIcon_;  // 16x16, the window's
    TrayIcon trayIcon_;
    TrayEventDecoder trayEvents_;
    bool bDefaultDeskBroom = true;
    bool editingFilter_ = false;  // while Notepad edits the filter file
    // Tray events that came meanwhile, with their wParam and lParam.
    std::vector<std::pair<WPARAM, LPARAM>> deferredTrayEvents_;
    frmHotkeys hotkeysForm_;  // the hotkey settings, whether the dialog is open or not
    // The hotkey component reads hotkeysForm_'s settings: declared after it, it goes first.
    WinHookRef WinHookHotKey;
    WindowsFilter windowsFilter_;
    CloseAll closeAll_;
    ListedWindow questionWindow_{};  // brought forward by a click on the notification
    ClipboardCleaner clipboardCleaner_;
    HotkeyPaste paste_;           // a clean-clipboard hotkey's paste, waiting for the keys to go up
    HMENU mPopOptions = nullptr;  // the Options submenu, owned by mPopupSys
    struct Options {
        bool spareFront = false;
        bool trim = false;
        bool joinLines = false;
        bool everyCopy = false;
    } options_;
    bool listening_ = false;  // to the clipboard's changes
};

// The main window's timers.
enum MainWindowTimer : UINT_PTR {
    kPasteTimer = 2,       // a clean-clipboard hotkey's paste looks for the keys' release
    kTrayAddTimer = 3,     // a refused add of the tray icon is tried again
    kStayedOpenTimer = 4,  // after a close-all run: the look at what stayed open
};

// Tray menu commands.
enum : UINT {
    IDM_DEFAULT_DESKBROOM = 101,
    IDM_DEFAULT_CLEAN_CLIPBOARD,
    IDM_SET_HOTKEYS,
    IDM_SET_WINDOWS_FILTER,
    IDM_AUTOSTART,
    IDM_HELP,
    IDM_ABOUT,
    IDM_EXIT,
    IDM_OPTION_SPARE_FRONT,
    IDM_OPTION_TRIM,
    IDM_OPTION_JOIN_LINES,
    IDM_OPTION_EVERY_COPY,
};
