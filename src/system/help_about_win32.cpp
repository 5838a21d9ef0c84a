// The Help and About commands of the tray menu.
#include "app/frm_desk_broom_win32.h"

#include "app/ui_text.h"
#include "system/help.h"
#include "win32/ui_win32.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

void frmDeskBroom::mPopHelp_Click() {
    std::u16string folder = ProgramFolder();
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring commandLine = ToWide(HelpCommandLine(folder));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    // No application name: the system looks for "Write" the way it finds any program.
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &process)) {
        // Not waited for: the word processor lives on its own.
        UniqueHandle thread(process.hThread);
        UniqueHandle started(process.hProcess);
        return;
    }
    ::MessageBeep(MB_OK);
    ShowMessage(HelpNotFoundText(UiText.HelpNotFoundMessage, folder));
}

void frmDeskBroom::mPopAbout_Click() {
    ShowMessage(UiText.AboutText);
}
