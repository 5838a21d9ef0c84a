// The program's folder when it was started through a link: which folder its files are looked for
// in.
#include "common/program_folder.h"

#include "common/text.h"

namespace {

constexpr std::u16string_view kSeparators = u"\\/";

std::u16string_view FolderOf(std::u16string_view path) {
    const std::size_t last = path.find_last_of(kSeparators);
    return last == std::u16string_view::npos ? u"." : path.substr(0, last);
}

std::u16string_view FileNameOf(std::u16string_view path) {
    const std::size_t last = path.find_last_of(kSeparators);
    return last == std::u16string_view::npos ? path : path.substr(last + 1);
}

// "\\?\C:\x" as "C:\x", "\\?\UNC\server\share" as "\\server\share".
std::u16string WithoutFinalPathPrefix(std::u16string_view path) {
    if (path.starts_with(u"\\\\?\\UNC\\"))
        return u"\\\\" + std::u16string(path.substr(8));
    if (path.starts_with(u"\\\\?\\"))
        path.remove_prefix(4);
    return std::u16string(path);
}

}  // namespace

std::u16string ProgramFolderOf(std::u16string_view modulePath, std::u16string_view finalFile,
                               std::u16string_view finalFolder) {
    if (finalFile.empty() || finalFolder.empty())
        return std::u16string(FolderOf(modulePath));
    std::u16string joined(finalFolder);
    if (!joined.ends_with(u'\\'))
        joined += u'\\';
    joined += FileNameOf(modulePath);
    // File names differ in case only where the user typed them so.
    if (AsciiUpper(joined) == AsciiUpper(finalFile))
        return std::u16string(FolderOf(modulePath));
    return std::u16string(FolderOf(WithoutFinalPathPrefix(finalFile)));
}
