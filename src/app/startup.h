// The start-up sequence of the main window, in its binding order, over the window's own steps.
#pragma once

#include <string>

#include "common/ui_text.h"

// The steps that need the window system; the main window implements them.
class StartupHost {
  public:
    virtual ~StartupHost() = default;
    virtual void SetMenuCaptions(const UiTextTable& text) = 0;
    // Shows the main window for a moment and hides it again.
    virtual void FlashAndHide() = 0;
    // Check marks of the two default items, then the tray icon with the given tooltip.
    virtual void ShowDefaultAction(bool deskBroomIsDefault, const std::u16string& tip) = 0;
    virtual void LoadWindowsFilter() = 0;
    // Creates the hotkey component, disarmed, and loads the hotkey settings; true when the
    // hotkeys are to be armed.
    virtual bool CreateHotkeysAndRestoreSettings() = 0;
    virtual void ActivateHotkey() = 0;
    virtual void ShowAutostartState() = 0;
    // Keeps the program out of the task bar and the task switcher.
    virtual void HideOwnerWindow() = 0;
};

// The stored default action as start-up writes it back: "true" and "wahr" in any case become "1".
std::u16string NormaliseDefaultAction(const std::u16string& stored);

// Exactly "1" makes close-all the default action; anything else, clean clipboard.
bool IsDeskBroomDefault(const std::u16string& normalised);

// Runs the whole start-up sequence.
void RunStartupSequence(StartupHost& host, const std::u16string& appVersion);
