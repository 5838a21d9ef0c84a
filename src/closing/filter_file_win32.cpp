// The window filter file beside the program: loading it and editing it in Notepad.
#include <optional>

#include "closing/closing_win32.h"
#include "closing/filter_file.h"
#include "win32/files.h"
#include "win32/process.h"
#include "win32/ui_win32.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

std::u16string WindowsFilter::WindowsFilterPath() {
    return ProgramFolder() + u"\\WindowsFilter.txt";
}

namespace {

// The file's patterns; nothing when it could not be opened or read.
std::optional<FilterList> ReadFilterList(const std::u16string& path) {
    // Other programs may hold the file open, Notepad among them; sharing everything keeps the
    // read from failing only because of that.
    UniqueFile file(::CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return std::nullopt;
    FilterList list;
    FilterFileSource source = [&](std::span<char> buffer) -> std::optional<std::size_t> {
        DWORD read = 0;
        const bool ok = ::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                   &read, nullptr) != FALSE;
        return ok ? std::optional<std::size_t>(read) : std::nullopt;
    };
    // Straight into the list: the file's text is never held beyond the reader's buffers.
    if (!ReadFilterPatterns(
            source, &FromAnsi, kMaxFilterPatterns,
            [&](std::u16string_view pattern, bool cut) { list.Add(pattern, cut); })) {
        return std::nullopt;
    }
    list.Finish();
    return list;
}

}  // namespace

bool WindowsFilter::ReadFilterFile(const std::u16string& path) {
    std::optional<FilterList> list = ReadFilterList(path);
    svFilterList = list ? std::move(*list) : FilterList();
    if (!list)
        ShowMessage(u"The Filter file: \r" + path + u" could not be read !");
    return list.has_value();
}

void WindowsFilter::ReportMissingFile(const std::u16string& path) {
    ::MessageBeep(MB_OK);
    ShowMessage(u"The Filter file: \r" + path + u" could not be found !");
}

void WindowsFilter::LoadWindowsFilter() {
    missingUntold_ = false;
    const std::u16string path = WindowsFilterPath();
    // Looked at before reading: a change made during the read is seen at the next look.
    const FileStamp stamp = StampOf(path);
    loaded_ = stamp;
    if (stamp.exists) {
        if (!ReadFilterFile(path))
            loaded_.reset();
        return;
    }
    ReportMissingFile(path);
    svFilterList = FilterList();
}

void WindowsFilter::ReloadIfChanged() {
    const std::u16string path = WindowsFilterPath();
    const FileStamp stamp = StampOf(path);
    if (loaded_ == stamp)
        return;
    std::optional<FilterList> list = stamp.exists ? ReadFilterList(path) : FilterList();
    if (!list)
        return;
    svFilterList = std::move(*list);
    missingUntold_ = !stamp.exists;
    loaded_ = stamp;
}

void WindowsFilter::TellMissingFile() {
    if (!missingUntold_)
        return;
    missingUntold_ = false;
    ReportMissingFile(WindowsFilterPath());
}

void WindowsFilter::EditFileInNotepad(const std::u16string& path) {
    if (!StartCommandLine(u"Notepad \"" + path + u"\"", ProcessWait::UntilEnded)) {
        ShowMessage(u"Your PC does not contain 'Notepad.exe'. The Log-File can not be shown");
        return;
    }
    // Exit chosen while Notepad was open: nothing is reloaded and no message shown on the way out.
    if (!QuitRequested())
        LoadWindowsFilter();
}
