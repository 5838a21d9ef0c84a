// The Help command line and the message shown when the word processor cannot start.
#include <gtest/gtest.h>

#include "system/help.h"

namespace {

TEST(HelpCommandLine, WriteAndTheDocumentsQuotedPath) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"C:\\Tools", u"Write \"C:\\Tools\\DeskBroom.doc\""},
        {u"C:\\Program Files\\Desk Broom",
         u"Write \"C:\\Program Files\\Desk Broom\\DeskBroom.doc\""},
        {u"C:\\Users\\J\u00F6rg\\\u684C\u9762",
         u"Write \"C:\\Users\\J\u00F6rg\\\u684C\u9762\\DeskBroom.doc\""},
        {u"E:", u"Write \"E:\\DeskBroom.doc\""},
    };
    for (const auto& [folder, commandLine] : cases) {
        EXPECT_EQ(HelpCommandLine(folder), commandLine);
    }
}

TEST(HelpNotFoundText, MessageThenAnEmptyLineThenTheDocumentsPath) {
    EXPECT_EQ(HelpNotFoundText(u"Not found !\rSee the \rlocation below.", u"C:\\A B"),
              u"Not found !\rSee the \rlocation below.\r\rC:\\A B\\DeskBroom.doc");
}

}  // namespace
