// Which folder the program's files are looked for in when it was started through a link.
#include <gtest/gtest.h>

#include "common/program_folder.h"

namespace {

TEST(ProgramFolderOf, TheFileItselfALinkLeadsToItsTargetsFolderALinkedFolderStays) {
    const struct {
        const char16_t *module, *finalFile, *finalFolder, *folder;
    } cases[] = {
        // Started from its own folder, also typed in other case.
        {u"C:\\T\\DeskBroom.exe", u"\\\\?\\C:\\T\\DeskBroom.exe", u"\\\\?\\C:\\T", u"C:\\T"},
        {u"C:\\t\\deskbroom.EXE", u"\\\\?\\C:\\T\\DeskBroom.exe", u"\\\\?\\C:\\T", u"C:\\t"},
        // A link to the file in a Links folder, to a share too.
        {u"C:\\L\\db.exe", u"\\\\?\\C:\\P\\DB\\DeskBroom.exe", u"\\\\?\\C:\\L", u"C:\\P\\DB"},
        {u"C:\\L\\DeskBroom.exe", u"\\\\?\\UNC\\s\\sh\\DeskBroom.exe", u"\\\\?\\C:\\L",
         u"\\\\s\\sh"},
        // A linked folder.
        {u"C:\\A\\current\\DeskBroom.exe", u"\\\\?\\C:\\A\\1.1\\DeskBroom.exe",
         u"\\\\?\\C:\\A\\1.1", u"C:\\A\\current"},
        {u"D:\\DeskBroom.exe", u"\\\\?\\D:\\DeskBroom.exe", u"\\\\?\\D:\\", u"D:"},
        {u"C:\\T\\DeskBroom.exe", u"", u"", u"C:\\T"},  // final paths not to be had
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgramFolderOf(c.module, c.finalFile, c.finalFolder), c.folder)
            << std::string(c.module, c.module + std::char_traits<char16_t>::length(c.module));
    }
}

}  // namespace
