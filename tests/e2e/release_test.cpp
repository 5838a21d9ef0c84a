// The packages as an administrator's script and a user meet them: silent install, an upgrade over
// a running copy, silent uninstall, and the portable ZIP.
#include <windows.h>
#include <tlhelp32.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "harness.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::wstring, std::uintmax_t>;  // name, size

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DeskBroom";

const fs::path kFolder = fs::path(_wgetenv(L"LOCALAPPDATA")) / L"Programs" / L"DeskBroom";
const fs::path kShortcut =
    fs::path(_wgetenv(L"APPDATA")) / L"Microsoft\\Windows\\Start Menu\\Programs\\DeskBroom.lnk";
const fs::path kFilter = kFolder / L"WindowsFilter.txt";
const std::wstring kExe = L"\"" + (kFolder / L"DeskBroom.exe").wstring() + L"\"";
const std::wstring kUninstaller = L"\"" + (kFolder / L"Uninstall.exe").wstring() + L"\"";
const std::wstring kSetup = L"\"" + BuildFolder() + L"\\" DESKBROOM_RELEASE L"-setup.exe\" /S";

// What the folder holds now; a file that goes while it is listed (an uninstall at work) is not.
Files FilesIn(const fs::path& folder) {
    Files files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code gone;
        const std::uintmax_t size = it->file_size(gone);
        if (!gone)
            files[it->path().filename().wstring()] = size;
    }
    return files;
}

std::wstring NamesOf(const Files& files) {
    std::wstring names;
    for (const auto& [name, size] : files)
        names += name + L" ";
    return names;
}

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// An entry of the installed-apps list as text; a number in decimal.
std::wstring AppsEntry(const wchar_t* name) {
    auto value = ReadValue(kUninstallKey, name);
    if (value && value->type == REG_DWORD)
        return std::to_wstring(*reinterpret_cast<const DWORD*>(value->data.data()));
    return ReadText(kUninstallKey, name).value_or(L"(none)");
}

void RemoveInstallation() {
    DeleteKeyTree(kUninstallKey);
    DeleteValue(kRunKey, L"DeskBroom");
    std::error_code absent;
    fs::remove_all(kFolder, absent);
    fs::remove(kShortcut, absent);
}

// The uninstaller hands its work to a copy of itself and returns at once: runs both to their end
// and gives the uninstaller's exit code.
DWORD Uninstall(const std::wstring& commandLine) {
    Process uninstaller;
    if (!uninstaller.Start(commandLine) || !uninstaller.WaitForExit(60000))
        return ~0u;
    // The copy is the process it started. Its id cannot name another process meanwhile: the
    // uninstaller's handle, still open, keeps the id taken.
    std::vector<HANDLE> copies;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
         more = ::Process32NextW(snapshot, &entry)) {
        HANDLE copy = entry.th32ParentProcessID == uninstaller.pid()
                          ? ::OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)
                          : nullptr;
        if (copy)
            copies.push_back(copy);
    }
    ::CloseHandle(snapshot);
    for (HANDLE copy : copies) {
        EXPECT_EQ(::WaitForSingleObject(copy, 60000), WAIT_OBJECT_0) << "the uninstaller's copy";
        ::CloseHandle(copy);
    }
    return uninstaller.ExitCode();
}

void UninstallLeaving(const Files& left) {
    EXPECT_EQ(Uninstall(ReadText(kUninstallKey, L"QuietUninstallString").value_or(L"")), 0u);
    EXPECT_EQ(FilesIn(kFolder), left);
    EXPECT_EQ(fs::exists(kFolder), !left.empty());
    EXPECT_FALSE(ReadValue(kUninstallKey, L"DisplayName") || ReadValue(kRunKey, L"DeskBroom") ||
                 ReadValue(kStartupApprovedKey, L"DeskBroom") || fs::exists(kShortcut));
}

using ReleaseTest = DeskBroomTest;

