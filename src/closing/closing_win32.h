// What the window-closing subsystem offers the main window: the filter file's patterns with
// their editing, and the close-all run.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "closing/filter_list.h"
#include "closing/stayed_open.h"
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

// Windows 10 and 11 call windows visible that the desktop window manager hides (other virtual
// desktops, suspended Store apps).
bool IsCloaked(HWND hwnd);
// The whole path of the program that owns the window as the user knows it (for a Store app's
// frame, the app's); empty when the system does not tell.
std::u16string ProgramOfWindow(HWND hwnd);

// The close-all action: WM_CLOSE to every selected window, one every 300 ms, handling messages
// in between; about two seconds after its last request it looks at what stayed open, and again
// every second while a window may still close.
class CloseAll {
  public:
    // Runs to the end unless `mainWindow` goes or the program is asked to end meanwhile. A
    // request while a run is under way (handled in its pauses) is ignored. About two seconds
    // after the last request, `stayedOpenTimer` of `mainWindow` asks for WhatStayedOpen.
    void CloseWindowsNow(HWND mainWindow, UINT_PTR stayedOpenTimer, const FilterList& filters);

    // What the last run left open, for the notification, and the first window asking a question
    // (handle 0 when none asks).
    struct Outcome {
        StayedOpenNotice notice;
        ListedWindow question;
    };
    // Looks at the windows the last run asked. Nothing while one of them may still close (the
    // timer is set for the next look) and nothing once all have closed; otherwise the outcome,
    // once, and the timer stops.
    std::optional<Outcome> WhatStayedOpen(HWND mainWindow);

    std::size_t lngWindowCount() const { return lngWindowList.Count(); }

  private:
    // Appends every top-level window that the selection rules take to the list.
    void CollectWindows(const FilterList& filters);

    // The windows of the current or last run, in the order the system listed them.
    WindowList lngWindowList;
    // The windows the run asked to close, and when it asked the last one.
    std::vector<ListedWindow> asked_;
    ULONGLONG lastRequest_ = 0;
    UINT_PTR stayedOpenTimer_ = 0;
    bool running_ = false;
};

// Brings the window that asks a question forward with its question where Windows lets DeskBroom
// take the foreground, and otherwise flashes its taskbar button; nothing when it is gone.
void ShowQuestion(const ListedWindow& asking);
