// The packages as a Windows user and an administrator's script meet them: the installer and its
// uninstaller run silently, an upgrade over a running copy, and the portable ZIP.
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "harness.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DeskBroom";
constexpr wchar_t kRunValue[] = L"DeskBroom";
const std::wstring kRelease = DESKBROOM_RELEASE;

fs::path KnownFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

const fs::path kInstallFolder = KnownFolder(CSIDL_LOCAL_APPDATA) / L"Programs" / L"DeskBroom";
const fs::path kShortcut = KnownFolder(CSIDL_PROGRAMS) / L"DeskBroom.lnk";

std::wstring Quoted(const fs::path& path) {
    return L"\"" + path.wstring() + L"\"";
}

const std::wstring kSetup = Quoted(fs::path(BuildFolder()) / (kRelease + L"-setup.exe"));

// Runs a command line to its end; its exit code.
DWORD RunToEnd(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        ADD_FAILURE() << "cannot start " << commandLine;
        return ::GetLastError();
    }
    ::CloseHandle(info.hThread);
    DWORD code = STILL_ACTIVE;
    WaitFor([&] { return ::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0; }, 120000);
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hProcess);
    return code;
}

std::set<std::wstring> FilesIn(const fs::path& folder) {
    std::set<std::wstring> names;
    std::error_code absent;
    for (const auto& entry : fs::directory_iterator(folder, absent))
        names.insert(entry.path().filename().wstring());
    return names;
}

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::optional<DWORD> ReadNumber(const std::wstring& key, const std::wstring& name) {
    auto value = ReadValue(key, name);
    if (!value || value->type != REG_DWORD || value->data.size() != sizeof(DWORD))
        return std::nullopt;
    return *reinterpret_cast<const DWORD*>(value->data.data());
}

// A string of the file's version resource, in its first language.
std::wstring VersionString(const fs::path& file, const std::wstring& name) {
    DWORD ignored = 0;
    std::vector<BYTE> info(::GetFileVersionInfoSizeW(file.c_str(), &ignored));
    struct Language {
        WORD language, codePage;
    }* languages = nullptr;
    UINT size = 0;
    wchar_t* text = nullptr;
    if (info.empty() || !::GetFileVersionInfoW(file.c_str(), 0, info.size(), info.data()) ||
        !::VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                          reinterpret_cast<void**>(&languages), &size) ||
        size < sizeof(Language)) {
        return L"";
    }
    wchar_t block[64];
    swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", languages->language, languages->codePage);
    if (!::VerQueryValueW(info.data(), (block + name).c_str(), reinterpret_cast<void**>(&text),
                          &size))
        return L"";
    return text;
}

// File properties a user sees for the program and the installer.
void ExpectFileProperties(const fs::path& file) {
    SCOPED_TRACE(file.filename().string());
    EXPECT_EQ(VersionString(file, L"ProductName"), L"DeskBroom");
    EXPECT_EQ(VersionString(file, L"ProductVersion"), L"1.1.0.3");
    EXPECT_EQ(VersionString(file, L"FileVersion"), L"1.1.0.3");
    EXPECT_NE(VersionString(file, L"FileDescription"), L"");
    EXPECT_EQ(VersionString(file, L"LegalCopyright").rfind(L"Copyright (C) ", 0), 0u);
}

class ReleaseTest : public DeskBroomTest {
  protected:
    void SetUp() override {
        DeskBroomTest::SetUp();
        RemoveInstallation();
    }
    void TearDown() override {
        RemoveInstallation();
        DeskBroomTest::TearDown();
    }
    static void RemoveInstallation() {
        DeleteKeyTree(kUninstallKey);
        DeleteValue(kRunKey, kRunValue);
        std::error_code absent;
        fs::remove_all(kInstallFolder, absent);
        fs::remove(kShortcut, absent);
    }
    // The installed DeskBroom, started from its folder as the shortcut does.
    static StartOptions Installed() {
        StartOptions options;
        options.existingFolder = kInstallFolder.wstring();
        return options;
    }
    // The uninstaller hands over to a copy of itself and returns at once: wait for its work.
    static void UninstallAndWaitUntilOnly(const std::set<std::wstring>& left) {
        auto quiet = ReadText(kUninstallKey, L"QuietUninstallString");
        ASSERT_TRUE(quiet);
        EXPECT_EQ(RunToEnd(*quiet), 0u);
        EXPECT_TRUE(WaitFor(
            [&] {
                return FilesIn(kInstallFolder) == left &&
                       fs::exists(kInstallFolder) == !left.empty() &&
                       !ReadValue(kUninstallKey, L"DisplayName") && !ReadValue(kRunKey, kRunValue);
            },
            60000))
            << FilesIn(kInstallFolder).size() << " files left; run value "
            << ReadText(kRunKey, kRunValue).value_or(L"(none)");
        EXPECT_FALSE(fs::exists(kShortcut));
    }
};

