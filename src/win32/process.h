// Starting another program by its command line, the way the shell finds it.
#pragma once

#include <string>

enum class ProcessWait {
    // Blocks this thread until the program ends, then handles the messages that came meanwhile.
    UntilEnded,
    // Returns at once: the program lives on its own.
    None,
};

// Starts the command line (no application name: the system searches for the program as it
// does for any command); false when it could not be started.
bool StartCommandLine(const std::u16string& commandLine, ProcessWait wait);
