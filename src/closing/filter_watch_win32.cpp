// Watching the program's folder for changes of the filter file, whichever program makes them.
#include "closing/closing_win32.h"

#include <cstddef>

#include "win32/wide_text.h"

namespace {

constexpr wchar_t kFilterFileName[] = L"WindowsFilter.txt";

// True when one of the notifications names the filter file. Paths in the folder compare without
// regard to case, as the file system does.
bool NamesFilterFile(const BYTE* notifications) {
    for (;;) {
        const auto* entry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(notifications);
        const int length = static_cast<int>(entry->FileNameLength / sizeof(wchar_t));
        if (::CompareStringOrdinal(entry->FileName, length, kFilterFileName, -1, TRUE) ==
            CSTR_EQUAL) {
            return true;
        }
        if (entry->NextEntryOffset == 0)
            return false;
        notifications += entry->NextEntryOffset;
    }
}

}  // namespace

FilterFileWatcher::~FilterFileWatcher() {
    if (!thread_)
        return;
    ::SetEvent(stop_.get());
    ::WaitForSingleObject(thread_.get(), INFINITE);
}

void FilterFileWatcher::Start(const std::u16string& folder, HWND window, UINT message) {
    window_ = window;
    message_ = message;
    folder_.reset(::CreateFileW(ToWide(folder).c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED,
                                nullptr));
    stop_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    changed_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    // Without a watch, edits still count after Set Windows Filter and at the next start.
    if (!folder_ || !stop_ || !changed_)
        return;
    thread_.reset(::CreateThread(nullptr, 0, &FilterFileWatcher::Run, this, 0, nullptr));
}

DWORD WINAPI FilterFileWatcher::Run(void* self) {
    auto& watcher = *static_cast<FilterFileWatcher*>(self);
    HANDLE folder = watcher.folder_.get();
    alignas(DWORD) BYTE notifications[4096];
    for (;;) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = watcher.changed_.get();
        if (!::ReadDirectoryChangesW(folder, notifications, sizeof notifications, FALSE,
                                     FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                                         FILE_NOTIFY_CHANGE_SIZE,
                                     nullptr, &overlapped, nullptr)) {
            return 0;
        }
        const HANDLE events[] = {watcher.stop_.get(), overlapped.hEvent};
        DWORD bytes = 0;
        if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            ::CancelIo(folder);
            ::GetOverlappedResult(folder, &overlapped, &bytes, TRUE);
            return 0;
        }
        if (!::GetOverlappedResult(folder, &overlapped, &bytes, FALSE))
            return 0;
        // No bytes: more changed than the buffer could tell, the file among them perhaps.
        if (bytes == 0 || NamesFilterFile(notifications))
            ::PostMessageW(watcher.window_, watcher.message_, 0, 0);
    }
}
