// Which top-level windows a close-all run asks to close, decided over plain facts about each.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "closing/filter_list.h"

// A run lists at most this many windows; further ones wait for the next run.
inline constexpr std::size_t kMaxListedWindows = 1000;

struct WindowFacts {
    bool visible = false;
    bool hasParent = false;  // a parent or, for a popup, an owner
    bool toolWindow = false;
    std::u16string_view title;
    // Hidden by the desktop window manager although the window calls itself visible: suspended
    // Store apps, the shell's input hosts, every window on another virtual desktop.
    bool cloaked = false;
    bool shellDesktop = false;  // the shell's desktop window, whatever its title
    // The whole path of the program's file that owns the window (for a Store app's frame, the
    // app's); empty when it could not be read.
    std::u16string_view program{};
};

// True when close-all should ask the window to close: it is visible, uncloaked, parentless, not a
// tool window and not the shell's desktop, and its title is not empty, does not begin with the
// program's own names or "Program Manager", and matches no pattern of `filters`. Case does not
// matter, and neither do format characters that show nothing. A program pattern tests
// `program`. Only the title's first 127 units are tested, or 126 where a surrogate pair straddles
// the cut; pass one unit more so that the pair can be seen.
bool IsWindowSelected(const WindowFacts& window, const FilterList& filters);

// The same rules before any filter line applies: whether the window is an application window.
bool IsApplicationWindow(const WindowFacts& window);

// The window the user works in: the first of `windows`, listed in Z order from the top, that is
// an application window; windows.size() when there is none. Taskbars, menus and tooltips are
// tool windows or untitled, so after a tray click this is the window that was active before it.
std::size_t WindowInFront(std::span<const WindowFacts> windows);

// A selected window, with the process and thread it belonged to when it was selected, so that a
// handle that meanwhile names another window is never closed.
struct ListedWindow {
    std::uintptr_t handle = 0;
    std::uint32_t processId = 0;
    std::uint32_t threadId = 0;
};

// The windows of one run in the order they were found, up to kMaxListedWindows.
class WindowList {
  public:
    void Clear() { count_ = 0; }
    // False, and the list unchanged, once it is full.
    bool Add(const ListedWindow& window) {
        if (count_ == slots_.size())
            return false;
        slots_[count_++] = window;
        return true;
    }
    std::size_t Count() const { return count_; }
    const ListedWindow& operator[](std::size_t index) const { return slots_[index]; }

  private:
    std::array<ListedWindow, kMaxListedWindows> slots_{};
    std::size_t count_ = 0;
};
