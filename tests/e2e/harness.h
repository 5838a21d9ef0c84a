// End-to-end harness: starts DeskBroom.exe in a fresh folder and acts on it as the user and the
// desktop do (tray clicks with real mouse input, menu access keys, message boxes, registry,
// clipboard), on Windows and under Wine alike.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace e2e {

// The settings key and the user's Run keys, below HKEY_CURRENT_USER.
inline constexpr wchar_t kAppKey[] = L"Software\\VB and VBA Program Settings\\DeskBroom";
inline constexpr wchar_t kSettingsKey[] =
    L"Software\\VB and VBA Program Settings\\DeskBroom\\Settings";
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Task Manager's record of which Run entries the user switched off.
inline constexpr wchar_t kStartupApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// Waits until the condition holds, processing this thread's messages meanwhile.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
// Lets time pass while this thread's messages are handled: room for what should not come.
void Linger(DWORD ms);
void PumpMessages();

// The folder that holds the test program (and DeskBroom.exe and the packages beside it).
std::wstring BuildFolder();
// The whole file, opened as programs that save by renaming allow: deletion shared too, so that the
// rename's own handle, still open when the new name appears, does not refuse the reader. None
// when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::wstring& path);

// Blanks, a Latin letter beyond ASCII, CJK and Cyrillic: no one ANSI code page holds them all.
inline constexpr wchar_t kAwkwardFolder[] = L"Pr\u00FCfung \u65E5\u672C \u0414\u0435\u0441\u043A";

// Registry.
struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
std::optional<RegistryValue> ReadValue(const std::wstring& key, const std::wstring& name);
void WriteValue(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
                DWORD size);
void DeleteValue(const std::wstring& key, const std::wstring& name);
void DeleteKeyTree(const std::wstring& key);
// A REG_SZ value as text (up to its first NUL); nothing when absent or of another type.
std::optional<std::wstring> ReadText(const std::wstring& key, const std::wstring& name);
void WriteText(const std::wstring& key, const std::wstring& name, const std::wstring& text);
std::optional<std::wstring> ReadSetting(const std::wstring& name);
void WriteSetting(const std::wstring& name, const std::wstring& text);

// Real input, as a user gives it.
void MoveMouseTo(POINT at);
void ClickAt(POINT at, bool right = false);
void PressKey(WORD vk);  // down and up
void KeyDown(WORD vk);
void KeyUp(WORD vk);
// Presses the keys in order and releases them in reverse order (Ctrl+Alt+Shift+F12).
void PressChord(std::initializer_list<WORD> keys);
// Types text into the focused window the way a keyboard would (Shift for capitals).
void TypeText(const std::wstring& text);

// Message boxes and dialogs: windows of class "#32770".
std::wstring WindowText(HWND window);
std::wstring MessageBoxText(HWND box);  // CR line breaks kept as they are
void PressButton(HWND dialog, int id);  // IDOK, IDYES, IDNO...
// Visible top-level windows of a process with the given class (nullptr: any) and caption.
std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* className, const wchar_t* caption);

// Saves that part of the screen as screenshots\<name>.png in the build folder (taken by
// scripts/e2e.sh); the README's pictures in docs/ are these files.
void SaveScreenshot(const std::wstring& name, RECT area);
void SaveScreenshot(const std::wstring& name, HWND window);  // its client area

// Where the tray icon that a window added (icon id 1) is on the screen; nothing when it has
// none. Under Wine, whose shell cannot tell, Wine's own tray window is asked.
std::optional<RECT> TrayIconOf(HWND window);
// True where the tray is Wine's standalone window rather than the Windows shell's.
bool TrayIsWines();

// The filter-file line that spares Wine's own tray window ("Wine System Tray"), where that
// window shows the icons; elsewhere nothing. Close-all would otherwise hide every tray icon.
std::string WineTrayFilterLine(const char* lineEnd = "\r\n");

