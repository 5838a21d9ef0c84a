// Entry point: the process is the main window and its message loop.
#include <windows.h>
#include <objbase.h>

#include <memory>

#include "app/frm_desk_broom_win32.h"
#include "system/settings_store_win32.h"
#include "win32/failure.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything can load a DLL: from now on DLLs come from the system folder only, never
    // from the program's own folder (Downloads, or a tools folder others can write to).
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The shell's documentation asks for COM on a thread that calls ShellExecuteEx (Help): the
    // program that opens a document may need it. Without OLE1 DDE, which the shell no longer uses.
    const bool com =
        SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    static RegistrySettingsBackend settings;
    UseSettingsBackend(&settings);

    auto form = std::make_unique<frmDeskBroom>(instance);
    Guarded([&] { form->Create(); });

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (com)
        ::CoUninitialize();
    return static_cast<int>(msg.wParam);
}
