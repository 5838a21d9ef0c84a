// Stands in for a program that DeskBroom starts (Write, Notepad): records the command line it
// was started with in "<own name>.cmdline.txt" beside itself, as UTF-16, and ends.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH * 4];
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4)
        return 1;
    std::wstring record(path, length);
    record.erase(record.find_last_of(L'.'));
    record += L".cmdline.txt";
    std::wstring partial = record + L".partial";

    const wchar_t* commandLine = ::GetCommandLineW();
    HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, commandLine,
                          static_cast<DWORD>(::lstrlenW(commandLine) * sizeof(wchar_t)), &written,
                          nullptr);
    ::CloseHandle(file);
    // Renamed when complete, so that a reader never sees half a record.
    return ok && ::MoveFileExW(partial.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
