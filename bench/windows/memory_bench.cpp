// Private memory of DeskBroom.exe after start-up, against the minimal tray program started the
// same way in the same run: each program is copied into a fresh folder with its filter file,
// started, measured once its tray icon is up and it has gone idle, and closed. Prints the
// ratios of the memory goals. Argument: another DeskBroom.exe to measure instead of the one
// beside this program (to compare builds).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "../bench_patterns.h"

namespace {

constexpr wchar_t kAppKey[] = L"Software\\VB and VBA Program Settings\\DeskBroom";
constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\DeskBroom\\Settings";
constexpr int kStarts = 3;  // per case; the median counts
// The filter file reader's largest buffer: the chunk it reads the file in.
constexpr double kReaderBuffer = 64 * 1024;

std::wstring Folder() {
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

int TrayIconCount() {
    int count = 0;
    HWND tray = ::FindWindowW(L"__winex11_standalone_tray", nullptr);
    for (HWND icon = tray ? ::FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr)
                          : nullptr;
         icon; icon = ::FindWindowExW(tray, icon, L"__winex11_tray_icon", nullptr)) {
        count += ::IsWindowVisible(icon) ? 1 : 0;
    }
    return count;
}

bool WaitFor(bool (*condition)(int), int value, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (condition(value))
            return true;
        ::Sleep(50);
    }
    return condition(value);
}

struct Memory {
    double privateBytes = 0;
    double peakWorkingSet = 0;
    double workingSet = 0;
};

void CloseWindowsOf(DWORD pid) {
    ::EnumWindows(
        [](HWND window, LPARAM target) -> BOOL {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == static_cast<DWORD>(target))
                ::PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
        },
        static_cast<LPARAM>(pid));
}

// Copies a short text with an HTML format beside it, as a browser does.
void CopyFormattedText() {
    if (!::OpenClipboard(nullptr))
        return;
    ::EmptyClipboard();
    auto put = [](UINT format, const void* data, std::size_t size) {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
        if (!memory)
            return;
        std::memcpy(::GlobalLock(memory), data, size);
        ::GlobalUnlock(memory);
        ::SetClipboardData(format, memory);
    };
    const wchar_t text[] = L"Copied\tfrom a page\f";
    const char html[] = "<b>Copied</b> from a page";
    put(CF_UNICODETEXT, text, sizeof text);
    put(::RegisterClipboardFormatW(L"HTML Format"), html, sizeof html);
    ::CloseClipboard();
}

