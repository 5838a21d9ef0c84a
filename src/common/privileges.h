// The privilege boundary between programs on one desktop, decided over what their tokens say.
#pragma once

// Whether Windows keeps DeskBroom from posting to, typing into and reading the keys of the
// other process's windows: that process runs elevated and DeskBroom does not. PostMessage may
// then fail or drop the message without a word, SendInput drops the keys, GetAsyncKeyState
// reads every key as up.
constexpr bool IsOutOfReach(bool targetElevated, bool selfElevated) {
    return targetElevated && !selfElevated;
}
