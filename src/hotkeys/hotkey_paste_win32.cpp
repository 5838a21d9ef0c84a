// Pasting after a clean-clipboard hotkey: Ctrl+V to the focused window once the hotkey is let go.
#include "hotkeys/hotkey_paste_win32.h"

#include <algorithm>
#include <iterator>

#include "common/privileges.h"
#include "win32/elevation.h"
#include "win32/failure.h"
#include "win32/ui_win32.h"

namespace {

constexpr UINT kLookEveryMs = 15;
constexpr ULONGLONG kPatienceMs = 1000;

// One SendInput, so that no key the user presses can come between the four events.
void SendCtrlV() {
    const WORD keys[] = {VK_CONTROL, 'V', 'V', VK_CONTROL};
    INPUT inputs[std::size(keys)]{};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        // Some programs read the scan code rather than the virtual key.
        inputs[i].ki.wScan = static_cast<WORD>(::MapVirtualKeyW(keys[i], MAPVK_VK_TO_VSC));
        inputs[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    const UINT sent = ::SendInput(static_cast<UINT>(std::size(inputs)), inputs, sizeof(INPUT));
    // Input blocked halfway would leave Ctrl (and V) down for every program: the key-ups go
    // after it on their own.
    if (sent > 0 && sent < std::size(inputs)) {
        const UINT firstUp = std::max(sent, 2u);
        ::SendInput(static_cast<UINT>(std::size(inputs)) - firstUp, inputs + firstUp,
                    sizeof(INPUT));
    }
}

}  // namespace

HotkeyPaste::Started HotkeyPaste::Start(HWND window, UINT_PTR timerId,
                                        const std::vector<std::uint8_t>& keys) {
    Cancel();
    const HWND target = ::GetForegroundWindow();
    // Across that boundary the keys read as up at once and SendInput drops Ctrl+V without an
    // error, so the paste would seem to have worked.
    if (target && IsOutOfReach(IsWindowElevated(target), IsSelfElevated()))
        return Started::OutOfReach;
    if (!::SetTimer(window, timerId, kLookEveryMs, nullptr))
        return Started::Failed;
    window_ = window;
    timerId_ = timerId;
    keys_ = keys;
    target_ = target;
    deadline_ = ::GetTickCount64() + kPatienceMs;
    return Started::Waiting;
}

void HotkeyPaste::Cancel() {
    if (window_)
        ::KillTimer(window_, timerId_);
    window_ = nullptr;
}

void HotkeyPaste::OnTimer() {
    // A WM_TIMER already queued when the paste was cancelled finds nothing waiting.
    if (!window_)
        return;
    const bool held = std::any_of(keys_.begin(), keys_.end(), KeyIsDown);
    if (held && ::GetTickCount64() < deadline_)
        return;
    Cancel();
    // Ctrl+V while the user's modifiers are down would be another key (Ctrl+Alt+V); in another
    // window than the one the user typed in, it would put the text in the wrong place.
    if (held || ProgramIsEnding() || !target_ || ::GetForegroundWindow() != target_)
        return;
    SendCtrlV();
}
