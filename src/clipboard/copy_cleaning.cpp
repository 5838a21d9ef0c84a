// Whether a copy is cleaned when every copy is.
#include "clipboard/copy_cleaning.h"

#include <algorithm>

namespace {

// The text in its three forms and its locale: the system makes the others from any one of them
// and lists them all.
bool IsTextOrLocale(std::uint32_t format) {
    using namespace clipboard_format;
    return format == kText || format == kOemText || format == kUnicodeText || format == kLocale;
}

bool Holds(std::span<const std::uint32_t> formats, std::uint32_t format) {
    return std::ranges::find(formats, format) != formats.end();
}

}  // namespace

CopyCleaning DecideCopyCleaning(const CopyFacts& facts) {
    using namespace clipboard_format;
    const bool ownWrite =
        facts.ownerIsOurs || (facts.lastOwnWrite != 0 && facts.sequence == facts.lastOwnWrite);
    const bool hasText = Holds(facts.formats, kUnicodeText) || Holds(facts.formats, kText) ||
                         Holds(facts.formats, kOemText);
    const bool marked = std::ranges::any_of(facts.privacyMarkers, [&](std::uint32_t marker) {
        return marker != 0 && Holds(facts.formats, marker);
    });
    if (ownWrite || !hasText || Holds(facts.formats, kFileList) || marked || facts.programExempt)
        return CopyCleaning::Leave;
    return std::ranges::all_of(facts.formats, IsTextOrLocale) ? CopyCleaning::IfTextChanges
                                                              : CopyCleaning::Always;
}
