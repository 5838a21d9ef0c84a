// The notification after a close-all run: its lines, the count beyond five, the length limit.
#include <gtest/gtest.h>

#include "closing/stayed_open.h"

namespace {

using R = StayReason;

TEST(StayedOpenText, NamesEachWindowWithItsReason) {
    EXPECT_EQ(StayedOpenText({}), u"");
    EXPECT_EQ(StayedOpenText({{u"Untitled - Notepad", R::AskingAQuestion}}),
              u"1 window stayed open:\nUntitled - Notepad: is asking a question");
    EXPECT_EQ(StayedOpenText({{u"A", R::RunsAsAdministrator},
                              {u"B", R::AskingAQuestion},
                              {u"C", R::NotResponding},
                              {u"D", R::DidNotClose},
                              {u"E", R::DidNotClose},
                              {u"F", R::DidNotClose},
                              {u"G", R::AskingAQuestion}}),
              u"7 windows stayed open:\nA: runs as administrator\nB: is asking a question\n"
              u"C: is not responding\nD: did not close\nE: did not close\nand 2 more");
}

// Long titles share the room that is left; a short one stays whole, a pair is never split.
TEST(StayedOpenText, LongTitlesAreShortenedToFit) {
    const std::u16string x127(127, u'x'), emoji = u"\U0001F600";
    std::u16string pairs;
    for (int i = 0; i < 64; ++i)
        pairs += emoji;
    const std::u16string text = StayedOpenText({{x127, R::RunsAsAdministrator},
                                                {u"Short", R::DidNotClose},
                                                {pairs, R::AskingAQuestion},
                                                {x127, R::NotResponding},
                                                {x127, R::DidNotClose},
                                                {u"Sixth", R::DidNotClose}});
    EXPECT_LE(text.size(), kMaxNotificationLength);
    EXPECT_GE(text.size(), kMaxNotificationLength - 4) << "room left unused";
    EXPECT_NE(text.find(u"x...: runs as administrator\nShort: did not close\n"),
              std::u16string::npos);
    EXPECT_NE(text.find(emoji + u"...: is asking"), std::u16string::npos);
    EXPECT_TRUE(text.ends_with(u"x...: did not close\nand 1 more"));
}

}  // namespace
