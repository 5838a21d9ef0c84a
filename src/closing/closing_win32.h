// The window-closing subsystem's program-wide state and its calls into the system.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "closing/filter_list.h"
#include "closing/window_selection.h"

namespace fktVariablen {
// Loaded at start-up and after each editing of the filter file.
extern FilterList svFilterList;
inline std::size_t intFilterCount() {
    return svFilterList.Count();
}
}  // namespace fktVariablen

namespace fktAllgModule {
// "WindowsFilter.txt" in the program's folder.
std::u16string WindowsFilterPath();
// Loads the filter file, or beeps and reports it missing and empties the list.
void LoadWindowsFilter();
// Replaces the filter list with the file's patterns; reports a file that cannot be read.
void ReadFilterFile(const std::u16string& path);
// True for an existing file that is neither hidden, a system file nor a folder.
bool FileExists(const std::u16string& path);
// Opens the file in Notepad, waits until Notepad ends, then loads the list again.
void EditFileInNotepad(const std::u16string& path);
}  // namespace fktAllgModule

namespace fktAPI {
// The windows of the current or last close-all run, in the order the system listed them.
extern WindowList lngWindowList;
inline std::size_t lngWindowCount() {
    return lngWindowList.Count();
}

// Starts the command line the way the shell would find it and waits until that process ends;
// false when it could not be started.
bool ExecAndWait(const std::u16string& commandLine);
// Appends every top-level window that the selection rules take to lngWindowList.
void CollectWindows();
BOOL CALLBACK EnumWindowsCallback(HWND hwnd, LPARAM);
// Whether the selection rules take the window as it is now (visibility, owner, style, title).
bool IsSelectedNow(HWND hwnd);
bool IsToolWindow(HWND hwnd);
}  // namespace fktAPI
