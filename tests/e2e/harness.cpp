// End-to-end harness: starts DeskBroom.exe in a fresh folder and acts on it as the user and the
// desktop do.
#include "harness.h"

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace e2e {

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount64() >= end)
            return condition();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpMessages();
    }
}

void Linger(DWORD ms) {
    WaitFor([] { return false; }, ms);
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    BOOL ok = FALSE;
    while ((ok = ::ReadFile(file, buffer, sizeof buffer, &read, nullptr)) && read > 0)
        bytes.append(buffer, read);
    ::CloseHandle(file);
    return ok ? std::optional<std::string>(std::move(bytes)) : std::nullopt;
}

std::wstring BuildFolder() {
    wchar_t path[MAX_PATH * 4];
    DWORD length = ::GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return fs::path(std::wstring(path, length)).parent_path().wstring();
}

// Registry.

std::optional<RegistryValue> ReadValue(const std::wstring& key, const std::wstring& name) {
    DWORD type = 0, size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                       &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RegistryValue value{type, std::vector<BYTE>(size)};
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                       &type, value.data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

void WriteValue(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
                DWORD size) {
    HKEY hkey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, &hkey, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExW(hkey, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    ::RegCloseKey(hkey);
}

void DeleteValue(const std::wstring& key, const std::wstring& name) {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str());
}

void DeleteKeyTree(const std::wstring& key) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

std::optional<std::wstring> ReadText(const std::wstring& key, const std::wstring& name) {
    auto value = ReadValue(key, name);
    if (!value || value->type != REG_SZ)
        return std::nullopt;
    std::wstring text(reinterpret_cast<const wchar_t*>(value->data.data()),
                      value->data.size() / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

void WriteText(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    WriteValue(key, name, REG_SZ, text.c_str(),
               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::optional<std::wstring> ReadSetting(const std::wstring& name) {
    return ReadText(kSettingsKey, name);
}

void WriteSetting(const std::wstring& name, const std::wstring& text) {
    WriteText(kSettingsKey, name, text);
}

// Input.

namespace {

void SendMouse(DWORD flags, POINT at) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = static_cast<LONG>((at.x * 65535LL + width / 2) / (width - 1));
    input.mi.dy = static_cast<LONG>((at.y * 65535LL + height / 2) / (height - 1));
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    ::SendInput(1, &input, sizeof input);
}

void SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof input);
}

}  // namespace

void MoveMouseTo(POINT at) {
    SendMouse(0, at);
    WaitFor(
        [&] {
            POINT now{};
            ::GetCursorPos(&now);
            return now.x == at.x && now.y == at.y;
        },
        2000);
}

void ClickAt(POINT at, bool right) {
    MoveMouseTo(at);
    SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, at);
    ::Sleep(30);  // a press and a release, not one event
    SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, at);
}

void KeyDown(WORD vk) {
    SendKey(vk, false);
}
void KeyUp(WORD vk) {
    SendKey(vk, true);
}

void PressKey(WORD vk) {
    KeyDown(vk);
    KeyUp(vk);
}

void PressChord(std::initializer_list<WORD> keys) {
    for (WORD vk : keys)
        KeyDown(vk);
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        KeyUp(*it);
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        const SHORT key = ::VkKeyScanW(c);
        if (key & 0x100) {
            PressChord({VK_SHIFT, LOBYTE(key)});
        } else {
            PressKey(LOBYTE(key));
        }
    }
}

// Windows.

std::wstring WindowText(HWND window) {
    wchar_t text[4096] = {};
    ::GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return text;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[8192] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, static_cast<int>(std::size(text)));
    return text;
}

