// The clean-clipboard action: the clipboard's text without control characters, and nothing else.
#pragma once

#include <windows.h>

#include <functional>

#include "clipboard/clipboard_text.h"

class ClipboardCleaner {
  public:
    // Cleans the clipboard for `owner`, handling messages between steps, and shapes the text as
    // the user's options say; beeps on success and gives up silently, the clipboard unchanged,
    // when it cannot be had or `owner` goes. A request while a cleaning is under way (handled
    // in its message processing) is ignored. True when it put text on the clipboard; false
    // when it gave up or found no text.
    bool CleanClipboard(HWND owner, TextShape shape);

    // Whether a copy line names the program of the window that copied.
    using CopyExemption = std::function<bool(HWND copier)>;
    // After a change of the clipboard: cleans a copy as CleanClipboard does, without a beep,
    // when the every-copy rules take it, and writes nothing when the cleaning would change
    // nothing. Each copy is looked at once, however many changes are reported for it.
    void CleanCopy(HWND owner, TextShape shape, const CopyExemption& exempt);

  private:
    // The action when `exempt` is null, else an automatic cleaning.
    bool Clean(HWND owner, TextShape shape, const CopyExemption* exempt);

    bool cleaning_ = false;
    DWORD lastOwnWrite_ = 0;  // the clipboard's sequence number after our last write
    DWORD lastLookedAt_ = 0;  // the sequence number of the last copy looked at
};
