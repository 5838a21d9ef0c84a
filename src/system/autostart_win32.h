// Starting with Windows: the "DeskBroom" value of the user's Run key.
#pragma once

// Whether the Run key holds a non-empty "DeskBroom" value.
bool IsAutostartOn();

// On: the quoted path of DeskBroom.exe in the program's folder, creating the key when needed.
// Off: the empty text, never a deleted value.
void SetAutostart(bool on);