// Starts `exe` from a folder of its own holding `filter` as its filter file; the stored switch
// `setting` (none when null) is on at start-up. With every copy cleaned, a copy is made once the
// program is up, so that the cleaning has run before it is measured.
Memory Measure(const std::wstring& exe, const std::string& filter, const wchar_t* setting) {
    const std::wstring folder = Folder() + L"\\memory-bench";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring copy = folder + L"\\" + exe.substr(exe.find_last_of(L'\\') + 1);
    // The last copy may still be held for a moment by the process that ran from it.
    for (int tries = 0; !::CopyFileW(exe.c_str(), copy.c_str(), FALSE) && tries < 100; ++tries)
        ::Sleep(50);
    HANDLE file = ::CreateFileW((folder + L"\\WindowsFilter.txt").c_str(), GENERIC_WRITE, 0,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, filter.data(), static_cast<DWORD>(filter.size()), &written, nullptr);
    ::CloseHandle(file);

    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey);
    if (setting) {
        HKEY key = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &key, nullptr);
        const wchar_t on[] = L"1";
        ::RegSetValueExW(key, setting, 0, REG_SZ, reinterpret_cast<const BYTE*>(on), sizeof on);
        ::RegCloseKey(key);
    }

    const int iconsBefore = TrayIconCount();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::wstring command = L"\"" + copy + L"\"";
    Memory memory;
    if (!::CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &started)) {
        std::fprintf(stderr, "cannot start %ls\n", copy.c_str());
        return memory;
    }
    // Start-up has ended when the icon is up and the program waits for input; a moment more
    // lets the loading of the filter and the hotkeys settle.
    if (!WaitFor([](int before) { return TrayIconCount() > before; }, iconsBefore, 30000))
        std::fprintf(stderr, "no tray icon from %ls\n", copy.c_str());
    ::WaitForInputIdle(started.hProcess, 10000);
    if (setting && std::wstring(setting) == L"CcEveryCopy") {
        const DWORD copied = (CopyFormattedText(), ::GetClipboardSequenceNumber());
        if (!WaitFor([](int sequence) { return ::GetClipboardSequenceNumber() != DWORD(sequence); },
                     static_cast<int>(copied), 5000)) {
            std::fprintf(stderr, "the copy was not cleaned\n");
        }
    }
    ::Sleep(1500);
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (::GetProcessMemoryInfo(started.hProcess,
                               reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof counters)) {
        // Windows gives the private bytes as both PrivateUsage and PagefileUsage; Wine fills in
        // only the second (the process's anonymous resident memory), and its PeakPagefileUsage
        // is the current value, so the peak is read from the working set's.
        memory.privateBytes = static_cast<double>(counters.PagefileUsage);
        memory.peakWorkingSet = static_cast<double>(counters.PeakWorkingSetSize);
        memory.workingSet = static_cast<double>(counters.WorkingSetSize);
    }
    CloseWindowsOf(started.dwProcessId);
    if (::WaitForSingleObject(started.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(started.hProcess, 1);
    ::WaitForSingleObject(started.hProcess, INFINITE);
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    WaitFor([](int before) { return TrayIconCount() <= before; }, iconsBefore, 5000);
    return memory;
}

Memory Median(const std::wstring& exe, const std::string& filter, const wchar_t* setting,
              const char* name) {
    std::vector<Memory> runs;
    for (int i = 0; i < kStarts * 2 && runs.size() < kStarts; ++i) {
        const Memory run = Measure(exe, filter, setting);
        if (run.privateBytes > 0)
            runs.push_back(run);
    }
    if (runs.empty())
        return {};
    auto median = [&](double Memory::*field) {
        std::vector<double> values;
        for (const Memory& run : runs)
            values.push_back(run.*field);
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const Memory result{median(&Memory::privateBytes), median(&Memory::peakWorkingSet),
                        median(&Memory::workingSet)};
    std::printf("  %-36s private %6.0f KB, working set %6.0f KB, its peak %6.0f KB\n", name,
                result.privateBytes / 1024, result.workingSet / 1024, result.peakWorkingSet / 1024);
    return result;
}

// The realistic filter of the matching benchmark: 10000 patterns, UTF-8, CR LF; one line in ten
// names a program, by its file name or by a folder.
std::string TenThousandPatterns() {
    std::mt19937 random(20261207);
    std::string file;
    for (int i = 0; i < 10000; ++i) {
        if (i % 20 == 5) {
            file += "program:" + bench::Utf8(bench::Elsewhere(random)) + "*.exe\r\n";
        } else if (i % 20 == 15) {
            file += "program:*\\" + bench::Utf8(bench::Elsewhere(random)) + "\\*\r\n";
        } else {
            file += bench::Utf8(bench::Pattern(random)) + "\r\n";
        }
    }
    return file;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring minimal = Folder() + L"\\minimal_tray.exe";
    const std::wstring deskBroom = argc > 1 ? argv[1] : Folder() + L"\\DeskBroom.exe";
    const std::string patterns = TenThousandPatterns();
    const std::string oneLine(100u << 20, 'x');

    std::printf("Memory after start-up under Wine, median of %d starts each:\n", kStarts);
    const Memory base = Median(minimal, "", nullptr, "minimal tray program");
    const Memory empty = Median(deskBroom, "", nullptr, "DeskBroom, empty filter file");
    const Memory filtered = Median(deskBroom, patterns, nullptr, "DeskBroom, 10000 patterns");
    const Memory armed = Median(deskBroom, "", L"HotkeysActivated", "DeskBroom, hotkeys armed");
    const Memory everyCopy = Median(deskBroom, "", L"CcEveryCopy", "DeskBroom, every copy cleaned");
    const Memory huge = Median(deskBroom, oneLine, nullptr, "DeskBroom, 100 MB one-line filter");

    const double fileSize = static_cast<double>(patterns.size());
    const double added = filtered.privateBytes - empty.privateBytes;
    // What reading held for a while and gave back: the working set's peak above what the
    // program holds after start-up, beyond the same for the empty filter file. Comparing peaks
    // of different starts directly would measure how many shared pages each start touched.
    const double peakAdded =
        (huge.peakWorkingSet - huge.workingSet) - (empty.peakWorkingSet - empty.workingSet);
    std::printf("\nRatios (goals in brackets):\n");
    std::printf("  private memory, empty filter file:       %.2fx the minimal program (<= 1.1x)\n",
                empty.privateBytes / base.privateBytes);
    std::printf(
        "  memory the filter adds:                  %.2fx the file's size, %+.0f KB for "
        "%.0f KB (<= 8x)\n",
        added / fileSize, added / 1024, fileSize / 1024);
    std::printf("  private memory, hotkeys armed:           %.2fx the minimal program (<= 1.1x)\n",
                armed.privateBytes / base.privateBytes);
    std::printf("  private memory, every copy cleaned:      %.2fx the minimal program (<= 1.1x)\n",
                everyCopy.privateBytes / base.privateBytes);
    std::printf(
        "  peak reading a 100 MB one-line filter:   %.2fx the reader's 64 KB buffer, "
        "%+.0f KB held while reading (<= 2x)\n",
        peakAdded / kReaderBuffer, peakAdded / 1024);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey);
    return 0;
}
