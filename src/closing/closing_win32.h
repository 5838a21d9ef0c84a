// What the window-closing subsystem offers the main window: the filter file's patterns with
// their editing, and the close-all run.
#pragma once

#include <windows.h>

#include <string>

#include "closing/filter_list.h"
#include "closing/window_selection.h"

// The user's filter file beside the program and the patterns loaded from it.
class WindowsFilter {
  public:
    // Loaded at start-up and after each editing of the filter file.
    FilterList svFilterList;
    std::size_t intFilterCount() const { return svFilterList.Count(); }

    // Loads the filter file, or beeps and reports it missing and empties the list.
    void LoadWindowsFilter();
    // Opens the file in Notepad, waits until Notepad ends, then loads the list again.
    void EditFileInNotepad(const std::u16string& path);
    // "WindowsFilter.txt" in the program's folder.
    static std::u16string WindowsFilterPath();

  private:
    // Replaces the list with the file's patterns; reports a file that cannot be read.
    void ReadFilterFile(const std::u16string& path);
};

// True for an existing file that is neither hidden, a system file nor a folder.
bool FileExists(const std::u16string& path);

// Whether the selection rules take the window as it is now (visibility, owner, style, title).
bool IsSelectedNow(HWND hwnd, const FilterList& filters);

// The close-all action: WM_CLOSE to every selected window, one every 300 ms, handling messages
// in between.
class CloseAll {
  public:
    // Runs to the end unless `mainWindow` goes or the program is asked to end meanwhile. A
    // request while a run is under way (handled in its pauses) is ignored.
    void CloseWindowsNow(HWND mainWindow, const FilterList& filters);

    std::size_t lngWindowCount() const { return lngWindowList.Count(); }

  private:
    // Appends every top-level window that the selection rules take to the list.
    void CollectWindows(const FilterList& filters);

    // The windows of the current or last run, in the order the system listed them.
    WindowList lngWindowList;
    bool running_ = false;
};
