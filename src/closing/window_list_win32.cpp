// Walking the desktop's top-level windows and listing those a close-all run will close.
#include "closing/closing_win32.h"

#include <iterator>

namespace fktAPI {

WindowList lngWindowList;

bool IsToolWindow(HWND hwnd) {
    return (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
}

BOOL CALLBACK EnumWindowsCallback(HWND hwnd, LPARAM) {
    try {
        WindowFacts facts;
        facts.visible = ::IsWindowVisible(hwnd) != FALSE;
        facts.hasParent = ::GetParent(hwnd) != nullptr;
        facts.toolWindow = IsToolWindow(hwnd);
        wchar_t title[kMaxTitleLength + 1];
        int length = 0;
        if (facts.visible && !facts.hasParent && !facts.toolWindow) {
            length = ::GetWindowTextW(hwnd, title, static_cast<int>(std::size(title)));
        }
        if (length <= 0)
            return TRUE;
        facts.title = std::u16string_view(reinterpret_cast<const char16_t*>(title),
                                          static_cast<std::size_t>(length));
        if (IsWindowSelected(facts, fktVariablen::svFilterList)) {
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
