// The one way the program ends on a failure that no handler deals with.
#include "win32/failure.h"

#include <cstdio>
#include <exception>
#include <new>

#include "win32/ui_win32.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

namespace {

std::wstring SystemText(DWORD code) {
    UniqueHlocal text;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(text.put()), 0, nullptr);
    std::wstring description =
        length ? std::wstring(static_cast<const wchar_t*>(text.get()), length) : L"";
    // The system ends its texts with a line break; npos + 1 is 0, so blanks alone go whole.
    description.erase(description.find_last_not_of(L"\r\n ") + 1);
    return description;
}

bool ending = false;
bool failing = false;
std::function<void()> failureCleanup;

}  // namespace

bool ProgramIsEnding() {
    return ending;
}

void BeginProgramEnd() {
    ending = true;
}

void SetFailureCleanup(std::function<void()> cleanup) {
    failureCleanup = std::move(cleanup);
}

void EndWithFailure(std::u16string_view description) {
    if (failing)
        ::ExitProcess(1);
    failing = true;
    ending = true;
    if (failureCleanup)
        failureCleanup();
    ShowMessage(description);
    ::ExitProcess(1);
}

std::u16string DescribeError(HRESULT error) {
    // The system keeps the texts of Windows errors under their plain codes.
    const auto code = static_cast<DWORD>(error);
    std::wstring text =
        HRESULT_FACILITY(error) == FACILITY_WIN32 ? SystemText(HRESULT_CODE(error)) : L"";
    if (text.empty())
        text = SystemText(code);
    wchar_t hex[24];
    std::swprintf(hex, std::size(hex), L"Error 0x%08lX", static_cast<unsigned long>(code));
    return ToU16(text.empty() ? std::wstring(hex) : text + L"\r" + hex);
}

std::u16string DescribeLastError() {
    DWORD error = ::GetLastError();
    return DescribeError(error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error));
}

void EndWithCurrentException() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        EndWithFailure(DescribeError(E_OUTOFMEMORY));
    } catch (const std::exception& failure) {
        // The standard library writes its texts in the ANSI code page.
        std::u16string text = FromAnsi(failure.what());
        EndWithFailure(text.empty() ? DescribeError(E_UNEXPECTED) : text);
    } catch (...) {
        EndWithFailure(DescribeError(E_UNEXPECTED));
    }
}
