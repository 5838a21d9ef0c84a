// Files as the program looks at them: whether one is there.
#include "win32/files.h"

#include <windows.h>

#include "win32/wide_text.h"

bool FileExists(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(ToWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    return (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}
