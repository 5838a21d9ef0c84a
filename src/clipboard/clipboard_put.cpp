// Putting the cleaned text on the clipboard so that no failure leaves the clipboard empty.
#include "clipboard/clipboard_put.h"

bool PutCleanedText(ClipboardWriter& clipboard) {
    if (!clipboard.Empty())
        return false;
    const bool cleaned = clipboard.SetText(true);
    if (!cleaned)
        clipboard.SetText(false);
    for (std::size_t i = 0; i < clipboard.MarkerCount(); ++i)
        clipboard.SetMarker(i);
    return cleaned;
}
