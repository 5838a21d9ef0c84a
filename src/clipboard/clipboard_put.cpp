// Putting the cleaned text on the clipboard so that no failure leaves the clipboard empty.
#include "clipboard/clipboard_put.h"

PutOutcome PutCleanedText(ClipboardWriter& clipboard) {
    if (!clipboard.Empty())
        return PutOutcome::Unchanged;
    const bool cleaned = clipboard.SetText(true);
    const bool putBack = !cleaned && clipboard.SetText(false);
    for (std::size_t i = 0; i < clipboard.MarkerCount(); ++i)
        clipboard.SetMarker(i);
    if (cleaned)
        return PutOutcome::Cleaned;
    return putBack ? PutOutcome::PutBack : PutOutcome::Emptied;
}
