// The order of the clipboard write and what a failing step leaves on the clipboard.
#include <gtest/gtest.h>

#include <string>

#include "clipboard/clipboard_put.h"

namespace {

// A clipboard whose steps fail as told, logging what ends up on it.
class FakeClipboard final : public ClipboardWriter {
  public:
    explicit FakeClipboard(std::string failing) : failing_(std::move(failing)) {}
    bool Empty() override { return Step("empty"); }
    bool SetText(bool cleaned) override { return Step(cleaned ? "cleaned" : "read"); }
    std::size_t MarkerCount() const override { return 2; }
    bool SetMarker(std::size_t index) override { return Step("marker" + std::to_string(index)); }
    std::string log;

  private:
    bool Step(const std::string& name) {
        if (failing_.find(name) != std::string::npos)
            return false;
        log += name + " ";
        return true;
    }
    std::string failing_;
};

TEST(PutCleanedText, AFailedSetPutsBackWhatWasRead) {
    const struct {
        std::string failing;
        bool cleaned;
        std::string onClipboard;
    } cases[] = {
        {"", true, "empty cleaned marker0 marker1 "},
        {"marker0", true, "empty cleaned marker1 "},
        {"empty", false, ""},
        {"cleaned", false, "empty read marker0 marker1 "},
        {"cleaned read", false, "empty marker0 marker1 "},
    };
    for (const auto& c : cases) {
        FakeClipboard clipboard(c.failing);
        EXPECT_EQ(PutCleanedText(clipboard), c.cleaned) << c.failing;
        EXPECT_EQ(clipboard.log, c.onClipboard) << c.failing;
    }
}

}  // namespace
