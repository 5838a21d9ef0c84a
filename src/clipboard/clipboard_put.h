// Putting the cleaned text on the clipboard so that no failure leaves the clipboard empty.
#pragma once

#include <cstddef>

// The clipboard while it is open for writing. A Set hands its data over to the clipboard when it
// succeeds and leaves it with the caller when it fails.
class ClipboardWriter {
  public:
    virtual ~ClipboardWriter() = default;
    virtual bool Empty() = 0;
    // The cleaned text, or else the text as it was read.
    virtual bool SetText(bool cleaned) = 0;
    // The privacy markers read beside the text.
    virtual std::size_t MarkerCount() const = 0;
    virtual bool SetMarker(std::size_t index) = 0;
};

// Empties the clipboard, then sets the cleaned text or, failing that, the text as read, and then
// the markers. True when the cleaned text is on the clipboard; otherwise the clipboard holds what
// it held (it could not be emptied), the text as read, or at worst only the markers. A marker
// that cannot be set does not change the result.
bool PutCleanedText(ClipboardWriter& clipboard);
