// When the clipboard is read: only when its owner is ours or answers, as the system lets us ask.
#include <gtest/gtest.h>

#include "clipboard/clipboard_owner.h"

namespace {

struct FakeOwner final : ClipboardOwnerProbe {
    bool elsewhere = true;
    bool hangs = false;
    OwnerReply reply = OwnerReply::Answered;
    unsigned askedFor = 0;  // the timeout, 0 when not asked

    bool OwnedElsewhere() override { return elsewhere; }
    bool OwnerHangs() override { return hangs; }
    OwnerReply AskOwner(unsigned timeoutMs) override {
        askedFor = timeoutMs;
        return reply;
    }
};

TEST(ClipboardOwner, ReadOnlyWhenTheOwnerIsOursOrAnswers) {
    const struct {
        const char* what;
        bool elsewhere, hangs;
        OwnerReply reply;
        bool reads;
        unsigned askedFor;
    } cases[] = {
        {"ours or none: never asked", false, true, OwnerReply::Silent, true, 0},
        {"answers within the patience", true, false, OwnerReply::Answered, true, 500},
        {"went silent a moment ago", true, false, OwnerReply::Silent, false, 500},
        {"hung for the system: not asked", true, true, OwnerReply::Answered, false, 0},
        // Windows refuses messages to an elevated program; Wine never does.
        {"refused by the system, not hung", true, false, OwnerReply::Refused, true, 500},
    };
    for (const auto& c : cases) {
        FakeOwner owner;
        owner.elsewhere = c.elsewhere;
        owner.hangs = c.hangs;
        owner.reply = c.reply;
        EXPECT_EQ(ClipboardOwnerAnswers(owner), c.reads) << c.what;
        EXPECT_EQ(owner.askedFor, c.askedFor) << c.what;
    }
}

}  // namespace
