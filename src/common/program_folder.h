// The program's folder when it was started through a link: which folder its files are looked for
// in.
#pragma once

#include <string>
#include <string_view>

// The folder of DeskBroom.exe, without a trailing separator (a drive root stays "C:"), given the
// module's path as it was started and the final paths, as the system resolves links and
// junctions ("\\?\" form), of the module file and of the folder it was started from; a final
// path that could not be had is empty.
//
// A package manager's Links folder holds a link to the executable itself: the folder is then the
// one of the file it leads to. A folder reached through a linked folder or junction (a "current"
// folder that follows updates) stays as it was started, so that an autostart entry naming it
// survives the next update. The module file is itself a link exactly when its final path differs
// from the final path of its folder joined with its name.
std::u16string ProgramFolderOf(std::u16string_view modulePath, std::u16string_view finalFile,
                               std::u16string_view finalFolder);