void PressButton(HWND dialog, int id) {
    HWND button = ::GetDlgItem(dialog, id);
    ASSERT_NE(button, nullptr) << "no button " << id;
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* className, const wchar_t* caption) {
    struct Search {
        DWORD pid;
        const wchar_t* className;
        const wchar_t* caption;
        std::vector<HWND> found;
    } search{pid, className, caption, {}};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner != s.pid || !::IsWindowVisible(window))
                return TRUE;
            wchar_t name[256] = {};
            ::GetClassNameW(window, name, 256);
            if (s.className && std::wstring(name) != s.className)
                return TRUE;
            if (s.caption && WindowText(window) != s.caption)
                return TRUE;
            s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void SaveScreenshot(const std::wstring& name, RECT area) {
    // Wine's own copy of the screen misses menus and captions: scripts/e2e.sh takes the picture
    // from the X display and removes the request. A window just shown paints a moment later.
    Linger(1000);
    fs::path folder = fs::path(BuildFolder()) / L"screenshots";
    fs::create_directories(folder);
    fs::path request = folder / (name + L".request");
    {
        std::ofstream(folder / L"request.tmp")
            << (area.right - area.left) << "x" << (area.bottom - area.top) << "+" << area.left
            << "+" << area.top;
    }
    fs::rename(folder / L"request.tmp", request);
    if (!WaitFor([&] { return !fs::exists(request); }, 10000)) {
        std::error_code ignored;
        fs::remove(request, ignored);
        std::printf("No screenshot %ls: nothing takes them outside scripts/e2e.sh\n", name.c_str());
    }
}

void SaveScreenshot(const std::wstring& name, HWND window) {
    // The client area: with no window manager on the virtual display, nobody draws the frame.
    RECT area{};
    ::GetClientRect(window, &area);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    SaveScreenshot(name, area);
}

// The tray.

namespace {

constexpr UINT kTrayIconId = 1;

// Wine's standalone tray window. It appears with the first icon shown in the session, so one
// of the test program's own is shown for a moment when none has been yet.
HWND WineTray() {
    if (HWND tray = ::FindWindowW(L"__winex11_standalone_tray", nullptr))
        return tray;
    static const bool shown = [] {
        HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        nullptr, nullptr);
        NOTIFYICONDATAW icon{};
        icon.cbSize = sizeof icon;
        icon.hWnd = window;
        icon.uID = kTrayIconId;
        icon.uFlags = NIF_ICON;
        icon.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
        if (::Shell_NotifyIconW(NIM_ADD, &icon)) {
            WaitFor([] { return ::FindWindowW(L"__winex11_standalone_tray", nullptr); }, 2000);
            ::Shell_NotifyIconW(NIM_DELETE, &icon);
        }
        return ::DestroyWindow(window);
    }();
    (void)shown;
    return ::FindWindowW(L"__winex11_standalone_tray", nullptr);
}

// Wine keeps the window that added an icon in the icon window's record (a list entry, the
// image, then the owner), in the tray's process.
std::optional<RECT> WineTrayIconOf(HWND window) {
    HWND tray = ::FindWindowW(L"__winex11_standalone_tray", nullptr);
    DWORD trayPid = 0;
    ::GetWindowThreadProcessId(tray, &trayPid);
    HANDLE trayProcess = ::OpenProcess(PROCESS_VM_READ, FALSE, trayPid);
    std::optional<RECT> found;
    for (HWND icon = nullptr;
         tray && (icon = ::FindWindowExW(tray, icon, L"__winex11_tray_icon", nullptr)) && !found;) {
        auto record = ::GetWindowLongPtrW(icon, GWLP_USERDATA);
        HWND owner = nullptr;
        RECT place{};
        if (record && ::IsWindowVisible(icon) &&
            ::ReadProcessMemory(trayProcess, reinterpret_cast<void*>(record + 3 * sizeof(void*)),
                                &owner, sizeof owner, nullptr) &&
            owner == window && ::GetWindowRect(icon, &place)) {
            found = place;
        }
    }
    if (trayProcess)
        ::CloseHandle(trayProcess);
    return found;
}

// Wine answers Shell_NotifyIconGetRect with E_NOTIMPL, whatever the icon.
bool ShellKnowsIconPlaces() {
    static const bool knows = [] {
        NOTIFYICONIDENTIFIER none{};
        none.cbSize = sizeof none;
        RECT place{};
        return ::Shell_NotifyIconGetRect(&none, &place) != E_NOTIMPL;
    }();
    return knows;
}

}  // namespace

std::optional<RECT> TrayIconOf(HWND window) {
    if (!window)
        return std::nullopt;
    if (!ShellKnowsIconPlaces())
        return WineTrayIconOf(window);
    NOTIFYICONIDENTIFIER icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = kTrayIconId;
    RECT place{};
    if (FAILED(::Shell_NotifyIconGetRect(&icon, &place)))
        return std::nullopt;
    return place;
}

bool TrayIsWines() {
    return !ShellKnowsIconPlaces();
}

