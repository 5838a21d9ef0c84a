// A function of a system DLL looked up on first use, so the DLL is loaded only when it is needed.
#pragma once

#include <windows.h>

// The function named `name` in `dll`, or null when the DLL or the function is missing. The DLL
// comes from the system folder only: a copy planted beside the program is never loaded.
template <typename Function>
Function LoadSystemFunction(const wchar_t* dll, const char* name) {
    HMODULE module = ::LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
               : nullptr;
}
