// Files as the program looks at them: whether one is there, and whether it changed since.
#include "win32/files.h"

#include <windows.h>

#include "win32/wide_text.h"

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