// A process the test started; a helper beside the test program is found by its bare name.
class Process {
  public:
    Process() = default;
    ~Process();  // ends the process if it still runs
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts in the folder (empty: the test's own); false with error() set when it did not.
    bool Start(std::wstring commandLine, const std::wstring& folder = {});
    HANDLE handle() const { return handle_; }
    DWORD pid() const { return pid_; }
    DWORD error() const { return error_; }
    bool IsRunning() const;
    bool WaitForExit(DWORD timeoutMs = 10000) const;
    DWORD ExitCode() const;  // STILL_ACTIVE while it runs

  private:
    HANDLE handle_ = nullptr;
    DWORD pid_ = 0;
    DWORD error_ = 0;
};

// Runs a command line to its end; its exit code, or ~0 when it did not start or end in time.
DWORD RunToEnd(const std::wstring& commandLine, DWORD timeoutMs = 120000);

// The clipboard, shared with DeskBroom: opened within a few seconds, or the test fails.
struct ClipboardFormat {
    UINT id;
    std::vector<BYTE> data;
};
struct ClipboardContents {
    std::set<UINT> formats;
    std::optional<std::wstring> text;   // CF_UNICODETEXT up to its NUL
    std::vector<ClipboardFormat> data;  // of the formats asked for
};
bool OpenClipboardSoon();
// Replaces the clipboard's contents with the given formats (none: an empty clipboard).
void SetClipboard(const std::vector<ClipboardFormat>& formats);
ClipboardContents ReadClipboard(const std::vector<UINT>& dataOf = {});
std::vector<BYTE> TextData(const std::wstring& text);  // with its NUL, as CF_UNICODETEXT holds it
void PutClipboardText(const std::wstring& text);
std::optional<std::wstring> ClipboardText();

struct StartOptions {
    // Content of WindowsFilter.txt (bytes as written); nothing: no filter file at all.
    std::optional<std::string> filterFile = WineTrayFilterLine();
    // Name of the program's folder below the test's own folder (blanks and any characters).
    std::wstring folderName = L"DeskBroom";
    // Wait until the icon is in the tray (false for starts that stop at a message box).
    bool waitForTrayIcon = true;
    // Instead: start the DeskBroom.exe already in this folder (installed, unpacked) as it is.
    std::wstring existingFolder;
};

class DeskBroom {
  public:
    // Copies DeskBroom.exe into a fresh folder for the running test and starts it there.
    explicit DeskBroom(const StartOptions& options = {});
    ~DeskBroom();
    DeskBroom(const DeskBroom&) = delete;
    DeskBroom& operator=(const DeskBroom&) = delete;

    DWORD pid() const { return process_.pid(); }
    HANDLE process() const { return process_.handle(); }
    const std::wstring& folder() const { return folder_; }
    // The hidden main window "Desk Broom" of this process (found anew each time).
    HWND MainWindow() const;
    bool IsRunning() const;
    bool WaitForExit(DWORD timeoutMs = 10000) const;
    // True when the process has ended with exit code 0, as its own exit path ends it.
    bool EndedCleanly() const;
    // Waits until the process is idle, waiting for input.
    void WaitForIdle(DWORD timeoutMs = 10000) const;

    // Where this process's icon is in the tray; nothing when it has none.
    std::optional<RECT> TrayIcon() const;
    bool WaitForTrayIcon(DWORD timeoutMs = 10000) const;
    void LeftClickTrayIcon() const;
    void RightClickTrayIcon() const;
    // The tray menu, opened by a right click; null when it is not open.
    HWND OpenMenu() const;
    HWND WaitForMenu(DWORD timeoutMs = 5000) const;
    // Right click on the icon, then the item's access key.
    void PickMenuItem(wchar_t accessKey) const;
    // Whether the open menu shows a check mark at the item (0-based; kHighlighted: the one the
    // keyboard is on, in a menu of items of any height), read from the screen.
    static constexpr int kHighlighted = -1;
    bool MenuItemChecked(HWND menu, int index, int itemCount = 9) const;
    // Right click on the icon, then O: the Options submenu, its first item highlighted; null
    // when it did not open.
    HWND OpenOptions() const;
    // The same, then the item's access key.
    void PickOption(wchar_t accessKey) const;

    // A message box of this process captioned "DeskBroom".
    HWND FindMessageBox() const;
    HWND WaitForMessageBox(DWORD timeoutMs = 10000) const;
    // Exit through the tray menu; true when the process ended.
    bool ExitThroughMenu();

    // Puts the command-line recorder (helpers\Write.exe) into the program's folder as name.exe,
    // to stand in for a program that DeskBroom starts from there.
    void PlaceRecorder(const std::wstring& name) const;
    // The command line the recorder named so was started with; nothing when it did not run.
    std::optional<std::wstring> RecordedCommandLine(const std::wstring& name) const;

  private:
    std::wstring folder_;
    Process process_;
};

// Every end-to-end test starts with no DeskBroom settings.
class DeskBroomTest : public ::testing::Test {
  protected:
    void SetUp() override;
};

}  // namespace e2e
