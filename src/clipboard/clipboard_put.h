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

enum class PutOutcome {
    Cleaned,    // the cleaned text is on the clipboard
    Unchanged,  // the clipboard could not be emptied and holds what it held
    PutBack,    // the cleaned text could not be set; the text as read is back in its place
    Emptied,    // neither text could be set
};

// Empties the clipboard, then sets the cleaned text or, failing that, the text as read, and then
// the markers. A marker that cannot be set does not change the outcome.
PutOutcome PutCleanedText(ClipboardWriter& clipboard);
