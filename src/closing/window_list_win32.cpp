// Walking the desktop's top-level windows and listing those a close-all run will close.
#include <dwmapi.h>

#include <exception>
#include <iterator>

#include "closing/closing_win32.h"
#include "win32/system_function.h"

namespace {

bool IsToolWindow(HWND hwnd) {
    return (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
}

// Windows 10 and 11 call windows visible that the desktop window manager hides. Where the
// question cannot be asked, the window counts as shown.
bool IsCloaked(HWND hwnd) {
    using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    static const auto get =
        LoadSystemFunction<GetAttribute>(L"dwmapi.dll", "DwmGetWindowAttribute");
    DWORD cloaked = 0;
    return get && SUCCEEDED(get(hwnd, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
}

struct Collecting {
    WindowList& list;
    const FilterList& filters;
    std::exception_ptr failure;  // the first; nothing may unwind through the system's walk
};

}  // namespace

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
