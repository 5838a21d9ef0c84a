// Shared Win32 helpers: message pump, open dialog, message box, key state, the program's icons.
#include "win32/ui_win32.h"

#include "win32/wide_text.h"

static HWND openDialog = nullptr;

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

bool KeyIsDown(std::uint8_t virtualKey) {
    // The high bit alone: the low bit ("pressed since the last call") is every program's to reset.
    return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

HICON LoadIconResource(WORD id, int size) {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                           IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
