// The notification after a close-all run: its lines, the count beyond five, the length limit.
#include <gtest/gtest.h>

#include "closing/stayed_open.h"

namespace {

using R = StayReason;

TEST(StayedOpenText, NamesEachWindowWithItsReason) {
    struct Case {
        std::vector<StayedOpen> windows;
        std::u16string text;
    };
    const Case cases[] = {
        {{}, u""},
        {{{u"Untitled - Notepad", R::AskingAQuestion}},
         u"1 window stayed open:\nUntitled - Notepad: is asking a question"},
        {{{u"A", R::RunsAsAdministrator},
          {u"B", R::AskingAQuestion},
          {u"C", R::NotResponding},
          {u"D", R::DidNotClose},
          {u"E", R::DidNotClose},
          {u"F", R::DidNotClose},
          {u"G", R::AskingAQuestion}},
         u"7 windows stayed open:\nA: runs as administrator\nB: is asking a question\n"
         u"C: is not responding\nD: did not close\nE: did not close\nand 2 more"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StayedOpenText(c.windows), c.text);
}

// Long titles share the room that is left; a short one stays whole, a pair is never split.
TEST(StayedOpenText, LongTitlesAreShortenedToFit) {
    const std::u16string longTitle(127, u'x');
    const std::u16string emoji = u"\U0001F600";
    std::u16string pairs;
    for (int i = 0; i < 64; ++i)
        pairs += emoji;
    const std::vector<StayedOpen> windows = {
        {longTitle, R::RunsAsAdministrator}, {u"Short", R::DidNotClose},
        {pairs, R::AskingAQuestion},         {longTitle, R::NotResponding},
        {longTitle, R::DidNotClose},         {u"Sixth", R::DidNotClose}};
    const std::u16string text = StayedOpenText(windows);
    EXPECT_LE(text.size(), kMaxNotificationLength);
    EXPECT_GE(text.size(), kMaxNotificationLength - 4) << "room left unused";
    EXPECT_NE(text.find(u"\nShort: did not close\n"), std::u16string::npos);
    EXPECT_NE(text.find(u"xxx...: runs as administrator\n"), std::u16string::npos);
    EXPECT_NE(text.find(emoji + u"...: is asking"), std::u16string::npos);
    EXPECT_TRUE(text.ends_with(u"...: did not close\nand 1 more"));
}

}  // namespace
