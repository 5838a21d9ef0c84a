// The decoding of the tray icon's events: clicks, the keyboard, and what the shell reports twice.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/tray_event.h"

namespace {

using namespace TrayEventCode;

struct Event {
    std::uint16_t code;
    std::uint64_t atMs;
};

struct Case {
    const char* name;
    std::vector<Event> events;
    std::vector<TrayAction> expected;  // one per event
};

constexpr std::uint32_t kDoubleClickMs = 500;
constexpr auto kNone = TrayAction::None;
constexpr auto kAction = TrayAction::DefaultAction;

TEST(TrayEventTest, EachPressDoesOneThing) {
    const Case cases[] = {
        {"left click runs the action on the button-up, not on NIN_SELECT",
         {{kLeftButtonDown, 0}, {kLeftButtonUp, 10}, {kSelect, 11}},
         {kNone, kAction, kNone}},
        {"right click opens the menu once, not again for the shell's WM_CONTEXTMENU",
         {{kRightButtonDown, 0}, {kRightButtonUp, 10}, {kContextMenu, 11}},
         {kNone, TrayAction::MouseMenu, kNone}},
        {"the menu key alone opens the menu at the icon",
         {{kContextMenu, 0}, {kContextMenu, 5000}},
         {TrayAction::KeyboardMenu, TrayAction::KeyboardMenu}},
        {"a right button-up without its WM_CONTEXTMENU does not swallow a later menu key",
         {{kRightButtonUp, 0}, {kLeftButtonDown, 900}, {kContextMenu, 1000}},
         {TrayAction::MouseMenu, kNone, TrayAction::KeyboardMenu}},
        {"Enter reported twice runs the action once; a later Enter runs it again",
         {{kKeySelect, 1000}, {kKeySelect, 1010}, {kKeySelect, 1600}},
         {kAction, kNone, kAction}},
        {"the first Enter counts even at the clock's start",
         {{kKeySelect, 0}, {kKeySelect, 499}},
         {kAction, kNone}},
        {"a click on the notification", {{kBalloonUserClick, 0}}, {TrayAction::BalloonClick}},
        {"the notification timed out or was hidden",
         {{kBalloonTimeout, 0}, {kBalloonHide, 1}},
         {TrayAction::BalloonGone, TrayAction::BalloonGone}},
        {"moves and the right button-down alone do nothing",
         {{0x0200, 0}, {kRightButtonDown, 1}, {0x0203, 2}},
         {kNone, kNone, kNone}},
    };
    for (const Case& c : cases) {
        TrayEventDecoder decoder;
        std::vector<TrayAction> actual;
        for (const Event& e : c.events)
            actual.push_back(decoder.Decode(e.code, e.atMs, kDoubleClickMs));
        EXPECT_EQ(actual, c.expected) << c.name;
    }
}

TEST(TrayEventTest, OnlyCommandsAreKeptWhileTheProgramIsBusy) {
    for (std::uint16_t code : {kLeftButtonUp, kRightButtonUp, kContextMenu, kKeySelect})
        EXPECT_TRUE(IsTrayCommandEvent(code)) << code;
    for (std::uint16_t code :
         {kLeftButtonDown, kRightButtonDown, kSelect, kBalloonUserClick, std::uint16_t{0x0200}})
        EXPECT_FALSE(IsTrayCommandEvent(code)) << code;
}

}  // namespace
