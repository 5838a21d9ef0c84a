// Walking the desktop's top-level windows and listing those a close-all run will close.
#include <dwmapi.h>

#include <deque>
#include <exception>
#include <iterator>
#include <string>
#include <vector>

#include "closing/closing_win32.h"
#include "win32/system_function.h"
#include "win32/unique_handle.h"

namespace {

// The whole path of the program's file that runs the process, read with the least rights, which
// every process grants, elevated ones too; empty when the system does not tell. Most paths fit
// the first buffer; a longer one (deep folders, a \\?\ path) is read again into the largest.
std::u16string ProgramOf(DWORD processId) {
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return {};
    for (const DWORD size : {DWORD{1025}, DWORD{kMaxProgramPathLength + 1}}) {
        std::wstring path(size, L'\0');
        DWORD length = size;
        if (::QueryFullProcessImageNameW(process.get(), 0, path.data(), &length))
            return std::u16string(reinterpret_cast<const char16_t*>(path.data()), length);
    }
    return {};
}

bool IsProgramFile(std::u16string_view path, std::wstring_view fileName) {
    const std::size_t separator = path.find_last_of(u'\\');
    const std::u16string_view name = path.substr(separator == path.npos ? 0 : separator + 1);
    return ::CompareStringOrdinal(reinterpret_cast<const wchar_t*>(name.data()),
                                  static_cast<int>(name.size()), fileName.data(),
                                  static_cast<int>(fileName.size()), TRUE) == CSTR_EQUAL;
}

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

namespace {

struct Collecting {
    WindowList& list;
    const FilterList& filters;
    HWND spared;                 // the window in front when it is spared, else null
    std::exception_ptr failure;  // the first; nothing may unwind through the system's walk
};

// What the selection rules read of the window as it is now; the title into `title`, and the
// program into `program` only when given. Reading stops at the first fact that rules it out.
WindowFacts ReadWindowFacts(HWND hwnd, std::u16string& title, std::u16string* program) {
    WindowFacts facts;
    facts.visible = ::IsWindowVisible(hwnd) != FALSE;
    facts.hasParent = ::GetParent(hwnd) != nullptr;
    facts.toolWindow = (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    // WM_CLOSE to the shell's desktop opens the Shut Down dialog.
    facts.shellDesktop = hwnd == ::GetShellWindow();
    if (!facts.visible || facts.hasParent || facts.toolWindow || facts.shellDesktop)
        return facts;
    facts.cloaked = IsCloaked(hwnd);
    if (facts.cloaked)
        return facts;
    // One unit beyond the tested length shows whether the cut falls inside a surrogate pair.
    wchar_t text[kMaxTitleLength + 2];
    const int length = ::GetWindowTextW(hwnd, text, static_cast<int>(std::size(text)));
    title.assign(reinterpret_cast<const char16_t*>(text),
                 static_cast<std::size_t>(length > 0 ? length : 0));
    facts.title = title;
    if (program && !title.empty()) {
        *program = ProgramOfWindow(hwnd);
        facts.program = *program;
    }
    return facts;
}

}  // namespace

bool IsSelectedNow(HWND hwnd, const FilterList& filters) {
    std::u16string title;
    std::u16string program;
    // Only program lines need the program: without them no process is opened.
    const WindowFacts facts =
        ReadWindowFacts(hwnd, title, filters.HasProgramPatterns() ? &program : nullptr);
    return IsWindowSelected(facts, filters);
}

bool IsCopyExempt(HWND window, const FilterList& filters) {
    // Without copy lines no process is opened.
    return window && filters.HasCopyPatterns() &&
           filters.MatchesCopy(PrepareWindow({}, ProgramOfWindow(window)));
}

HWND WindowInFrontNow() {
    struct Snapshot {
        std::vector<HWND> handles;
        std::deque<std::u16string> titles;  // where the facts' titles are held
        std::vector<WindowFacts> facts;
        std::exception_ptr failure;
    } snapshot;
    ::EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Snapshot*>(data);
            try {
                s.facts.push_back(ReadWindowFacts(hwnd, s.titles.emplace_back(), nullptr));
                s.handles.push_back(hwnd);
            } catch (...) {
                s.failure = std::current_exception();
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&snapshot));
    if (snapshot.failure)
        std::rethrow_exception(snapshot.failure);
    const std::size_t front = WindowInFront(snapshot.facts);
    return front < snapshot.handles.size() ? snapshot.handles[front] : nullptr;
}

namespace {

BOOL CALLBACK EnumWindowsCallback(HWND hwnd, LPARAM collecting) {
    auto& [list, filters, spared, failure] = *reinterpret_cast<Collecting*>(collecting);
    try {
        if (hwnd != spared && IsSelectedNow(hwnd, filters)) {
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

void CloseAll::CollectWindows(const FilterList& filters, HWND spared) {
    Collecting collecting{lngWindowList, filters, spared, nullptr};
    ::EnumWindows(&EnumWindowsCallback, reinterpret_cast<LPARAM>(&collecting));
    // After the walk, into the program's one failure path.
    if (collecting.failure)
        std::rethrow_exception(collecting.failure);
}
