// Whether the clipboard can be read now without waiting on the program that owns it.
#include "clipboard/clipboard_owner.h"

bool ClipboardOwnerAnswers(ClipboardOwnerProbe& owner) {
    if (!owner.OwnedElsewhere())
        return true;
    if (owner.OwnerHangs())
        return false;
    return owner.AskOwner(kOwnerPatienceMs) != OwnerReply::Silent;
}
