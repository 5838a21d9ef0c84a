// Whether a process runs elevated, read from its token.
#include "win32/elevation.h"

#include "win32/unique_handle.h"

namespace {

bool IsTokenElevated(HANDLE process) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &token))
        return false;
    UniqueHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

}  // namespace

bool IsSelfElevated() {
    static const bool elevated = IsTokenElevated(::GetCurrentProcess());
    return elevated;
}

bool IsWindowElevated(HWND window) {
    DWORD processId = 0;
    if (::GetWindowThreadProcessId(window, &processId) == 0)
        return false;
    // The least right there is, which an elevated process grants a program without elevation.
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return process && IsTokenElevated(process.get());
}
