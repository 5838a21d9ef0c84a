// The window filter file beside the program: loading it and editing it in Notepad.
#include "app/frm_desk_broom_win32.h"

#include "closing/closing_win32.h"
#include "closing/filter_file.h"
#include "win32/ui_win32.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

namespace {

std::u16string DecodeAnsi(std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
    return ToU16(wide);
}

}  // namespace

namespace fktVariablen {
FilterList svFilterList;
}  // namespace fktVariablen

namespace fktAllgModule {

std::u16string WindowsFilterPath() {
    return ProgramFolder() + u"\\WindowsFilter.txt";
}

bool FileExists(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(ToWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    return (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

void ReadFilterFile(const std::u16string& path) {
    // Other programs may hold the file open, Notepad among them; sharing everything keeps the
    // read from failing only because of that.
    UniqueHandle file(::CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        file.release();

    FilterList list;
    bool complete = false;
    if (file) {
        FilterFileSource source = [&](std::span<char> buffer) -> std::optional<std::size_t> {
            DWORD read = 0;
            if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read,
                            nullptr)) {
                return std::nullopt;
            }
            return read;
        };
        // Straight into the list: the file's text is never held beyond the reader's buffers.
        complete = ReadFilterPatterns(
            source, &DecodeAnsi, kMaxFilterPatterns,
            [&](std::u16string_view pattern, bool cut) { list.Add(pattern, cut); });
    }
    if (!complete) {
        fktVariablen::svFilterList = FilterList();
        ShowMessage(u"The Filter file: \r" + path + u" could not be read !");
        return;
    }
    list.Finish();
    fktVariablen::svFilterList = std::move(list);
}

void LoadWindowsFilter() {
    const std::u16string path = WindowsFilterPath();
    if (FileExists(path)) {
        ReadFilterFile(path);
        return;
    }
    ::MessageBeep(MB_OK);
    ShowMessage(u"The Filter file: \r" + path + u" could not be found !");
    fktVariablen::svFilterList = FilterList();
}

void EditFileInNotepad(const std::u16string& path) {
    if (!fktAPI::ExecAndWait(u"Notepad \"" + path + u"\"")) {
        ShowMessage(u"Your PC does not contain 'Notepad.exe'. The Log-File can not be shown");
        return;
    }
    ProcessPendingMessages();
    LoadWindowsFilter();
}

}  // namespace fktAllgModule

namespace fktAPI {

bool ExecAndWait(const std::u16string& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring command = ToWide(commandLine);
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                          nullptr, nullptr, &startup, &started)) {
        return false;
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    ::WaitForSingleObject(process.get(), INFINITE);
    return true;
}

}  // namespace fktAPI

void frmDeskBroom::LoadWindowsFilter() {
    fktAllgModule::LoadWindowsFilter();
}

void frmDeskBroom::mSetWindowsFilter_Click() {
    fktAllgModule::EditFileInNotepad(fktAllgModule::WindowsFilterPath());
}
