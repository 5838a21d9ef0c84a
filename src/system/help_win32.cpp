// The Help command: the help document opened in the word processor.
#include "system/help_win32.h"

#include <windows.h>

#include "system/help.h"
#include "win32/process.h"
#include "win32/ui_win32.h"

void OpenHelpDocument(const std::u16string& notFoundMessage) {
    std::u16string folder = ProgramFolder();
    if (StartCommandLine(HelpCommandLine(folder), ProcessWait::None))
        return;
    ::MessageBeep(MB_OK);
    ShowMessage(HelpNotFoundText(notFoundMessage, folder));
}
