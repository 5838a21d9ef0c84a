// The Help command: the help document opened in the word processor.
#pragma once

#include <string>

// Starts "Write" with DeskBroom.doc beside the program, without waiting for it; when it cannot
// be started, beeps and shows the not-found message followed by the document's path.
void OpenHelpDocument(const std::u16string& notFoundMessage);
