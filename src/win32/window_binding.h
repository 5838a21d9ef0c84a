// The one way a window or dialog finds its C++ object: the object is bound when the window is
// created (WM_NCCREATE, or WM_INITDIALOG for a dialog), every message goes to its OnMessage, and
// the binding ends with the window.
//
// The object offers `void Bind(HWND)` (null when the window is gone) and `OnMessage(UINT,
// WPARAM, LPARAM)`, returning LRESULT for a window and INT_PTR for a dialog. Create the window
// with the object as its creation parameter (CreateWindowExW's last argument, the dialog's
// init parameter) and BoundWindowProc<T> or BoundDialogProc<T> as its procedure.
#pragma once

#include <windows.h>

#include "win32/failure.h"

template <typename T>
LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* bound = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bound));
        bound->Bind(hwnd);
    }
    auto* object = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!object)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = Guarded([&] { return object->OnMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        object->Bind(nullptr);
    }
    return result;
}

template <typename T>
INT_PTR CALLBACK BoundDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* bound = reinterpret_cast<T*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        bound->Bind(hwnd);
    }
    auto* object = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!object)
        return FALSE;
    INT_PTR result = Guarded([&] { return object->OnMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        object->Bind(nullptr);
    }
    return result;
}
