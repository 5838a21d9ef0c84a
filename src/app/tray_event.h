// What a notification of the tray icon asks for: the shell's callback events decoded.
#pragma once

#include <cstdint>

// The events the shell reports in the low word of the icon's callback lParam, by Windows' own
// numbers (the shell checks they agree with its headers).
namespace TrayEventCode {
constexpr std::uint16_t kContextMenu = 0x007B;       // WM_CONTEXTMENU: menu key, Shift+F10
constexpr std::uint16_t kLeftButtonDown = 0x0201;    // WM_LBUTTONDOWN
constexpr std::uint16_t kLeftButtonUp = 0x0202;      // WM_LBUTTONUP
constexpr std::uint16_t kRightButtonDown = 0x0204;   // WM_RBUTTONDOWN
constexpr std::uint16_t kRightButtonUp = 0x0205;     // WM_RBUTTONUP
constexpr std::uint16_t kSelect = 0x0400;            // NIN_SELECT
constexpr std::uint16_t kKeySelect = 0x0401;         // NIN_KEYSELECT: Enter or Space
constexpr std::uint16_t kBalloonHide = 0x0403;       // NIN_BALLOONHIDE
constexpr std::uint16_t kBalloonTimeout = 0x0404;    // NIN_BALLOONTIMEOUT
constexpr std::uint16_t kBalloonUserClick = 0x0405;  // NIN_BALLOONUSERCLICK
}  // namespace TrayEventCode

enum class TrayAction {
    None,
    DefaultAction,  // left click, or Enter or Space on the focused icon
    MouseMenu,      // the menu at the mouse
    KeyboardMenu,   // the menu at the icon's anchor, from the keyboard
    BalloonClick,   // the user clicked the notification
    BalloonGone,    // the notification went without a click
};

// The events that run an action or open the menu, which must not be lost while the program is
// busy.
bool IsTrayCommandEvent(std::uint16_t event);

// Decodes the icon's events one after the other: the shell reports some presses twice.
class TrayEventDecoder {
  public:
    // `nowMs` is a monotonic clock; a second Enter within `doubleClickMs` of the first is the
    // same press.
    TrayAction Decode(std::uint16_t event, std::uint64_t nowMs, std::uint32_t doubleClickMs);

  private:
    bool menuFromRightButtonUp_ = false;  // the shell's WM_CONTEXTMENU that follows is that click's
    bool keySelected_ = false;
    std::uint64_t lastKeySelectMs_ = 0;  // when NIN_KEYSELECT last ran the action
};
