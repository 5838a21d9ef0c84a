// Which copies are cleaned when every copy is, over the clipboard's facts.
#include <gtest/gtest.h>

#include <vector>

#include "clipboard/copy_cleaning.h"

namespace {

using namespace clipboard_format;

TEST(DecideCopyCleaning, AsTheTableSays) {
    constexpr std::uint32_t kHtml = 0xC0A1, kBitmap = 2, kMarker = 0xC0B7;
    const std::vector<std::uint32_t> markers = {0, kMarker};
    constexpr auto kLeave = CopyCleaning::Leave, kIfChanged = CopyCleaning::IfTextChanges,
                   kAlways = CopyCleaning::Always;
    struct Case {
        const char* name;
        std::vector<std::uint32_t> formats;
        CopyCleaning expected;
        std::uint32_t sequence = 40, lastOwnWrite = 39;
        bool ownerIsOurs = false, programExempt = false;
    };
    const Case cases[] = {
        {"text as Notepad copies it", {kUnicodeText, kLocale, kText, kOemText}, kIfChanged},
        {"only OEM text", {kOemText}, kIfChanged},
        {"a web page", {kHtml, kUnicodeText, kLocale}, kAlways},
        {"a picture with a caption", {kBitmap, kUnicodeText}, kAlways},
        {"a picture alone", {kBitmap}, kLeave},
        {"files from Explorer", {kFileList, kUnicodeText, kHtml}, kLeave},
        {"marked private", {kUnicodeText, kMarker, kHtml}, kLeave},
        {"an unregistered marker is no format", {kUnicodeText, 0}, kAlways},
        {"written by us, by its number", {kUnicodeText, kHtml}, kLeave, 39, 39},
        {"written by us, by its owner", {kUnicodeText, kHtml}, kLeave, 40, 39, true},
        {"no write of ours yet", {kUnicodeText, kHtml}, kAlways, 0, 0},
        {"a program a copy line names", {kUnicodeText, kHtml}, kLeave, 40, 39, false, true},
    };
    for (const Case& c : cases) {
        const CopyFacts facts{c.formats,      markers,       c.sequence,
                              c.lastOwnWrite, c.ownerIsOurs, c.programExempt};
        EXPECT_EQ(DecideCopyCleaning(facts), c.expected) << c.name;
    }
}

}  // namespace
