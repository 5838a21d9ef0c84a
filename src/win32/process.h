// Starting another program by its command line, the way the shell finds it.
#pragma once

#include <string>

enum class ProcessWait {
    // Holds this thread's commands until the program ends (answering only the messages other
    // threads send, so that their senders never hang); what was posted meanwhile stays queued
    // for the caller's message loop. Ends early when the program is asked to quit.
    UntilEnded,
    // Returns at once: the program lives on its own.
    None,
};

// Starts the command line (no application name: the system searches for the program as it
// does for any command); false when it could not be started.
bool StartCommandLine(const std::u16string& commandLine, ProcessWait wait);
