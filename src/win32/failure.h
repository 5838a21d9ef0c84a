// The one way the program ends on a failure that no handler deals with: a message box that says
// what failed, then the end of the process.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

// Shows the description in the program's message box (OK, no icon) and ends the process. The
// tray icon goes first (see SetFailureCleanup); a failure behind that message ends at once.
[[noreturn]] void EndWithFailure(std::u16string_view description);

// True once the program has begun to end, by Exit or by a failure: no command or action starts
// any more, whatever message boxes still run their loops.
bool ProgramIsEnding();
void BeginProgramEnd();
// What a failure does before its message: takes away what must not outlive the process.
void SetFailureCleanup(std::function<void()> cleanup);

// The system's text for a Windows error or COM result and its code in hexadecimal, on two
// lines: "Access is denied.", "Error 0x80070005". The code alone when the system has no text.
std::u16string DescribeError(HRESULT error);
// The same for the calling thread's last Windows error (a missing one counts as E_FAIL).
std::u16string DescribeLastError();

// Ends the program with a description of the exception being handled; only inside a catch.
[[noreturn]] void EndWithCurrentException() noexcept;

// Runs body; an exception that would leave it ends the program instead. Every window and dialog
// procedure runs its work through this: no exception may unwind into the system.
template <typename Body>
auto Guarded(Body&& body) noexcept -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        EndWithCurrentException();
    }
}
