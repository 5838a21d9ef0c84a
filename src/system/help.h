// The Help command: the document beside the program, the ways it is opened, and the message
// shown when none of them works.
#pragma once

#include <string>

// The full path of DeskBroom.doc in the given folder.
std::u16string HelpDocumentPath(const std::u16string& programFolder);

// "Write" and the document's quoted path, so that a folder with blanks stays one argument.
std::u16string HelpCommandLine(const std::u16string& programFolder);

// The not-found message ends by pointing at a location below it: the document's path, after
// an empty line.
std::u16string HelpNotFoundText(const std::u16string& message, const std::u16string& programFolder);

// Starts "Write" with DeskBroom.doc beside the program, without waiting for it. When Write
// cannot be started, opens the document with the program the user has for it; when that fails
// too, beeps and shows the not-found message followed by the document's path.
void OpenHelpDocument(const std::u16string& notFoundMessage);
