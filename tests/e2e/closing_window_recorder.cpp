// A stand-in desktop application for the end-to-end tests: opens the windows named on its
// command line and logs every message they get, with the time it was posted and received.
//
//   closing_window_recorder.exe <log file> <kind>:<title> ...
//
// Kinds: normal, tool (WS_EX_TOOLWINDOW), owned (a popup owned by the first window),
// hidden (never shown), minimised, hotkey (never shown; holds Ctrl+Alt+Shift+F12 as another
// program's hotkey), closes (closes at WM_CLOSE), slow (closes 4 s after WM_CLOSE), asks
// (answers WM_CLOSE with a question in a message box it owns), promises (puts a text on the
// clipboard by delayed rendering, then stops answering for kSilentMs after READY, as a busy office
// program does, and logs AWAKE), copies (copies its title, with a form feed, as text and HTML,
// owning the clipboard). Every other window that gets WM_CLOSE stays, ignoring it. Copied under
// another name it is another program. In a title, \uXXXX stands for that UTF-16 unit (line
// breaks, lone surrogates); the log keeps it so.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

HANDLE logFile = INVALID_HANDLE_VALUE;
constexpr DWORD kSilentMs = 8000;
LARGE_INTEGER frequency;

void Log(const std::wstring& line) {
    std::wstring full = line + L"\n";
    int size = ::WideCharToMultiByte(CP_UTF8, 0, full.data(), static_cast<int>(full.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, full.data(), static_cast<int>(full.size()), bytes.data(),
                          size, nullptr, nullptr);
    DWORD written = 0;
    ::WriteFile(logFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

long long NowMs() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart * 1000 / frequency.QuadPart;
}

LRESULT CALLBACK RecorderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    wchar_t line[160];
    std::swprintf(line, 160, L"MSG %llu 0x%04x %lu %lld",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)), message,
                  static_cast<unsigned long>(::GetMessageTime()), NowMs());
    Log(line);
    if (message == WM_CLOSE && ::GetPropW(hwnd, L"closes"))
        ::DestroyWindow(hwnd);
    if (message == WM_CLOSE && ::GetPropW(hwnd, L"slow"))
        ::SetTimer(hwnd, 1, 4000, nullptr);
    if (message == WM_TIMER && ::GetPropW(hwnd, L"slow"))
        ::DestroyWindow(hwnd);
    if (message == WM_CLOSE && ::GetPropW(hwnd, L"asks"))
        ::MessageBoxW(hwnd, L"Save changes?", L"Recorder", MB_YESNOCANCEL);
    if (message == WM_CLOSE)
        return 0;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// The title with each \uXXXX replaced by its unit.
std::wstring Unescaped(const std::wstring& title) {
    std::wstring units;
    for (size_t i = 0; i < title.size(); ++i) {
        if (title.compare(i, 2, L"\\u") == 0 && i + 6 <= title.size()) {
            units +=
                static_cast<wchar_t>(std::wcstoul(title.substr(i + 2, 4).c_str(), nullptr, 16));
            i += 5;
        } else {
            units += title[i];
        }
    }
    return units;
}

void CopyTitle(HWND owner, const std::wstring& title) {
    const std::wstring text = title + L"\f";
    const std::string html = "<b>copied</b>";
    auto global = [](const void* data, std::size_t size) {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(::GlobalLock(memory), data, size);
        ::GlobalUnlock(memory);
        return memory;
    };
    if (!::OpenClipboard(owner))
        return;
    ::EmptyClipboard();
    ::SetClipboardData(CF_UNICODETEXT, global(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
    ::SetClipboardData(::RegisterClipboardFormatW(L"HTML Format"),
                       global(html.c_str(), html.size() + 1));
    ::CloseClipboard();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ::QueryPerformanceFrequency(&frequency);
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argc < 2)
        return 2;
    logFile = ::CreateFileW(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (logFile == INVALID_HANDLE_VALUE)
        return 3;

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = RecorderProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"ClosingRecorderWindow";
    ::RegisterClassExW(&windowClass);

    HWND first = nullptr;
    bool silent = false;
    for (int i = 2; i < argc; ++i) {
        std::wstring request = argv[i];
        size_t colon = request.find(L':');
        std::wstring kind = request.substr(0, colon);
        std::wstring title = colon == std::wstring::npos ? L"" : request.substr(colon + 1);
        DWORD exStyle = kind == L"tool" ? WS_EX_TOOLWINDOW : 0;
        DWORD style = kind == L"owned" ? WS_POPUP | WS_CAPTION | WS_SYSMENU : WS_OVERLAPPEDWINDOW;
        HWND owner = kind == L"owned" ? first : nullptr;
        HWND hwnd = ::CreateWindowExW(exStyle, windowClass.lpszClassName, Unescaped(title).c_str(),
                                      style, 100 + 30 * i, 100 + 30 * i, 300, 120, owner, nullptr,
                                      instance, nullptr);
        if (!first)
            first = hwnd;
        if (kind == L"closes" || kind == L"asks" || kind == L"slow")
            ::SetPropW(hwnd, kind.c_str(), reinterpret_cast<HANDLE>(1));
        if (kind == L"hotkey")
            ::RegisterHotKey(hwnd, 1, MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_F12);
        if (kind == L"promises" && ::OpenClipboard(hwnd)) {
            ::EmptyClipboard();
            ::SetClipboardData(CF_UNICODETEXT, nullptr);  // rendered when someone reads it
            ::CloseClipboard();
            silent = true;
        }
        if (kind == L"copies")
            CopyTitle(hwnd, title);
        if (kind != L"hidden" && kind != L"hotkey") {
            ::ShowWindow(hwnd, kind == L"minimised" ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);
        }
        wchar_t line[600];
        std::swprintf(line, 600, L"WINDOW %llu %ls %ls",
                      static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)),
                      kind.c_str(), title.c_str());
        Log(line);
    }
    Log(L"READY");
    ::LocalFree(argv);
    if (silent) {
        ::Sleep(kSilentMs);
        Log(L"AWAKE");
    }

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
