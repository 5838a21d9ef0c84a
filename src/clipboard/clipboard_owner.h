// Whether the clipboard can be read now without waiting on the program that owns it.
#pragma once

// How long the owner gets to answer: one round trip takes about a millisecond, and a program
// that needs longer would keep the tray waiting as long again to render its text.
inline constexpr unsigned kOwnerPatienceMs = 500;

// What the owner did when asked for an empty answer within the patience.
enum class OwnerReply {
    Answered,
    Silent,   // no answer in time, or hung
    Refused,  // the system let no message through (a program at a higher integrity level)
};

// The calls the decision makes on the clipboard's owner, while the clipboard is open.
class ClipboardOwnerProbe {
  public:
    virtual ~ClipboardOwnerProbe() = default;
    // Whether a window of another process owns the clipboard; reading our own never waits.
    virtual bool OwnedElsewhere() = 0;
    // The system's verdict: no message taken for five seconds.
    virtual bool OwnerHangs() = 0;
    virtual OwnerReply AskOwner(unsigned timeoutMs) = 0;
};

// True when reading the clipboard will not wait on a silent owner: a program that promised its
// text and then stopped answering a moment ago is not hung yet for the system, but rendering
// the text would wait for it as long as it stays silent. An owner the system does not let us
// ask is judged by the system's verdict alone.
bool ClipboardOwnerAnswers(ClipboardOwnerProbe& owner);
