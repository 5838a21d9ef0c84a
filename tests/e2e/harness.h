// End-to-end harness: starts DeskBroom.exe in a fresh folder and acts on it as the user and the
// desktop do (tray clicks with real mouse input, menu access keys, message boxes, registry).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The settings key and the user's Run key, below HKEY_CURRENT_USER.
inline constexpr wchar_t kAppKey[] = L"Software\\VB and VBA Program Settings\\DeskBroom";
inline constexpr wchar_t kSettingsKey[] =
    L"Software\\VB and VBA Program Settings\\DeskBroom\\Settings";
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Waits until the condition holds, processing this thread's messages meanwhile.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
void PumpMessages();

// The folder that holds the test program (and DeskBroom.exe and the packages beside it).
std::wstring BuildFolder();

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

// Wine shows tray icons in its own "Wine System Tray" window; these are the icons' windows, in
// display order.
std::vector<HWND> TrayIconWindows();

struct StartOptions {
    // Content of WindowsFilter.txt (bytes as written); nothing: no filter file at all.
    // Wine's own tray window is a closable top-level window, so the default spares it.
    std::optional<std::string> filterFile = std::string("Wine System Tray\r\n");
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

    DWORD pid() const { return pid_; }
    HANDLE process() const { return process_; }
    const std::wstring& folder() const { return folder_; }
    // The hidden main window "Desk Broom" of this process (found anew each time).
    HWND MainWindow() const;
    bool IsRunning() const;
    bool WaitForExit(DWORD timeoutMs = 10000) const;
    // True when the process has ended with exit code 0, as its own exit path ends it.
    bool EndedCleanly() const;
    // Waits until the process is idle, waiting for input.
    void WaitForIdle(DWORD timeoutMs = 10000) const;

    // This process's icon in the tray; null when it has none.
    HWND TrayIcon() const;
    bool WaitForTrayIcon(DWORD timeoutMs = 10000) const;
    void LeftClickTrayIcon() const;
    void RightClickTrayIcon() const;
    // The tray menu, opened by a right click; null when it is not open.
    HWND OpenMenu() const;
    HWND WaitForMenu(DWORD timeoutMs = 5000) const;
    // Right click on the icon, then the item's access key.
    void PickMenuItem(wchar_t accessKey) const;
    // Whether the open menu shows a check mark at the item (0-based), read from the screen.
    bool MenuItemChecked(HWND menu, int index, int itemCount = 8) const;

    // A message box of this process captioned "DeskBroom".
    HWND FindMessageBox() const;
    HWND WaitForMessageBox(DWORD timeoutMs = 10000) const;
    // Exit through the tray menu; true when the process ended.
    bool ExitThroughMenu();

  private:
    std::wstring folder_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Every end-to-end test starts with no DeskBroom settings and ends with no DeskBroom running.
class DeskBroomTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace e2e
