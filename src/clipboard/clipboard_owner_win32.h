// Asking the clipboard's owner whether it answers, before anything is read from the clipboard.
#pragma once

// With the clipboard open: true when its owner is ours, none, or a window that answered an empty
// message within half a second; false when the owner is hung or silent, and reading a format it
// promised would wait for it. Takes no message meanwhile, so nothing starts in the wait.
bool ClipboardOwnerAnswersInTime();
