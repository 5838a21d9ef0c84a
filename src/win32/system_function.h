// A function of a system DLL looked up on first use, so the DLL is loaded only when it is needed.
#pragma once

#include <windows.h>

// The function named `name` in `dll`, or null when the DLL or the function is missing.
template <typename Function>
Function LoadSystemFunction(const wchar_t* dll, const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::LoadLibraryW(dll), name)));
}