TEST_F(ReleaseTest, SilentInstallUpgradeOverARunningCopyAndUninstallKeepTheUsersFilterFile) {
    const fs::path exe = kInstallFolder / L"DeskBroom.exe";
    const fs::path filter = kInstallFolder / L"WindowsFilter.txt";
    ASSERT_EQ(RunToEnd(kSetup + L" /S /AUTOSTART=1"), 0u);
    EXPECT_EQ(FilesIn(kInstallFolder),
              (std::set<std::wstring>{L"DeskBroom.doc", L"DeskBroom.exe", L"ReadMe.txt",
                                      L"Uninstall.exe", L"WindowsFilter.txt"}));
    EXPECT_EQ(Bytes(filter), "");
    EXPECT_TRUE(fs::exists(kShortcut));
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(kInstallFolder))
        bytes += entry.file_size();
    EXPECT_EQ(ReadNumber(kUninstallKey, L"EstimatedSize"), bytes / 1024);
    const std::pair<const wchar_t*, std::wstring> entry[] = {
        {L"DisplayName", L"DeskBroom"},
        {L"DisplayVersion", L"1.1.0.3"},
        {L"Publisher", L"DeskBroom developers"},
        {L"DisplayIcon", Quoted(exe) + L",0"},
        {L"InstallLocation", kInstallFolder.wstring()},
        {L"UninstallString", Quoted(kInstallFolder / L"Uninstall.exe")},
        {L"QuietUninstallString", Quoted(kInstallFolder / L"Uninstall.exe") + L" /S"},
    };
    for (const auto& [name, value] : entry)
        EXPECT_EQ(ReadText(kUninstallKey, name), value) << name;
    EXPECT_EQ(ReadNumber(kUninstallKey, L"NoModify"), 1u);
    EXPECT_EQ(ReadNumber(kUninstallKey, L"NoRepair"), 1u);
    ExpectFileProperties(exe);
    ExpectFileProperties(fs::path(BuildFolder()) / (kRelease + L"-setup.exe"));

    const auto installerRunValue = ReadValue(kRunKey, kRunValue);
    ASSERT_TRUE(installerRunValue);
    EXPECT_EQ(ReadText(kRunKey, kRunValue), Quoted(exe));
    {
        DeskBroom app(Installed());
        ASSERT_NE(app.TrayIcon(), nullptr);
        // The program's own Autostart item, switched off and on, writes exactly the same value.
        app.PickMenuItem(L'p');
        EXPECT_TRUE(WaitFor([&] { return ReadText(kRunKey, kRunValue) == L""; }));
        app.PickMenuItem(L'p');
        EXPECT_TRUE(WaitFor([&] {
            auto value = ReadValue(kRunKey, kRunValue);
            return value && value->type == installerRunValue->type &&
                   value->data == installerRunValue->data;
        }));

        // An upgrade while it runs ends it through its own exit path and keeps the filter file.
        const std::string edited = "Wine System Tray\r\nMein B\xC3\xBCro *\r\n";
        std::ofstream(filter, std::ios::binary) << edited;
        const std::size_t icons = TrayIconWindows().size();
        EXPECT_EQ(RunToEnd(kSetup + L" /S"), 0u);
        EXPECT_TRUE(app.EndedCleanly());
        EXPECT_TRUE(WaitFor([&] { return TrayIconWindows().size() == icons - 1; }));
        EXPECT_EQ(Bytes(filter), edited);
        EXPECT_EQ(ReadText(kRunKey, kRunValue), Quoted(exe)) << "an upgrade keeps autostart";

        // Uninstalling while it runs ends it too, and keeps the changed filter file.
        DeskBroom again(Installed());
        ASSERT_NE(again.TrayIcon(), nullptr);
        UninstallAndWaitUntilOnly({L"WindowsFilter.txt"});
        EXPECT_TRUE(again.EndedCleanly());
        EXPECT_EQ(Bytes(filter), edited);
        EXPECT_TRUE(ReadSetting(L"DeskBroom")) << "the user's settings stay";
    }

    // Installed afresh without autostart and left unchanged: nothing stays behind.
    RemoveInstallation();
    ASSERT_EQ(RunToEnd(kSetup + L" /S"), 0u);
    EXPECT_FALSE(ReadValue(kRunKey, kRunValue));
    UninstallAndWaitUntilOnly({});
}

TEST_F(ReleaseTest, ZipUnpackedIntoAFolderWithBlanksAndNonAnsiCharactersRuns) {
    // Unpacked by the test fixture before this test, as a user's unzip would.
    const fs::path folder = fs::path(BuildFolder()) / L"release-test" / kAwkwardFolder;
    EXPECT_EQ(FilesIn(folder), (std::set<std::wstring>{L"DeskBroom.doc", L"DeskBroom.exe",
                                                       L"ReadMe.txt", L"WindowsFilter.txt"}));
    EXPECT_EQ(Bytes(folder / L"WindowsFilter.txt"), "");
    StartOptions options;
    options.existingFolder = folder.wstring();
    DeskBroom app(options);
    EXPECT_NE(app.TrayIcon(), nullptr);
    EXPECT_EQ(app.FindMessageBox(), nullptr);
    EXPECT_TRUE(app.ExitThroughMenu());
    EXPECT_TRUE(app.EndedCleanly());
}

}  // namespace
}  // namespace e2e
