// The baseline of the memory benchmark: the least a tray program can be. It registers a class,
// creates a hidden window, flashes it once as DeskBroom does at start-up, adds a tray icon and
// runs its message loop.
#include <windows.h>
#include <shellapi.h>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = &WindowProc;
    type.hInstance = instance;
    type.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    type.lpszClassName = L"MinimalTray";
    ::RegisterClassExW(&type);
    HWND hwnd =
        ::CreateWindowExW(0, L"MinimalTray", L"Minimal Tray",
                          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                          CW_USEDEFAULT, 320, 140, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd);
    ::ShowWindow(hwnd, SW_HIDE);

    NOTIFYICONDATAW icon{};
    icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
    icon.hWnd = hwnd;
    icon.uID = 1;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_MOUSEMOVE;
    icon.hIcon = type.hIcon;
    ::lstrcpynW(icon.szTip, L"Minimal Tray", 64);
    ::Shell_NotifyIconW(NIM_ADD, &icon);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}
