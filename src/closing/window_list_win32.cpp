// Walking the desktop's top-level windows and listing those a close-all run will close.
#include "closing/closing_win32.h"

#include <iterator>

namespace fktAPI {

WindowList lngWindowList;

bool IsToolWindow(HWND hwnd) {
    return (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
}

bool IsSelectedNow(HWND hwnd) {
    WindowFacts facts;
    facts.visible = ::IsWindowVisible(hwnd) != FALSE;
    facts.hasParent = ::GetParent(hwnd) != nullptr;
    facts.toolWindow = IsToolWindow(hwnd);
    if (!facts.visible || facts.hasParent || facts.toolWindow)
        return false;
    // One unit beyond the tested length shows whether the cut falls inside a surrogate pair.
    wchar_t title[kMaxTitleLength + 2];
    int length = ::GetWindowTextW(hwnd, title, static_cast<int>(std::size(title)));
    if (length <= 0)
        return false;
    facts.title = std::u16string_view(reinterpret_cast<const char16_t*>(title),
                                      static_cast<std::size_t>(length));
    return IsWindowSelected(facts, fktVariablen::svFilterList);
}

BOOL CALLBACK EnumWindowsCallback(HWND hwnd, LPARAM) {
    try {
        if (IsSelectedNow(hwnd)) {
            DWORD processId = 0;
            DWORD threadId = ::GetWindowThreadProcessId(hwnd, &processId);
            lngWindowList.Add({reinterpret_cast<std::uintptr_t>(hwnd), processId, threadId});
        }
    } catch (...) {
        // Out of memory for one title: that window is left out, the walk goes on.
    }
    return TRUE;
}

void CollectWindows() {
    ::EnumWindows(&EnumWindowsCallback, 0);
}

}  // namespace fktAPI