std::string WineTrayFilterLine(const char* lineEnd) {
    if (ShellKnowsIconPlaces() || !WineTray())
        return "";
    return std::string("Wine System Tray") + lineEnd;
}

// Processes.

Process::~Process() {
    if (!handle_)
        return;
    if (IsRunning()) {
        ::TerminateProcess(handle_, 1);
        ::WaitForSingleObject(handle_, 5000);
    }
    ::CloseHandle(handle_);
}

bool Process::Start(std::wstring commandLine, const std::wstring& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
        error_ = ::GetLastError();
        return false;
    }
    ::CloseHandle(started.hThread);
    handle_ = started.hProcess;
    pid_ = started.dwProcessId;
    return true;
}

bool Process::IsRunning() const {
    return handle_ && ::WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs) const {
    return WaitFor([&] { return !IsRunning(); }, timeoutMs);
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (handle_)
        ::GetExitCodeProcess(handle_, &code);
    return code;
}

DWORD RunToEnd(const std::wstring& commandLine, DWORD timeoutMs) {
    Process process;
    if (!process.Start(commandLine) || !process.WaitForExit(timeoutMs))
        return ~0u;
    return process.ExitCode();
}

// Clipboard.

bool OpenClipboardSoon() {
    return WaitFor([] { return ::OpenClipboard(nullptr) != FALSE; }, 5000);
}

void SetClipboard(const std::vector<ClipboardFormat>& formats) {
    ASSERT_TRUE(OpenClipboardSoon());
    ASSERT_TRUE(::EmptyClipboard());
    for (const ClipboardFormat& format : formats) {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, format.data.size());
        ASSERT_NE(memory, nullptr);
        std::memcpy(::GlobalLock(memory), format.data.data(), format.data.size());
        ::GlobalUnlock(memory);
        EXPECT_NE(::SetClipboardData(format.id, memory), nullptr) << "format " << format.id;
    }
    ::CloseClipboard();
}

ClipboardContents ReadClipboard(const std::vector<UINT>& dataOf) {
    ClipboardContents contents;
    if (!OpenClipboardSoon()) {
        ADD_FAILURE() << "the clipboard stayed open";
        return contents;
    }
    for (UINT format = ::EnumClipboardFormats(0); format; format = ::EnumClipboardFormats(format))
        contents.formats.insert(format);
    if (HANDLE memory = ::GetClipboardData(CF_UNICODETEXT)) {
        const auto* text = static_cast<const wchar_t*>(::GlobalLock(memory));
        std::size_t units = ::GlobalSize(memory) / sizeof(wchar_t);
        contents.text = std::wstring(text, std::find(text, text + units, L'\0'));
        ::GlobalUnlock(memory);
    }
    for (UINT format : dataOf) {
        if (HANDLE memory = ::GetClipboardData(format)) {
            const auto* bytes = static_cast<const BYTE*>(::GlobalLock(memory));
            contents.data.push_back({format, {bytes, bytes + ::GlobalSize(memory)}});
            ::GlobalUnlock(memory);
        }
    }
    ::CloseClipboard();
    return contents;
}

std::vector<BYTE> TextData(const std::wstring& text) {
    std::vector<BYTE> data((text.size() + 1) * sizeof(wchar_t));
    std::memcpy(data.data(), text.c_str(), data.size());
    return data;
}

void PutClipboardText(const std::wstring& text) {
    SetClipboard({{CF_UNICODETEXT, TextData(text)}});
}

std::optional<std::wstring> ClipboardText() {
    return ReadClipboard().text;
}

namespace {

POINT CenterOf(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

fs::path TestFolder() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "adhoc";
    return fs::path(temp) / L"DeskBroomE2E" / fs::path(name);
}

}  // namespace

// DeskBroom.

