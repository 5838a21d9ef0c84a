// Walking the desktop's top-level windows and listing those a close-all run will close.
#include <dwmapi.h>

#include <exception>
#include <iterator>
#include <string>

#include "closing/closing_win32.h"
#include "win32/system_function.h"
#include "win32/unique_handle.h"

namespace {

bool IsToolWindow(HWND hwnd) {
    return (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
}

// The whole path of the program's file that runs the process, read with the least rights, which
// every process grants, elevated ones too; empty when the system does not tell. Most paths fit
// the first buffer; a longer one (deep folders, a \\?\ path) is read again into the largest.
std::u16string ProgramOf(DWORD processId) {
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return {};
    wchar_t path[1025];
    DWORD length = static_cast<DWORD>(std::size(path));
    if (::QueryFullProcessImageNameW(process.get(), 0, path, &length))
        return std::u16string(reinterpret_cast<const char16_t*>(path), length);
    std::wstring longPath(kMaxProgramPathLength + 1, L'\0');
    length = static_cast<DWORD>(longPath.size());
    if (!::QueryFullProcessImageNameW(process.get(), 0, longPath.data(), &length))
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(longPath.data()), length);
}

bool IsProgramFile(std::u16string_view path, std::wstring_view fileName) {
    const std::size_t separator = path.find_last_of(u'\\');
    const std::u16string_view name = path.substr(separator == path.npos ? 0 : separator + 1);
    return ::CompareStringOrdinal(reinterpret_cast<const wchar_t*>(name.data()),
                                  static_cast<int>(name.size()), fileName.data(),
                                  static_cast<int>(fileName.size()), TRUE) == CSTR_EQUAL;
}

struct Collecting {
    WindowList& list;
    const FilterList& filters;
    std::exception_ptr failure;  // the first; nothing may unwind through the system's walk
};

}  // namespace

// Windows 10 and 11 call windows visible that the desktop window manager hides. Where the
// question cannot be asked, the window counts as shown.
bool IsCloaked(HWND hwnd) {
    using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    static const auto get =
        LoadSystemFunction<GetAttribute>(L"dwmapi.dll", "DwmGetWindowAttribute");
    DWORD cloaked = 0;
    return get && SUCCEEDED(get(hwnd, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
}

// The program that owns the window as the user knows it. A Store app's window is a frame of
// ApplicationFrameHost.exe around a child window of the app's own process.
std::u16string ProgramOfWindow(HWND hwnd) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hwnd, &processId);
    std::u16string program = ProgramOf(processId);
    if (!IsProgramFile(program, L"ApplicationFrameHost.exe"))
        return program;
    struct Search {
        DWORD frame;
        DWORD app;
    } search{processId, 0};
    ::EnumChildWindows(
        hwnd,
        [](HWND child, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            ::GetWindowThreadProcessId(child, &s.app);
            return s.app == s.frame;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.app != 0 && search.app != processId ? ProgramOf(search.app) : program;
}

bool IsSelectedNow(HWND hwnd, const FilterList& filters) {
    WindowFacts facts;
    facts.visible = ::IsWindowVisible(hwnd) != FALSE;
    facts.hasParent = ::GetParent(hwnd) != nullptr;
    facts.toolWindow = IsToolWindow(hwnd);
    // WM_CLOSE to the shell's desktop opens the Shut Down dialog.
    facts.shellDesktop = hwnd == ::GetShellWindow();
    if (!facts.visible || facts.hasParent || facts.toolWindow || facts.shellDesktop)
        return false;
    facts.cloaked = IsCloaked(hwnd);
    if (facts.cloaked)
        return false;
    // One unit beyond the tested length shows whether the cut falls inside a surrogate pair.
    wchar_t title[kMaxTitleLength + 2];
    int length = ::GetWindowTextW(hwnd, title, static_cast<int>(std::size(title)));
    if (length <= 0)
        return false;
    facts.title = std::u16string_view(reinterpret_cast<const char16_t*>(title),
                                      static_cast<std::size_t>(length));
    // Only program lines need the program: without them no process is opened.
    std::u16string program;
    if (filters.HasProgramPatterns()) {
        program = ProgramOfWindow(hwnd);
        facts.program = program;
    }
    return IsWindowSelected(facts, filters);
}

namespace {

BOOL CALLBACK EnumWindowsCallback(HWND hwnd, LPARAM collecting) {
    auto& [list, filters, failure] = *reinterpret_cast<Collecting*>(collecting);
    try {
        if (IsSelectedNow(hwnd, filters)) {
            DWORD processId = 0;
            DWORD threadId = ::GetWindowThreadProcessId(hwnd, &processId);
            list.Add({reinterpret_cast<std::uintptr_t>(hwnd), processId, threadId});
        }
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    return TRUE;
}

}  // namespace

void CloseAll::CollectWindows(const FilterList& filters) {
    Collecting collecting{lngWindowList, filters, nullptr};
    ::EnumWindows(&EnumWindowsCallback, reinterpret_cast<LPARAM>(&collecting));
    // After the walk, into the program's one failure path.
    if (collecting.failure)
        std::rethrow_exception(collecting.failure);
}
