// The Hotkeys dialog: edits both hotkeys and their switch, and holds the program's hotkey settings.
#pragma once

#include <windows.h>

#include <vector>

#include "hotkeys/hotkey_dialog.h"
#include "hotkeys/hotkey_settings.h"
#include "win32/unique_handle.h"

class frmDeskBroom;

// One instance for the whole run (HotkeysForm()); its settings outlive every opening.
class frmHotkeys final : public HotkeySettings {
  public:
    // Opens the dialog modally and returns when it closes. While it is open, a second request
    // brings it to the front instead. The owner is the program's hidden owner window: close-all
    // passes over owned windows, and the dialog keeps a task-bar button of its own.
    void Show(frmDeskBroom& mainForm, HWND owner);

    // Asks about a hotkey row without modifier; bMOdTryModifierAgain says the user chose No.
    void CheckForNoneModifier();

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void Form_Load();
    void cmdOk_Click();
    void cmdCancel_Click();
    void cmdApply_Click();
    void RestoreControlsFromGlobals();
    void SaveControlsToRegistry();

    void LayOut();
    HotkeyControls ReadControls() const;
    bool Save();

    HWND hwnd_ = nullptr;
    frmDeskBroom* mainForm_ = nullptr;
    UniqueHicon icon_;
    UniqueHicon smallIcon_;
};

frmHotkeys& HotkeysForm();
