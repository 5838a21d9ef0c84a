// Starting another program by its command line, the way the shell finds it.
#include "win32/process.h"

#include "win32/ui_win32.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

bool StartCommandLine(const std::u16string& commandLine, ProcessWait wait) {
    const bool waits = wait == ProcessWait::UntilEnded;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!waits) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
    }
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring command = ToWide(commandLine);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, waits ? TRUE : FALSE,
                          waits ? NORMAL_PRIORITY_CLASS : 0, nullptr, nullptr, &startup,
                          &started)) {
        return false;
    }
    // Closing the handles leaves the program running.
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    if (waits) {
        // Only what other threads send is answered meanwhile, so that the system's broadcasts
        // never wait for the editor. The program's own commands wait in the queue, and run once
        // the caller has done what follows the editing: they are not handled here.
        while (::MsgWaitForMultipleObjectsEx(1, &started.hProcess, INFINITE, QS_SENDMESSAGE,
                                             MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 + 1) {
            HandleSentMessages();
            if (QuitRequested())
                break;
        }
    }
    return true;
}
