// The Help command: the help document opened in the word processor, or else in the program the
// user has for it.
#include <windows.h>

#include <shellapi.h>

#include "system/help.h"
#include "win32/files.h"
#include "win32/process.h"
#include "win32/ui_win32.h"

namespace {

// The shell's "open" verb for the document, without the "Open with" dialog, so that a document
// type with no program fails instead of asking.
bool OpenWithAssociatedProgram(const std::u16string& document) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = reinterpret_cast<const wchar_t*>(document.c_str());
    info.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExW(&info) != FALSE;
}

}  // namespace

void OpenHelpDocument(const std::u16string& notFoundMessage) {
    std::u16string folder = ProgramFolder();
    if (StartCommandLine(HelpCommandLine(folder), ProcessWait::None))
        return;
    if (OpenWithAssociatedProgram(HelpDocumentPath(folder)))
        return;
    ::MessageBeep(MB_OK);
    ShowMessage(HelpNotFoundText(notFoundMessage, folder));
}
