// The clean-clipboard action: the clipboard's text without control characters, and nothing else.
#pragma once

#include <windows.h>

class ClipboardCleaner {
  public:
    // Cleans the clipboard for `owner`, handling messages between steps; beeps on success and
    // gives up silently, the clipboard unchanged, when it cannot be had or `owner` goes. A
    // request while a cleaning is under way (handled in its message processing) is ignored.
    // True when it put text on the clipboard; false when it gave up or found no text.
    bool CleanClipboard(HWND owner);

  private:
    bool cleaning_ = false;
};