DeskBroom::DeskBroom(const StartOptions& options) {
    fs::path base = TestFolder();
    fs::path folder = base / options.folderName;
    std::error_code ignored;
    if (!options.existingFolder.empty()) {
        folder = options.existingFolder;
    } else if (fs::exists(folder)) {
        // A folder left by an earlier run of the same test.
        fs::remove_all(folder, ignored);
    }
    fs::create_directories(folder);
    if (options.existingFolder.empty()) {
        fs::copy_file(fs::path(BuildFolder()) / L"DeskBroom.exe", folder / L"DeskBroom.exe",
                      fs::copy_options::overwrite_existing);
    }
    if (options.filterFile && options.existingFolder.empty()) {
        std::ofstream(folder / L"WindowsFilter.txt", std::ios::binary) << *options.filterFile;
    }
    folder_ = folder.wstring();

    if (!process_.Start(L"\"" + folder_ + L"\\DeskBroom.exe\"", folder_)) {
        ADD_FAILURE() << "DeskBroom.exe did not start, error " << process_.error();
        return;
    }
    EXPECT_TRUE(WaitFor([&] { return MainWindow() != nullptr; })) << "no main window";
    if (options.waitForTrayIcon) {
        EXPECT_TRUE(WaitForTrayIcon()) << "no tray icon";
        WaitForIdle();
    }
}

DeskBroom::~DeskBroom() {
    // Its own exit path first, so that the icon leaves the tray; the process ends regardless.
    if (HWND main = IsRunning() ? MainWindow() : nullptr) {
        ::PostMessageW(main, WM_CLOSE, 0, 0);
        WaitForExit(5000);
    }
}

