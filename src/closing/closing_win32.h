// What the window-closing subsystem offers the main window: the filter file's patterns with
// their editing, and the close-all run.
#pragma once

#include <windows.h>

#include <string>

#include "closing/filter_list.h"
#include "closing/window_selection.h"
#include "win32/unique_handle.h"

// The user's filter file beside the program and the patterns loaded from it.
class WindowsFilter {
  public:
    // Loaded at start-up and after each editing of the filter file.
    FilterList svFilterList;

    // Loads the filter file, or beeps and reports it missing and empties the list.
    void LoadWindowsFilter();
    // Opens the file in Notepad, waits until Notepad ends, then loads the list again.
    void EditFileInNotepad(const std::u16string& path);

    // After another program changed the file: loads it again without a word. A file that is
    // gone empties the list, and TellMissingFile says so later; a file that cannot be read
    // keeps the list. False while the writer still holds the file locked: try again shortly.
    bool ReloadQuietly();
    // Beeps and reports the file that a quiet reload found gone, once; nothing otherwise.
    void TellMissingFile();
    // "WindowsFilter.txt" in the program's folder.
    static std::u16string WindowsFilterPath();

  private:
    // Replaces the list with the file's patterns; reports a file that cannot be read.
    void ReadFilterFile(const std::u16string& path);
    void ReportMissingFile(const std::u16string& path);

    bool missingUntold_ = false;
};

// Posts `message` to `window` whenever the filter file in `folder` may have changed, whichever
// program changed it. A thread of its own only waits for the system's notifications.
class FilterFileWatcher {
  public:
    FilterFileWatcher() = default;
    FilterFileWatcher(const FilterFileWatcher&) = delete;
    FilterFileWatcher& operator=(const FilterFileWatcher&) = delete;
    ~FilterFileWatcher();

    void Start(const std::u16string& folder, HWND window, UINT message);

  private:
    static DWORD WINAPI Run(void* watcher);

    HWND window_ = nullptr;
    UINT message_ = 0;
    UniqueFile folder_;
    UniqueHandle stop_;
    UniqueHandle changed_;
    UniqueHandle thread_;
};

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
