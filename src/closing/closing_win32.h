// What the window-closing subsystem offers the main window: the filter file's patterns with
// their editing, and the close-all run.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "closing/filter_list.h"
#include "closing/window_selection.h"
#include "win32/files.h"
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

    // Loads the file again without a word when it is not as the last load saw it (its
    // existence, size or last-write time), whichever program changed it. A file that is gone
    // empties the list, and TellMissingFile says so; a file that cannot be read keeps the list
    // and is tried again next time.
    void ReloadIfChanged();
    // Beeps and reports the file that a quiet reload found gone, once; nothing otherwise.
    void TellMissingFile();
    // "WindowsFilter.txt" in the program's folder.
    static std::u16string WindowsFilterPath();

  private:
    // Replaces the list with the file's patterns; reports a file that cannot be read (false).
    bool ReadFilterFile(const std::u16string& path);
    void ReportMissingFile(const std::u16string& path);

    bool missingUntold_ = false;
    // The file as the last load saw it; nothing when that load failed, so the next look loads.
    std::optional<FileStamp> loaded_;
};

// Whether the selection rules take the window as it is now (visibility, owner, style, title).
bool IsSelectedNow(HWND hwnd, const FilterList& filters);

// The window the user works in, by the Z order as it is now; null when there is none.
HWND WindowInFrontNow();

// Whether a copy line of `filters` names the program of `window` (a clipboard's owner).
bool IsCopyExempt(HWND window, const FilterList& filters);

// The close-all action: WM_CLOSE to every selected window, one every 300 ms, handling messages
// in between; about two seconds after its last request it looks at what stayed open.
class CloseAll {
  public:
    // Runs to the end unless `mainWindow` goes or the program is asked to end meanwhile. A
    // request while a run is under way (handled in its pauses) is ignored. About two seconds
    // after the last request, `stayedOpenTimer` of `mainWindow` asks for WhatStayedOpen. With
    // `spareFront` the window in front stays open, and only it, whatever the filters say.
    void CloseWindowsNow(HWND mainWindow, UINT_PTR stayedOpenTimer, const FilterList& filters,
                         bool spareFront);

    // What the last run left open, for the notification; the timer stops.
    struct Outcome {
        std::u16string text;      // empty when every window it asked closed
        HWND question = nullptr;  // the first window that is asking a question
    };
    Outcome WhatStayedOpen(HWND mainWindow);

    std::size_t lngWindowCount() const { return lngWindowList.Count(); }

  private:
    // Appends every top-level window that the selection rules take to the list, but `spared`.
    void CollectWindows(const FilterList& filters, HWND spared);

    // A window the run asked to close; `refused` when the request was not let through.
    struct Asked {
        ListedWindow window;
        bool refused;
    };

    // The windows of the current or last run, in the order the system listed them.
    WindowList lngWindowList;
    std::vector<Asked> asked_;
    UINT_PTR stayedOpenTimer_ = 0;
    bool running_ = false;
};

// Brings the window that asks a question to the front, with its question; nothing when it is
// gone.
void ShowQuestion(HWND window);