HWND DeskBroom::MainWindow() const {
    struct Search {
        DWORD pid;
        HWND found;
    } search{pid(), nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s.pid && WindowText(window) == L"Desk Broom") {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool DeskBroom::IsRunning() const {
    return process_.IsRunning();
}

bool DeskBroom::WaitForExit(DWORD timeoutMs) const {
    return process_.WaitForExit(timeoutMs);
}

bool DeskBroom::EndedCleanly() const {
    return WaitForExit() && process_.ExitCode() == 0;
}

void DeskBroom::WaitForIdle(DWORD timeoutMs) const {
    if (process_.handle())
        ::WaitForInputIdle(process_.handle(), timeoutMs);
}

std::optional<RECT> DeskBroom::TrayIcon() const {
    return TrayIconOf(MainWindow());
}

bool DeskBroom::WaitForTrayIcon(DWORD timeoutMs) const {
    return WaitFor([&] { return TrayIcon().has_value(); }, timeoutMs);
}

namespace {

void ClickTrayIcon(const DeskBroom& app, bool right) {
    std::optional<RECT> icon;
    WaitFor([&] { return (icon = app.TrayIcon()).has_value(); }, 5000);
    ASSERT_TRUE(icon) << "DeskBroom has no tray icon";
    ClickAt(CenterOf(*icon), right);
}

}  // namespace

void DeskBroom::LeftClickTrayIcon() const {
    ClickTrayIcon(*this, false);
}

void DeskBroom::RightClickTrayIcon() const {
    ClickTrayIcon(*this, true);
}

HWND DeskBroom::OpenMenu() const {
    auto menus = WindowsOf(pid(), L"#32768", nullptr);
    return menus.empty() ? nullptr : menus.front();
}

HWND DeskBroom::WaitForMenu(DWORD timeoutMs) const {
    HWND menu = nullptr;
    WaitFor([&] { return (menu = OpenMenu()) != nullptr; }, timeoutMs);
    return menu;
}

void DeskBroom::PickMenuItem(wchar_t accessKey) const {
    RightClickTrayIcon();
    HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr) << "the tray menu did not open";
    PressKey(static_cast<WORD>(::VkKeyScanW(accessKey) & 0xFF));
    EXPECT_TRUE(WaitFor([&] { return OpenMenu() == nullptr; }, 5000)) << "the menu stayed open";
}

bool DeskBroom::MenuItemChecked(HWND menu, int index, int itemCount) const {
    // The menu's window is shown before its pixels reach the display, where the last menu's
    // may still stand: give its first paint a moment.
    Linger(500);
    RECT rect{};
    ::GetWindowRect(menu, &rect);
    int itemHeight = (rect.bottom - rect.top) / itemCount;
    int border = (rect.bottom - rect.top - itemHeight * itemCount) / 2;
    int top = rect.top + border + index * itemHeight;
    int column = ::GetSystemMetrics(SM_CXMENUCHECK);
    // The cursor stays where the tray was clicked, at the menu's corner: the icon's tooltip or a
    // hover highlight may cover the first item there. Away from both, they are gone.
    MoveMouseTo({rect.right + 200, rect.bottom + 200});
    if (index == kHighlighted) {
        // The longest run of rows whose right end stands out from the menu's colour; a
        // separator's line is a row or two.
        border = 3;
        const COLORREF plain = ::GetSysColor(COLOR_MENU);
        HDC screen = ::GetDC(nullptr);
        itemHeight = 0;
        for (int y = rect.top + border, runTop = 0, run = 0; y < rect.bottom - border; ++y) {
            const COLORREF c = ::GetPixel(screen, rect.right - border - 3, y);
            run = std::abs(GetRValue(c) - GetRValue(plain)) +
                              std::abs(GetGValue(c) - GetGValue(plain)) +
                              std::abs(GetBValue(c) - GetBValue(plain)) >
                          100
                      ? run + 1
                      : 0;
            runTop = run == 1 ? y : runTop;
            if (run > itemHeight)
                top = runTop, itemHeight = run;
        }
        ::ReleaseDC(nullptr, screen);
        if (itemHeight <= 4)
            return false;
    }
    // The check mark sits in the column left of the caption: count the pixels there that stand
    // out from the item's background (which is dark while the item is highlighted).
    auto marks = [&] {
        HDC screen = ::GetDC(nullptr);
        COLORREF background = ::GetPixel(screen, rect.right - border - 3, top + itemHeight / 2);
        int marked = 0;
        for (int y = top + 1; y < top + itemHeight - 1; ++y) {
            for (int x = rect.left + border; x < rect.left + border + column; ++x) {
                COLORREF c = ::GetPixel(screen, x, y);
                int difference = std::abs(GetRValue(c) - GetRValue(background)) +
                                 std::abs(GetGValue(c) - GetGValue(background)) +
                                 std::abs(GetBValue(c) - GetBValue(background));
                if (c != CLR_INVALID && difference > 200)
                    ++marked;
            }
        }
        ::ReleaseDC(nullptr, screen);
        return marked;
    };
    // A menu that just opened may not be on the screen yet, and a busy machine shows what lay
    // beneath it for a moment: read until the column looks the same a while apart.
    ::UpdateWindow(menu);
    int marked = marks();
    for (int tries = 0; tries < 20; ++tries) {
        ::Sleep(150);
        int again = marks();
        if (again == marked && tries > 0)
            break;
        marked = again;
    }
    return marked >= 4;
}

HWND DeskBroom::OpenOptions() const {
    RightClickTrayIcon();
    const HWND menu = WaitForMenu();
    HWND options = nullptr;
    PressKey('O');
    WaitFor([&] {
        for (HWND open : WindowsOf(pid(), L"#32768", nullptr))
            options = open != menu ? open : options;
        return menu && options;
    });
    return options;
}

void DeskBroom::PickOption(wchar_t accessKey) const {
    ASSERT_NE(OpenOptions(), nullptr) << "the Options submenu did not open";
    PressKey(static_cast<WORD>(::VkKeyScanW(accessKey) & 0xFF));
    EXPECT_TRUE(WaitFor([&] { return OpenMenu() == nullptr; }, 5000)) << "the menu stayed open";
}

HWND DeskBroom::FindMessageBox() const {
    auto boxes = WindowsOf(pid(), L"#32770", L"DeskBroom");
    return boxes.empty() ? nullptr : boxes.front();
}

HWND DeskBroom::WaitForMessageBox(DWORD timeoutMs) const {
    HWND box = nullptr;
    WaitFor([&] { return (box = FindMessageBox()) != nullptr; }, timeoutMs);
    return box;
}

bool DeskBroom::ExitThroughMenu() {
    PickMenuItem(L'e');
    return WaitForExit();
}

// Fixture.

void DeskBroomTest::SetUp() {
    DeleteKeyTree(kAppKey);
}

void DeskBroom::PlaceRecorder(const std::wstring& name) const {
    ASSERT_TRUE(::CopyFileW((BuildFolder() + L"\\helpers\\Write.exe").c_str(),
                            (folder_ + L"\\" + name + L".exe").c_str(), FALSE))
        << "the recorder is built into helpers\\Write.exe";
}

std::optional<std::wstring> DeskBroom::RecordedCommandLine(const std::wstring& name) const {
    // The recorder renames its record into place once it is whole.
    std::optional<std::string> bytes;
    if (!WaitFor([&] {
            return (bytes = ReadFileBytes(folder_ + L"\\" + name + L".cmdline.txt")).has_value();
        }))
        return std::nullopt;
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes->data()),
                        bytes->size() / sizeof(wchar_t));
}

}  // namespace e2e
