// Shared Win32 helpers: the message pump, the open dialog, the message boxes, the program's folder.
#include "win32/ui_win32.h"

#include <vector>

#include "common/program_folder.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

namespace {

HWND openDialog = nullptr;

// Where the system ends up for a file or folder, links and junctions followed ("\\?\" form);
// empty when it cannot be had.
std::u16string FinalPath(const std::wstring& path) {
    // Backup semantics: a folder opens too. No access is asked for, so nothing is held locked.
    UniqueFile file(::CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return {};
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        DWORD length =
            ::GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        if (length < final.size()) {
            final.resize(length);
            return ToU16(final);
        }
        final.resize(length);
    }
}

std::u16string FindProgramFolder() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return u".";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::wstring module(path.begin(), path.end());
    std::wstring folder = module.substr(0, module.find_last_of(L"\\/"));
    if (folder.ends_with(L':'))
        folder += L'\\';  // the drive's root, not its current folder
    return ProgramFolderOf(ToU16(module), FinalPath(module), FinalPath(folder));
}

}  // namespace

void SetOpenDialog(HWND dialog) {
    openDialog = dialog;
}

void ProcessPendingMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (openDialog && ::IsDialogMessageW(openDialog, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void HandleSentMessages() {
    // Peeking delivers every sent message before it looks at the queue; PM_NOREMOVE leaves
    // whatever was posted where it is.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

bool QuitRequested() {
    MSG msg;
    return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

int ShowMessage(std::u16string_view text, UINT buttons) {
    // The program has no visible window to own the box; MB_SETFOREGROUND keeps it from
    // opening behind the window the user is working in.
    return ::MessageBoxW(nullptr, ToWide(text).c_str(), L"DeskBroom",
                         buttons | MB_APPLMODAL | MB_SETFOREGROUND);
}

HICON LoadIconResource(WORD id, int size) {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                           IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

std::u16string ProgramFolder() {
    // Found once: the program does not move while it runs, and following the links opens files,
    // which every tray click and hotkey would otherwise repeat.
    static const std::u16string folder = FindProgramFolder();
    return folder;
}
