// The Help command: the document beside the program, the command line that opens it, and the
// message shown when the word processor cannot be started.
#pragma once

#include <string>

// "Write" and the document's quoted path, so that a folder with blanks stays one argument.
std::u16string HelpCommandLine(const std::u16string& programFolder);

// The not-found message ends by pointing at a location below it: the document's path, after
// an empty line.
std::u16string HelpNotFoundText(const std::u16string& message, const std::u16string& programFolder);
