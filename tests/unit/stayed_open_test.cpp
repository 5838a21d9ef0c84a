// The notification after a close-all run: the order of reasons, the text for a toast, titles as
// the user reads them, when it goes out and what its click does where Windows refuses the front.
#include <gtest/gtest.h>

#include "closing/stayed_open.h"

namespace {

const StayFacts kPlain{}, kElevated{.elevated = true}, kHung{.hung = true};
const StayFacts kAsking{.disabled = true, .enabledPopup = true};
const StayFacts kAll{.elevated = true, .hung = true, .disabled = true, .enabledPopup = true};
const StayFacts kAllBothElevated{
    .elevated = true, .selfElevated = true, .hung = true, .disabled = true, .enabledPopup = true};
const std::u16string kNotepad = u"C:\\Windows\\notepad.exe";

TEST(StayedOpenText, OneTableOfReasonsCountsAndTitles) {
    struct Case {
        std::vector<StayedOpen> windows;
        std::u16string title, text;
    };
    const Case cases[] = {
        {{}, u"", u""},
        // Under Wine every token says elevated, DeskBroom's own too.
        {{{u"A", kNotepad, kAll},
          {u"B", kNotepad, kAllBothElevated},
          {u"C", kNotepad, {.disabled = true}}},
         u"3 windows stayed open",
         u"A: runs as administrator\nB: is not responding\nC: did not close"},
        {{{u"A", kNotepad, kPlain},
          {u"B", kNotepad, kAsking},
          {u"C", kNotepad, kHung},
          {u"D", kNotepad, kAsking},
          {u"E", kNotepad, kPlain},
          {u"F", kNotepad, kPlain}},
         u"6 windows stayed open",
         u"A: did not close\nB: is asking a question\nC: is not responding\nand 3 more"},
        {{{u"Draft\r\nAll windows closed\t\tnow\x7F", kNotepad, kPlain},
          {u"\u202Eabc\u202C\u00AD\u061C" + std::u16string(120, u'\uFEFF') + u"def", kNotepad,
           kPlain},
          {u"Cut \xDE00 here \xD83D", kNotepad, kElevated}},
         u"3 windows stayed open",
         u"Draft All windows closed now: did not close\nabcdef: did not close\n"
         u"Cut \uFFFD here \uFFFD: runs as administrator"},
        // Nothing left of the title: the program's file name.
        {{{u" \r\n\u200B", kNotepad, kPlain}},
         u"1 window stayed open",
         u"notepad.exe: did not close"},
    };
    for (const Case& c : cases) {
        const StayedOpenNotice notice = StayedOpenText(c.windows);
        EXPECT_EQ(notice.title, c.title);
        EXPECT_EQ(notice.text, c.text);
    }
}

// Long titles share the room that is left; a short one stays whole, a pair is never split.
TEST(StayedOpenText, LongTitlesAreShortenedToFit) {
    const std::u16string x127(127, u'x');
    std::u16string pairs;
    for (int i = 0; i < 64; ++i)
        pairs += u"\U0001F600";
    for (const std::u16string& second : {std::u16string(u"Short"), pairs}) {
        const std::u16string text = StayedOpenText({{pairs, {}, kElevated},
                                                    {second, {}, kPlain},
                                                    {x127, {}, kAsking},
                                                    {x127, {}, kPlain}})
                                        .text;
        EXPECT_LE(text.size(), kMaxNotificationLength);
        EXPECT_GE(text.size(), kMaxNotificationLength - 3) << "room left unused";
        EXPECT_TRUE(text.ends_with(u"x...: is asking a question\nand 1 more"));
        EXPECT_EQ(text.find(u"\xD83D..."), std::u16string::npos) << "half a pair";
        EXPECT_EQ(text.find(u"\nShort: did not close\n") != text.npos, second == u"Short");
    }
}

TEST(StayedOpen, ReportWaitsForWhatIsNotSettledUpToTheLatestMoment) {
    EXPECT_TRUE(IsSettled(ReasonFor(kAsking)) && IsSettled(ReasonFor(kElevated)));
    EXPECT_FALSE(IsSettled(ReasonFor(kHung)) || IsSettled(ReasonFor(kPlain)));
    EXPECT_TRUE(ReportNow(kFirstLookMs, true));
    EXPECT_FALSE(ReportNow(kLatestReportMs - 1, false));
    EXPECT_TRUE(ReportNow(kLatestReportMs, false));
}

// Stand-ins for the system: a minimised window, and Windows granting or refusing the front.
TEST(BringQuestionForward, RestoresWithoutWaitingAndFlashesWhenRefusedTheFront) {
    for (const auto& [minimised, granted, expected] :
         {std::tuple{false, true, "front"}, std::tuple{true, false, "restore front flash"}}) {
        std::string calls;
        BringQuestionForward({
            .isMinimised = [&] { return minimised; },
            .restoreWithoutWaiting = [&] { calls += "restore "; },
            .putQuestionInFront = [&] { calls += "front"; },
            .questionIsInFront = [&] { return granted; },
            .flashUntilVisited = [&] { calls += " flash"; },
        });
        EXPECT_EQ(calls, expected);
    }
}

}  // namespace
