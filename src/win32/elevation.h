// Whether a process runs elevated, read from its token: Windows keeps a program without
// elevation from reaching an elevated one's windows (messages, input, key state).
#pragma once

#include <windows.h>

// DeskBroom's own process, read once.
bool IsSelfElevated();

// The process of the window runs elevated: its token says so; false when the process or its
// token cannot be opened.
bool IsWindowElevated(HWND window);
