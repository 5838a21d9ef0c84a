// Shared Win32 helpers: message pump, open dialog, message box, key state, the program's icons.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

// Dispatches every pending message of this thread and returns when the queue is empty.
// A quit request met on the way is posted again so that the main loop still sees it.
// Messages for the open dialog (see SetOpenDialog) go through its dialog manager.
void ProcessPendingMessages();

// Handles only the messages that other threads send to this one; posted messages (tray clicks,
// menu commands, hotkey presses) stay queued. For waits that must keep the program answering
// other programs without running its own commands.
void HandleSentMessages();

// True when a quit request is waiting in this thread's queue (left there).
bool QuitRequested();

// The program's open dialog while it is open, null once it closed. An action run inside the
// dialog's own loop pumps messages itself; they still reach the dialog's keyboard interface.
void SetOpenDialog(HWND dialog);

// A message box captioned "DeskBroom", no icon, application-modal; returns the button pressed.
int ShowMessage(std::u16string_view text, UINT buttons = MB_OK);

// Whether the key (a virtual-key code) is down now, whichever window has the keyboard.
bool KeyIsDown(std::uint8_t virtualKey);

// The program's icon resource `id` at size x size pixels; null when it cannot be loaded.
HICON LoadIconResource(WORD id, int size);
