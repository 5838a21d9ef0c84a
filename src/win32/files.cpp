// Files as the program looks at them: its own folder, whether one is there, whether it changed.
#include "win32/files.h"

#include <windows.h>

#include "common/program_folder.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

namespace {

// Where the system ends up for a file or folder, links and junctions followed ("\\?\" form);
// empty when it cannot be had.
std::u16string FinalPath(const std::wstring& path) {
    // Backup semantics: a folder opens too. No access is asked for, so nothing is held locked.
    UniqueFile file(::CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return {};
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        DWORD length =
            ::GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        const bool fits = length < final.size();  // else: the size it needs, its NUL counted
        final.resize(length);
        if (fits)
            return ToU16(final);
    }
}

std::u16string FindProgramFolder() {
    std::wstring module(MAX_PATH, L'\0');
    DWORD length;
    // A path cut to the buffer fills it whole: try again with twice the room.
    while ((length = ::GetModuleFileNameW(nullptr, module.data(),
                                          static_cast<DWORD>(module.size()))) == module.size())
        module.resize(module.size() * 2);
    if (length == 0)
        return u".";
    module.resize(length);
    std::wstring folder = module.substr(0, module.find_last_of(L"\\/"));
    if (folder.ends_with(L':'))
        folder += L'\\';  // the drive's root, not its current folder
    return ProgramFolderOf(ToU16(module), FinalPath(module), FinalPath(folder));
}

}  // namespace

FileStamp StampOf(const std::u16string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(ToWide(path).c_str(), GetFileExInfoStandard, &data))
        return {};
    if (data.dwFileAttributes &
        (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
        return {};
    }
    return {true, static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow,
            static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                data.ftLastWriteTime.dwLowDateTime};
}

std::u16string ProgramFolder() {
    // Found once: the program does not move while it runs, and following the links opens files,
    // which every tray click and hotkey would otherwise repeat.
    static const std::u16string folder = FindProgramFolder();
    return folder;
}
