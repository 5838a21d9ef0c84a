// Turning the keyboard hook's raw key transitions into key presses: one per physical press.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>

// The messages and flags of a low-level keyboard event, as the system numbers them.
inline constexpr std::uint32_t kMsgKeyDown = 0x0100;
inline constexpr std::uint32_t kMsgKeyUp = 0x0101;
inline constexpr std::uint32_t kMsgSysKeyDown = 0x0104;
inline constexpr std::uint32_t kMsgSysKeyUp = 0x0105;
inline constexpr std::uint32_t kLowLevelFlagUp = 0x80;

// Virtual-key codes of the modifiers: either side, and the side-neutral code.
inline constexpr std::uint8_t kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12;
inline constexpr std::uint8_t kVkLShift = 0xA0, kVkRShift = 0xA1;
inline constexpr std::uint8_t kVkLControl = 0xA2, kVkRControl = 0xA3;
inline constexpr std::uint8_t kVkLMenu = 0xA4, kVkRMenu = 0xA5;

// One event as a low-level keyboard hook receives it (the message and its KBDLLHOOKSTRUCT).
struct LowLevelKeyEvent {
    std::uint32_t message = 0;
    std::uint32_t vkCode = 0;
    std::uint32_t scanCode = 0;
    std::uint32_t flags = 0;
    std::uint32_t time = 0;
};

// A key press as KeyEvent reports it.
struct KeyPress {
    std::int32_t keyCode = 0;
    std::int16_t shift = 0;  // Shift 1, Ctrl 2, Alt 4
    std::int32_t scanCode = 0;
    std::int32_t flags = 0;
    std::int32_t time = 0;

    friend bool operator==(const KeyPress&, const KeyPress&) = default;
};

// Whether a key is held right now, by virtual-key code.
using KeyHeldQuery = std::function<bool(std::uint8_t vk)>;

// The longest gap between two key-downs of a held key: the longest keyboard delay the system
// offers. Repeats come faster than that for as long as the key is held.
inline constexpr std::uint32_t kLongestRepeatGapMs = 1000;

// Remembers which keys are down, so that the auto-repeat of a held key is no new press.
class KeyPressTracker {
  public:
    // A press for the first key-down of a key; nothing for its repeats, its release, or an
    // event that names no key. isHeld tells which modifiers are held at this event. A key-down
    // more than kLongestRepeatGapMs after the key's last one is a new press even without a
    // release in between: releases can be lost (swallowed by another hook, made on the secure
    // desktop), and the press after a lost release must not pass for a repeat.
    std::optional<KeyPress> OnKey(const LowLevelKeyEvent& event, const KeyHeldQuery& isHeld);
    // Forgets every key, for a fresh start when the hook is armed again.
    void Reset() { down_.reset(); }

  private:
    std::bitset<256> down_;
    std::array<std::uint32_t, 256> lastDown_{};  // event time of each key's latest key-down
};
