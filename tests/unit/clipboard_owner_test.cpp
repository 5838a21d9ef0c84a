// When the clipboard is read: only when its owner is ours or answers, as the system lets us ask.
#include <gtest/gtest.h>

#include "clipboard/clipboard_owner.h"

namespace {

struct FakeOwner final : ClipboardOwnerProbe {
    FakeOwner(bool e, bool h, OwnerReply r) : elsewhere(e), hangs(h), reply(r) {}
    bool OwnedElsewhere() override { return elsewhere; }
    bool OwnerHangs() override { return hangs; }
    OwnerReply AskOwner(unsigned timeoutMs) override { return askedFor = timeoutMs, reply; }
    bool elsewhere, hangs;
    OwnerReply reply;
    unsigned askedFor = 0;  // 0: not asked
};

TEST(ClipboardOwner, ReadOnlyWhenTheOwnerIsOursOrAnswers) {
    const struct {
        FakeOwner owner;
        bool reads;
        unsigned askedFor;
    } cases[] = {
        {{false, true, OwnerReply::Silent}, true, 0},  // ours or none: never asked
        {{true, false, OwnerReply::Answered}, true, 500},
        {{true, false, OwnerReply::Silent}, false, 500},  // went silent a moment ago
        {{true, true, OwnerReply::Answered}, false, 0},   // hung for the system: not asked
        // Windows refuses messages to a program at a higher integrity level; Wine never does.
        {{true, false, OwnerReply::Refused}, true, 500},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        FakeOwner owner = cases[i].owner;
        EXPECT_EQ(ClipboardOwnerAnswers(owner), cases[i].reads) << i;
        EXPECT_EQ(owner.askedFor, cases[i].askedFor) << i;
    }
}

}  // namespace
