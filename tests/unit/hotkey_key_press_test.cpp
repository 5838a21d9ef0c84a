// The keyboard hook's translation of raw key transitions into key presses.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "hotkeys/key_press.h"

namespace {

constexpr std::uint32_t kF11 = 122, kF12 = 123;

struct Step {
    std::uint32_t message;
    std::uint32_t vk;
    std::set<std::uint8_t> held;  // modifier keys the system reports as down
    std::uint32_t flags = 0;
    std::uint32_t time = 0;  // milliseconds, as the hook reports them
};

struct SequenceCase {
    const char* what;
    std::vector<Step> steps;
    // Key code and mask of each press, in order.
    std::vector<std::pair<std::int32_t, std::int16_t>> presses;
};

std::vector<std::pair<std::int32_t, std::int16_t>> Feed(KeyPressTracker& tracker,
                                                        const std::vector<Step>& steps) {
    std::vector<std::pair<std::int32_t, std::int16_t>> presses;
    for (const Step& step : steps) {
        LowLevelKeyEvent event;
        event.message = step.message;
        event.vkCode = step.vk;
        event.flags = step.flags;
        event.time = step.time;
        auto held = [&](std::uint8_t vk) { return step.held.count(vk) != 0; };
        if (auto press = tracker.OnKey(event, held)) {
            presses.emplace_back(press->keyCode, press->shift);
        }
    }
    return presses;
}

TEST(KeyPressTracker, OnePressPerPhysicalKeyPress) {
    const std::set<std::uint8_t> all = {kVkControl, kVkLControl, kVkMenu,
                                        kVkLMenu,   kVkShift,    kVkLShift};
    const SequenceCase cases[] = {
        {"Ctrl+Alt+Shift+F12 typed",
         {{kMsgKeyDown, kVkLControl, {}},
          {kMsgSysKeyDown, kVkLMenu, {kVkControl, kVkLControl}},
          {kMsgSysKeyDown, kVkLShift, {kVkControl, kVkLControl, kVkMenu, kVkLMenu}},
          {kMsgSysKeyDown, kF12, all},
          {kMsgSysKeyUp, kF12, all, kLowLevelFlagUp},
          {kMsgSysKeyUp, kVkLShift, all, kLowLevelFlagUp},
          {kMsgKeyUp, kVkLMenu, {kVkControl, kVkLControl, kVkMenu, kVkLMenu}, kLowLevelFlagUp},
          {kMsgKeyUp, kVkLControl, {kVkControl, kVkLControl}, kLowLevelFlagUp}},
         {{kVkLControl, 0}, {kVkLMenu, 2}, {kVkLShift, 6}, {kF12, 7}}},
        {"held key repeats: one press",
         {{kMsgKeyDown, kF12, {}},
          {kMsgKeyDown, kF12, {}},
          {kMsgKeyDown, kF12, {}},
          {kMsgKeyUp, kF12, {}, kLowLevelFlagUp}},
         {{kF12, 0}}},
        {"pressed again after release: two presses",
         {{kMsgKeyDown, kF12, {}}, {kMsgKeyUp, kF12, {}, kLowLevelFlagUp}, {kMsgKeyDown, kF12, {}}},
         {{kF12, 0}, {kF12, 0}}},
        {"released with Alt held (system key-up) also ends the press",
         {{kMsgSysKeyDown, kF12, {kVkMenu}},
          {kMsgSysKeyUp, kF12, {kVkMenu}, kLowLevelFlagUp},
          {kMsgSysKeyDown, kF12, {kVkMenu}}},
         {{kF12, 4}, {kF12, 4}}},
        {"a repeat of one key does not hide another",
         {{kMsgKeyDown, kF11, {}}, {kMsgKeyDown, kF12, {}}, {kMsgKeyDown, kF11, {}}},
         {{kF11, 0}, {kF12, 0}}},
        {"releases alone give nothing",
         {{kMsgKeyUp, kF12, {}, kLowLevelFlagUp}, {kMsgSysKeyUp, kF11, {}, kLowLevelFlagUp}},
         {}},
        {"the up flag wins over a key-down message",
         {{kMsgKeyDown, kF12, {}, kLowLevelFlagUp}},
         {}},
        {"right-hand modifiers count like left-hand ones",
         {{kMsgKeyDown, kF12, {kVkRControl}},
          {kMsgKeyUp, kF12, {}, kLowLevelFlagUp},
          {kMsgKeyDown, kF12, {kVkRShift, kVkRMenu}},
          {kMsgKeyUp, kF12, {}, kLowLevelFlagUp},
          {kMsgKeyDown, kF12, {kVkShift}}},
         {{kF12, 2}, {kF12, 5}, {kF12, 1}}},
        {"codes that name no key are ignored and do not alias real keys",
         {{kMsgKeyDown, 0, {}},
          {kMsgKeyDown, 255, {}},
          {kMsgKeyDown, kF12 + 256, {}},
          {kMsgKeyDown, 0xFFFFFFFF, {}},
          {kMsgKeyDown, kF12, {}}},
         {{kF12, 0}}},
        {"an unknown message ends a press rather than leaving the key stuck",
         {{kMsgKeyDown, kF12, {}}, {0x0102, kF12, {}}, {kMsgKeyDown, kF12, {}}},
         {{kF12, 0}, {kF12, 0}}},
    };
    for (const SequenceCase& c : cases) {
        KeyPressTracker tracker;
        EXPECT_EQ(Feed(tracker, c.steps), c.presses) << c.what;
    }
}

TEST(KeyPressTracker, AKeyDownAfterTheLongestRepeatGapIsANewPress) {
    // Key-downs of F12 without a release in between, at these times, and the presses they make.
    const std::pair<std::vector<std::uint32_t>, std::size_t> cases[] = {
        {{0, 500, 1000, 1900, 2800}, 1},       // repeats, the first after the longest delay
        {{0, 1001}, 2},                        // release lost, pressed again
        {{0, 600, 60000, 60400}, 2},           // release lost, held again much later
        {{0xFFFFFE00, 0xFFFFFF00, 0x100}, 1},  // repeats across the wrap of the clock
        {{0xFFFFFF00, 0x400}, 2},              // a new press across the wrap
    };
    for (const auto& [times, presses] : cases) {
        std::vector<Step> steps;
        for (std::uint32_t time : times)
            steps.push_back({kMsgKeyDown, kF12, {}, 0, time});
        KeyPressTracker tracker;
        EXPECT_EQ(Feed(tracker, steps).size(), presses) << testing::PrintToString(times);
    }
}

TEST(KeyPressTracker, ResetForgetsKeysHeldWhenTheHookWasDisarmed) {
    // The release of a key held across a disarm is never seen; after re-arming its next
    // press must count.
    KeyPressTracker tracker;
    EXPECT_EQ(Feed(tracker, {{kMsgKeyDown, kF12, {}}}).size(), 1u);
    tracker.Reset();
    EXPECT_EQ(Feed(tracker, {{kMsgKeyDown, kF12, {}}}).size(), 1u);
}

}  // namespace
