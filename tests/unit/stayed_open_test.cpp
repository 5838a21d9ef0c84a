// The notification after a close-all run: the order of reasons, the text for a toast, titles as
// the user reads them, when it goes out and what its click does where Windows refuses the front.
#include <gtest/gtest.h>

#include "closing/stayed_open.h"

namespace {

const StayFacts kPlain{};
const StayFacts kElevated{.elevated = true};
const StayFacts kHung{.hung = true};
const StayFacts kAsking{.disabled = true, .enabledPopup = true};

TEST(StayedOpenText, OneTableOfReasonsCountsAndTitles) {
    struct Case {
        const char* name;
        std::vector<StayedOpen> windows;
        std::u16string title;
        std::u16string text;
    };
    const std::u16string notepad = u"C:\\Windows\\notepad.exe";
    const Case cases[] = {
        {"nothing stayed open", {}, u"", u""},
        {"elevated comes first",
         {{u"A",
           notepad,
           {.elevated = true, .hung = true, .disabled = true, .enabledPopup = true}}},
         u"1 window stayed open",
         u"A: runs as administrator"},
        // Under Wine every token says elevated, DeskBroom's own too.
        {"both elevated",
         {{u"A", notepad, {.elevated = true, .selfElevated = true}}},
         u"1 window stayed open",
         u"A: did not close"},
        {"hung before asking",
         {{u"A", notepad, {.hung = true, .disabled = true, .enabledPopup = true}}},
         u"1 window stayed open",
         u"A: is not responding"},
        {"disabled without a window to answer",
         {{u"A", notepad, {.disabled = true}}},
         u"1 window stayed open",
         u"A: did not close"},
        {"three",
         {{u"A", notepad, kAsking}, {u"B", notepad, kHung}, {u"C", notepad, kElevated}},
         u"3 windows stayed open",
         u"A: is asking a question\nB: is not responding\nC: runs as administrator"},
        {"six",
         {{u"A", notepad, kPlain},
          {u"B", notepad, kAsking},
          {u"C", notepad, kPlain},
          {u"D", notepad, kAsking},
          {u"E", notepad, kPlain},
          {u"F", notepad, kPlain}},
         u"6 windows stayed open",
         u"A: did not close\nB: is asking a question\nC: did not close\nand 3 more"},
        {"line breaks and tabs",
         {{u"Draft\r\nAll windows closed\t\tnow\x7F", notepad, kPlain}},
         u"1 window stayed open",
         u"Draft All windows closed now: did not close"},
        {"format characters",
         {{u"\u202Eabc\u202C\u00AD\u061C" + std::u16string(120, u'\uFEFF') + u"def", notepad,
           kPlain}},
         u"1 window stayed open",
         u"abcdef: did not close"},
        {"lone surrogate halves",
         {{u"Cut \xDE00 here \xD83D", notepad, kPlain}},
         u"1 window stayed open",
         u"Cut \uFFFD here \uFFFD: did not close"},
        {"nothing left: the program's file name",
         {{u" \r\n\u200B", notepad, kPlain}, {u"", u"Tool.exe", kAsking}},
         u"2 windows stayed open",
         u"notepad.exe: did not close\nTool.exe: is asking a question"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const StayedOpenNotice notice = StayedOpenText(c.windows);
        EXPECT_EQ(notice.title, c.title);
        EXPECT_EQ(notice.text, c.text);
    }
}

// Long titles share the room that is left; a short one stays whole, a pair is never split.
TEST(StayedOpenText, LongTitlesAreShortenedToFit) {
    const std::u16string x127(127, u'x'), emoji = u"\U0001F600";
    std::u16string pairs;
    for (int i = 0; i < 64; ++i)
        pairs += emoji;
    for (const auto& [first, second] :
         {std::pair{x127, std::u16string(u"Short")}, std::pair{pairs, pairs}}) {
        const std::u16string text = StayedOpenText({{first, {}, kElevated},
                                                    {second, {}, kPlain},
                                                    {x127, {}, kAsking},
                                                    {x127, {}, kPlain}})
                                        .text;
        EXPECT_LE(text.size(), kMaxNotificationLength);
        EXPECT_GE(text.size(), kMaxNotificationLength - 3) << "room left unused";
        EXPECT_TRUE(text.ends_with(u"x...: is asking a question\nand 1 more"));
        EXPECT_EQ(text.find(u"\xD83D..."), std::u16string::npos) << "half a pair";
    }
    EXPECT_NE(StayedOpenText({{x127, {}, kElevated}, {u"Short", {}, kPlain}, {x127, {}, kPlain}})
                  .text.find(u"\nShort: did not close\n"),
              std::u16string::npos);
}

TEST(StayedOpen, ReportWaitsForWhatIsNotSettledUpToTheLatestMoment) {
    EXPECT_TRUE(IsSettled(ReasonFor(kAsking)));
    EXPECT_TRUE(IsSettled(ReasonFor(kElevated)));
    EXPECT_FALSE(IsSettled(ReasonFor(kHung)));
    EXPECT_FALSE(IsSettled(ReasonFor(kPlain)));
    EXPECT_TRUE(ReportNow(kFirstLookMs, true));
    EXPECT_FALSE(ReportNow(kLatestReportMs - 1, false));
    EXPECT_TRUE(ReportNow(kLatestReportMs, false));
}

// Stand-ins for the system: a minimised window, and Windows granting or refusing the front.
TEST(BringQuestionForward, RestoresWithoutWaitingAndFlashesWhenRefusedTheFront) {
    struct Case {
        bool minimised;
        bool granted;
        std::string calls;
    };
    for (const Case& c :
         {Case{false, true, "front"}, Case{true, true, "restore front"},
          Case{true, false, "restore front flash"}, Case{false, false, "front flash"}}) {
        std::string calls;
        BringQuestionForward({
            .isMinimised = [&] { return c.minimised; },
            .restoreWithoutWaiting = [&] { calls += "restore "; },
            .putQuestionInFront = [&] { calls += "front"; },
            .questionIsInFront = [&] { return c.granted; },
            .flashUntilVisited = [&] { calls += " flash"; },
        });
        EXPECT_EQ(calls, c.calls);
    }
}

}  // namespace
