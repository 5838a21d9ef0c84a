// Which folder the program's files are looked for in when it was started through a link.
#include <gtest/gtest.h>

#include "common/program_folder.h"

namespace {

TEST(ProgramFolderOf, TheFileItselfALinkLeadsToItsTargetsFolderALinkedFolderStays) {
    const struct {
        const char16_t *module, *finalFile, *finalFolder, *folder;
    } cases[] = {
        {u"C:\\Tools\\DeskBroom.exe", u"\\\\?\\C:\\Tools\\DeskBroom.exe", u"\\\\?\\C:\\Tools",
         u"C:\\Tools"},
        {u"C:\\TOOLS\\deskbroom.EXE", u"\\\\?\\C:\\Tools\\DeskBroom.exe", u"\\\\?\\C:\\Tools",
         u"C:\\TOOLS"},
        {u"C:\\WinGet\\Links\\deskbroom.exe", u"\\\\?\\C:\\WinGet\\Packages\\DB\\DeskBroom.exe",
         u"\\\\?\\C:\\WinGet\\Links", u"C:\\WinGet\\Packages\\DB"},
        {u"C:\\scoop\\apps\\db\\current\\DeskBroom.exe",
         u"\\\\?\\C:\\scoop\\apps\\db\\1.1\\DeskBroom.exe", u"\\\\?\\C:\\scoop\\apps\\db\\1.1",
         u"C:\\scoop\\apps\\db\\current"},
        {u"C:\\Links\\DeskBroom.exe", u"\\\\?\\UNC\\server\\share\\DB\\DeskBroom.exe",
         u"\\\\?\\C:\\Links", u"\\\\server\\share\\DB"},
        {u"D:\\DeskBroom.exe", u"\\\\?\\D:\\DeskBroom.exe", u"\\\\?\\D:\\", u"D:"},
        {u"C:\\Links\\DeskBroom.exe", u"\\\\?\\E:\\DeskBroom.exe", u"\\\\?\\C:\\Links", u"E:"},
        {u"C:\\Tools\\DeskBroom.exe", u"", u"", u"C:\\Tools"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgramFolderOf(c.module, c.finalFile, c.finalFolder), c.folder)
            << std::string(c.module, c.module + std::char_traits<char16_t>::length(c.module));
    }
}

}  // namespace
