// The Hotkeys dialog: edits both hotkeys and their switch, and holds the program's hotkey settings.
#pragma once

#include <windows.h>

#include "hotkeys/hotkey_dialog.h"
#include "hotkeys/hotkey_settings.h"
#include "win32/unique_handle.h"

// One instance for the whole run, held by the main window; its settings outlive every opening.
class frmHotkeys final : public HotkeySettings {
  public:
    // iconResource: the dialog's own icon in the program's resources.
    explicit frmHotkeys(WORD iconResource) : iconResource_(iconResource) {}

    // Opens the dialog modally and returns when it closes; a save arms or disarms the
    // hotkeys through `arming`. While it is open, a second request brings it to the front instead.
    // The owner is the program's hidden owner window: close-all passes over owned windows, and the
    // dialog keeps a task-bar button of its own.
    void Show(HotkeyArming& arming, HWND owner);

    // Asks about a hotkey row without modifier; bMOdTryModifierAgain says the user chose No.
    void CheckForNoneModifier();

    // The dialog's binding (see win32/window_binding.h).
    void Bind(HWND hwnd) { hwnd_ = hwnd; }
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void Form_Load();
    void cmdOk_Click();
    void cmdCancel_Click();
    void cmdApply_Click();
    void RestoreControlsFromGlobals();
    void SaveControlsToRegistry();

    void PlaceFillListsAndSetIcons();
    HotkeyControls ReadControls() const;
    bool Save();

    WORD iconResource_;
    HWND hwnd_ = nullptr;
    HotkeyArming* arming_ = nullptr;  // while open
    UniqueHicon icon_;
    UniqueHicon smallIcon_;
};
