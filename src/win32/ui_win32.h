// Shared Win32 helpers: the message pump, the program's message boxes, the program's folder.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Dispatches every pending message of this thread and returns when the queue is empty.
// A quit request met on the way is posted again so that the main loop still sees it.
void ProcessPendingMessages();

// A message box captioned "DeskBroom", no icon, application-modal; returns the button pressed.
int ShowMessage(std::u16string_view text, UINT buttons = MB_OK);

// The folder that holds the running executable, without a trailing separator.
std::u16string ProgramFolder();