TEST_F(ReleaseTest, SilentInstallUpgradeOverARunningCopyAndUninstallKeepTheUsersFilterFile) {
    RemoveInstallation();
    // Asked for, autostart is on whatever Task Manager had; an upgrade keeps Task Manager's state.
    const BYTE disabled[12] = {3};
    WriteValue(kStartupApprovedKey, L"DeskBroom", REG_BINARY, disabled, sizeof disabled);
    ASSERT_EQ(RunToEnd(kSetup + L" /AUTOSTART=1"), 0u);
    EXPECT_FALSE(ReadValue(kStartupApprovedKey, L"DeskBroom"));
    Files files = FilesIn(kFolder);
    std::uintmax_t bytes = 0;
    for (const auto& [name, size] : files)
        bytes += size;
    EXPECT_EQ(NamesOf(files),
              L"DeskBroom.doc DeskBroom.exe ReadMe.txt Uninstall.exe WindowsFilter.txt ");
    EXPECT_EQ(files[L"WindowsFilter.txt"], 0u);
    EXPECT_TRUE(fs::exists(kShortcut));
    const std::pair<const wchar_t*, std::wstring> apps[] = {
        {L"DisplayName", L"DeskBroom"},
        {L"DisplayVersion", DESKBROOM_VERSION},
        {L"Publisher", L"DeskBroom developers"},
        {L"DisplayIcon", kExe + L",0"},
        {L"InstallLocation", kFolder.wstring()},
        {L"UninstallString", kUninstaller},
        {L"QuietUninstallString", kUninstaller + L" /S"},
        {L"EstimatedSize", std::to_wstring(bytes / 1024)},
        {L"NoModify", L"1"},
        {L"NoRepair", L"1"},
    };
    for (const auto& [name, value] : apps)
        EXPECT_EQ(AppsEntry(name), value) << name;

    // The installer's Run value is the one the program's Autostart item writes, to the byte.
    const auto installed = ReadValue(kRunKey, L"DeskBroom");
    ASSERT_TRUE(installed && ReadText(kRunKey, L"DeskBroom") == kExe);
    {
        DeskBroom app({.existingFolder = kFolder.wstring()});
        ASSERT_TRUE(app.TrayIcon());
        app.PickMenuItem(L'p');
        EXPECT_TRUE(WaitFor([&] { return ReadText(kRunKey, L"DeskBroom") == L""; }));
        app.PickMenuItem(L'p');
        EXPECT_TRUE(WaitFor([&] {
            auto now = ReadValue(kRunKey, L"DeskBroom");
            return now && now->type == installed->type && now->data == installed->data;
        }));

        // An upgrade while it runs ends it through its own exit path and keeps the filter file.
        const std::string edited = WineTrayFilterLine() + "Mein B\xC3\xBCro *\r\n";
        std::ofstream(kFilter, std::ios::binary) << edited;
        HWND main = app.MainWindow();
        WriteValue(kStartupApprovedKey, L"DeskBroom", REG_BINARY, disabled, sizeof disabled);
        EXPECT_EQ(RunToEnd(kSetup), 0u);
        EXPECT_TRUE(app.EndedCleanly());
        EXPECT_TRUE(WaitFor([&] { return !TrayIconOf(main); }));
        EXPECT_EQ(Bytes(kFilter), edited);
        EXPECT_EQ(ReadText(kRunKey, L"DeskBroom"), kExe) << "an upgrade keeps autostart";
        EXPECT_TRUE(ReadValue(kStartupApprovedKey, L"DeskBroom"));

        // So does uninstalling, which leaves the user's settings too. Task Manager's state of the
        // entry (switched off there) goes with the entry; another program's stays.
        WriteValue(kStartupApprovedKey, L"Other", REG_BINARY, disabled, sizeof disabled);
        DeskBroom again({.existingFolder = kFolder.wstring()});
        UninstallLeaving({{L"WindowsFilter.txt", edited.size()}});
        EXPECT_TRUE(ReadValue(kStartupApprovedKey, L"Other"));
        DeleteValue(kStartupApprovedKey, L"Other");
        EXPECT_TRUE(again.EndedCleanly());
        EXPECT_EQ(Bytes(kFilter), edited);
        EXPECT_TRUE(ReadSetting(L"DeskBroom"));
    }

    // Installed afresh without autostart and left unchanged: nothing stays behind. /RUN starts it
    // through the shell (Wine's setup counts as elevated), and the uninstaller ends it.
    RemoveInstallation();
    ASSERT_EQ(RunToEnd(kSetup + L" /RUN"), 0u);
    HWND main = nullptr;
    EXPECT_TRUE(WaitFor(
        [&] { return TrayIconOf(main = ::FindWindowW(nullptr, L"Desk Broom")).has_value(); },
        30000));
    EXPECT_FALSE(ReadValue(kRunKey, L"DeskBroom"));
    UninstallLeaving({});
    EXPECT_TRUE(WaitFor([&] { return !TrayIconOf(main); }));
}

TEST_F(ReleaseTest, InstallIntoAnotherProgramsFolderUsesAFolderOfItsOwnAndLeavesTheirFiles) {
    RemoveInstallation();
    const fs::path tools = fs::path(BuildFolder()) / L"release-test" / L"Tools";
    const fs::path own = tools / L"DeskBroom";
    const std::pair<const wchar_t*, std::string> theirs[] = {
        {L"ReadMe.txt", "Their read-me\r\n"},
        {L"WindowsFilter.txt", "their own filter"},
        {L"Tool.exe", "MZ"},
    };
    std::error_code absent;
    fs::remove_all(tools, absent);
    fs::create_directories(tools);
    for (const auto& [name, bytes] : theirs)
        std::ofstream(tools / name, std::ios::binary) << bytes;

    ASSERT_EQ(RunToEnd(kSetup + L" /D=" + tools.wstring()), 0u);
    EXPECT_EQ(AppsEntry(L"InstallLocation"), own.wstring());
    EXPECT_EQ(NamesOf(FilesIn(own)),
              L"DeskBroom.doc DeskBroom.exe ReadMe.txt Uninstall.exe WindowsFilter.txt ");
    EXPECT_EQ(Uninstall(L"\"" + (own / L"Uninstall.exe").wstring() + L"\" /S"), 0u);
    EXPECT_FALSE(fs::exists(own));
    EXPECT_EQ(FilesIn(tools).size(), std::size(theirs));
    for (const auto& [name, bytes] : theirs)
        EXPECT_EQ(Bytes(tools / name), bytes) << name;
}

TEST_F(ReleaseTest, ZipUnpackedIntoAFolderWithBlanksAndNonAnsiCharactersRuns) {
    // Unpacked there, as a user's unzip would, by the fixture that runs before this test.
    const fs::path folder = fs::path(BuildFolder()) / L"release-test" / kAwkwardFolder;
    Files files = FilesIn(folder);
    EXPECT_EQ(NamesOf(files), L"DeskBroom.doc DeskBroom.exe ReadMe.txt WindowsFilter.txt ");
    EXPECT_EQ(files[L"WindowsFilter.txt"], 0u);
    DeskBroom app({.existingFolder = folder.wstring()});
    EXPECT_TRUE(app.TrayIcon());
    EXPECT_EQ(app.FindMessageBox(), nullptr);
    EXPECT_TRUE(app.ExitThroughMenu());
    EXPECT_TRUE(app.EndedCleanly());
}

}  // namespace
}  // namespace e2e
