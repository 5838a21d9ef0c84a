// Files as the program looks at them: whether one is there.
#pragma once

#include <string>

// True for an existing file that is neither hidden, a system file nor a folder.
bool FileExists(const std::u16string& path);
