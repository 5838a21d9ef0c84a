// Files as the program looks at them: its own folder, whether one is there, whether it changed.
#pragma once

#include <cstdint>
#include <string>

// What a file looked like at one moment; two stamps that differ mean it changed in between,
// whichever program changed it and wherever the file lies.
struct FileStamp {
    bool exists = false;  // a file that is neither hidden, a system file nor a folder
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::u16string& path);

// The folder that holds the running executable, without a trailing separator; when the
// executable file itself is a link, the folder of the file it leads to (see ProgramFolderOf).
std::u16string ProgramFolder();
