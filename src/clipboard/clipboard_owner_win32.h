// Asking the clipboard's owner whether it answers, before anything is read from the clipboard.
#pragma once

#include <windows.h>

// True when the clipboard's owner is ours, none, or a window that answered an empty message
// within half a second; false when the owner is hung or silent, and opening the clipboard or
// reading a format it promised would wait for it. Takes no message meanwhile, so nothing starts
// in the wait. `asked` receives the owner judged.
bool ClipboardOwnerAnswersInTime(HWND* asked = nullptr);
