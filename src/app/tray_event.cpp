// What a notification of the tray icon asks for: the shell's callback events decoded.
#include "app/tray_event.h"

#include <utility>

using namespace TrayEventCode;

bool IsTrayCommandEvent(std::uint16_t event) {
    return event == kLeftButtonUp || event == kRightButtonUp || event == kContextMenu ||
           event == kKeySelect;
}

TrayAction TrayEventDecoder::Decode(std::uint16_t event, std::uint64_t nowMs,
                                    std::uint32_t doubleClickMs) {
    switch (event) {
        case kLeftButtonUp:
            return TrayAction::DefaultAction;
        case kLeftButtonDown:
        case kRightButtonDown:
            // A new click: a context menu from now on is not the last right click's.
            menuFromRightButtonUp_ = false;
            return TrayAction::None;
        case kRightButtonUp:
            menuFromRightButtonUp_ = true;
            return TrayAction::MouseMenu;
        case kContextMenu:
            // After a right button-up the shell reports the same click once more; only the
            // context-menu key and Shift+F10 come this way alone.
            return std::exchange(menuFromRightButtonUp_, false) ? TrayAction::None
                                                                : TrayAction::KeyboardMenu;
        case kKeySelect:
            // Windows may report one press of Enter twice in a row.
            if (keySelected_ && nowMs - lastKeySelectMs_ < doubleClickMs)
                return TrayAction::None;
            keySelected_ = true;
            lastKeySelectMs_ = nowMs;
            return TrayAction::DefaultAction;
        case kBalloonUserClick:
            return TrayAction::BalloonClick;
        case kBalloonTimeout:
        case kBalloonHide:
            return TrayAction::BalloonGone;
        default:
            // NIN_SELECT follows every left button-up, which has run the action already; moves,
            // double clicks and the middle button do nothing.
            return TrayAction::None;
    }
}
