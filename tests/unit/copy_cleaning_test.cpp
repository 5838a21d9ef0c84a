// Which copies are cleaned when every copy is, over the clipboard's facts.
#include <gtest/gtest.h>

#include <vector>

#include "clipboard/copy_cleaning.h"

namespace {

using namespace clipboard_format;

TEST(DecideCopyCleaning, AsTheTableSays) {
    constexpr std::uint32_t kHtml = 0xC0A1, kRtf = 0xC0A2, kBitmap = 2, kMarker = 0xC0B7;
    const std::vector<std::uint32_t> markers = {0, kMarker};
    struct Case {
        const char* name;
        std::vector<std::uint32_t> formats;
        CopyCleaning expected;
        std::uint32_t sequence = 40, lastOwnWrite = 39;
        bool ownerIsOurs = false, programExempt = false;
    };
    const Case cases[] = {
        {"text as Notepad copies it",
         {kUnicodeText, kLocale, kText, kOemText},
         CopyCleaning::IfTextChanges},
        {"text from an ANSI program", {kText, kLocale, kUnicodeText}, CopyCleaning::IfTextChanges},
        {"only OEM text", {kOemText}, CopyCleaning::IfTextChanges},
        {"a web page", {kHtml, kRtf, kUnicodeText, kLocale}, CopyCleaning::Always},
        {"a picture with a caption", {kBitmap, kUnicodeText}, CopyCleaning::Always},
        {"a picture alone", {kBitmap}, CopyCleaning::Leave},
        {"nothing at all", {}, CopyCleaning::Leave},
        {"files from Explorer", {kFileList, kUnicodeText, kHtml}, CopyCleaning::Leave},
        {"marked private", {kUnicodeText, kMarker, kHtml}, CopyCleaning::Leave},
        {"an unregistered marker matches nothing", {kUnicodeText, 0}, CopyCleaning::Always},
        {"written by us, by its number", {kUnicodeText, kHtml}, CopyCleaning::Leave, 39, 39},
        {"written by us, by its owner", {kUnicodeText, kHtml}, CopyCleaning::Leave, 40, 39, true},
        {"no write of ours yet", {kUnicodeText, kHtml}, CopyCleaning::Always, 0, 0},
        {"a program a copy line names",
         {kUnicodeText, kHtml},
         CopyCleaning::Leave,
         40,
         39,
         false,
         true},
    };
    for (const Case& c : cases) {
        CopyFacts facts;
        facts.formats = c.formats;
        facts.privacyMarkers = markers;
        facts.sequence = c.sequence;
        facts.lastOwnWrite = c.lastOwnWrite;
        facts.ownerIsOurs = c.ownerIsOurs;
        facts.programExempt = c.programExempt;
        EXPECT_EQ(DecideCopyCleaning(facts), c.expected) << c.name;
    }
}

}  // namespace
