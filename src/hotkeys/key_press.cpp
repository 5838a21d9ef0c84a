// Turning the keyboard hook's raw key transitions into key presses: one per physical press.
#include "hotkeys/key_press.h"

#include "hotkeys/hotkey_settings.h"

namespace {

bool EitherHeld(const KeyHeldQuery& isHeld, std::uint8_t neutral, std::uint8_t left,
                std::uint8_t right) {
    return isHeld(neutral) || isHeld(left) || isHeld(right);
}

}  // namespace

std::optional<KeyPress> KeyPressTracker::OnKey(const LowLevelKeyEvent& event,
                                               const KeyHeldQuery& isHeld) {
    // Codes 0 and 255 name no key; anything wider is not a virtual-key code at all.
    if (event.vkCode == 0 || event.vkCode >= 255)
        return std::nullopt;
    bool up = (event.flags & kLowLevelFlagUp) != 0;
    bool down = !up && (event.message == kMsgKeyDown || event.message == kMsgSysKeyDown);
    if (!down) {
        // Releases and anything unknown end a press; an unknown message must not leave a key
        // marked down, or its next real press would pass for a repeat.
        down_.reset(event.vkCode);
        return std::nullopt;
    }
    // Event times are milliseconds that wrap at 2^32; the unsigned difference stays right
    // across the wrap.
    const std::uint32_t sinceLast = event.time - lastDown_[event.vkCode];
    lastDown_[event.vkCode] = event.time;
    if (down_.test(event.vkCode) && sinceLast <= kLongestRepeatGapMs)
        return std::nullopt;
    down_.set(event.vkCode);

    KeyPress press;
    press.keyCode = static_cast<std::int32_t>(event.vkCode);
    press.shift = ModifierMask(EitherHeld(isHeld, kVkShift, kVkLShift, kVkRShift),
                               EitherHeld(isHeld, kVkControl, kVkLControl, kVkRControl),
                               EitherHeld(isHeld, kVkMenu, kVkLMenu, kVkRMenu));
    press.scanCode = static_cast<std::int32_t>(event.scanCode);
    press.flags = static_cast<std::int32_t>(event.flags);
    press.time = static_cast<std::int32_t>(event.time);
    return press;
}
