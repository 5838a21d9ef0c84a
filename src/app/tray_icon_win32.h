// The program's icon in the notification area: adding it (and again when the add failed or
// Explorer restarted), its tooltip, its picture at the tray's DPI, and its notifications.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "win32/unique_handle.h"

// The one place that talks to the shell's notification area.
class TrayIcon {
  public:
    // `callbackMessage` reaches `window` for every event over the icon; `retryTimer` is the
    // window's timer that repeats a failed add.
    TrayIcon(UINT id, UINT callbackMessage, UINT_PTR retryTimer)
        : id_(id), callbackMessage_(callbackMessage), retryTimer_(retryTimer) {}

    // The window that owns the icon and hears of it; before the first Add.
    void Attach(HWND window);
    // Adds the icon with the given tooltip, at version 4; a refused add is tried again for two
    // minutes.
    void Add(const std::u16string& tip);
    // Removes the icon; no retry brings it back.
    void Delete();
    // A notification from the icon (shown as a toast on Windows 10 and 11).
    void Notify(const std::u16string& title, const std::u16string& text);
    // Gives the keyboard focus back to the icon.
    void Focus();

    // TaskbarCreated, the retry timer and changes of scaling: true when the message was the
    // icon's alone and needs no further handling.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void UseVersion4();
    // One retry of a failed add.
    void RetryAdd();
    // Loads the icon at the size the tray wants now; true when it was (re)loaded.
    bool LoadPicture();
    // After a change of scaling: the icon at the new size, in the same place.
    void RefreshPicture();

    const UINT id_;
    const UINT callbackMessage_;
    const UINT_PTR retryTimer_;
    HWND window_ = nullptr;
    UINT taskbarCreatedMessage_ = 0;
    NOTIFYICONDATAW TrayIconData{};
    std::u16string tip_;
    bool shown_ = false;
    int addTriesLeft_ = 0;
    UniqueHicon picture_;         // at the tray's size for the current DPI
    UniqueHicon retiredPicture_;  // the one the shell may still show, until it has the new one
    int pictureSize_ = 0;
};
