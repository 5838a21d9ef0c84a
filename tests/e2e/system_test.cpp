// Autostart through the Run key, Help and About, as a user meets them from the tray menu.
#include <filesystem>
#include <fstream>

#include "harness.h"

namespace e2e {
namespace {

constexpr wchar_t kValueName[] = L"DeskBroom";
constexpr int kItemAutostart = 5;

// The Run value is a REG_SZ whose datum is exactly this text and one NUL.
bool RunValueIs(const std::wstring& text) {
    auto value = ReadValue(kRunKey, kValueName);
    return value && value->type == REG_SZ && value->data == TextData(text);
}

std::wstring RunValueDescription() {
    auto value = ReadValue(kRunKey, kValueName);
    if (!value)
        return L"(no value)";
    std::wstring text(reinterpret_cast<const wchar_t*>(value->data.data()),
                      value->data.size() / sizeof(wchar_t));
    return L"type " + std::to_wstring(value->type) + L", " + std::to_wstring(value->data.size()) +
           L" bytes: " + text;
}

std::wstring QuotedExecutable(const DeskBroom& app) {
    return L"\"" + app.folder() + L"\\DeskBroom.exe\"";
}

// Opens the tray menu, reads the Autostart check mark and closes the menu again. The menu opens
// only when the program has handled what came before, so this also waits for that.
bool AutostartChecked(const DeskBroom& app) {
    app.RightClickTrayIcon();
    HWND menu = app.WaitForMenu();
    EXPECT_NE(menu, nullptr);
    bool checked = menu && app.MenuItemChecked(menu, kItemAutostart);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return app.OpenMenu() == nullptr; }));
    return checked;
}

std::vector<std::wstring> SplitArguments(const std::wstring& commandLine) {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(commandLine.c_str(), &count);
    std::vector<std::wstring> split(arguments, arguments + count);
    ::LocalFree(arguments);
    return split;
}

void AnswerMessageBox(const DeskBroom& app, HWND box) {
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitFor([&] { return app.FindMessageBox() == nullptr; }));
}

class SystemTest : public DeskBroomTest {
  protected:
    void SetUp() override {
        DeskBroomTest::SetUp();
        DeleteValue(kRunKey, kValueName);
    }
    void TearDown() override {
        DeleteValue(kRunKey, kValueName);
        DeskBroomTest::TearDown();
    }
};

TEST_F(SystemTest, AutostartWritesTheQuotedPathAndThenTheEmptyTextWithoutDeletingTheValue) {
    DeskBroom app;
    EXPECT_FALSE(AutostartChecked(app));
    // Switched off in Task Manager; another program's entry there must stay.
    const BYTE disabled[12] = {3};
    for (const wchar_t* name : {kValueName, L"Other"})
        WriteValue(kStartupApprovedKey, name, REG_BINARY, disabled, sizeof disabled);

    app.PickMenuItem(L'p');
    EXPECT_TRUE(WaitFor([&] { return RunValueIs(QuotedExecutable(app)); }))
        << RunValueDescription();
    EXPECT_TRUE(AutostartChecked(app));
    EXPECT_FALSE(ReadValue(kStartupApprovedKey, kValueName)) << "still switched off";
    EXPECT_TRUE(ReadValue(kStartupApprovedKey, L"Other"));

    WriteValue(kStartupApprovedKey, kValueName, REG_BINARY, disabled, sizeof disabled);
    app.PickMenuItem(L'p');
    // Off is a value whose datum is one NUL character, not a missing value.
    EXPECT_TRUE(WaitFor([&] { return RunValueIs(L""); })) << RunValueDescription();
    EXPECT_FALSE(AutostartChecked(app));
    EXPECT_TRUE(ReadValue(kStartupApprovedKey, kValueName)) << "switching off touches it";
    for (const wchar_t* name : {kValueName, L"Other"})
        DeleteValue(kStartupApprovedKey, name);

    app.PickMenuItem(L'p');
    EXPECT_TRUE(WaitFor([&] { return RunValueIs(QuotedExecutable(app)); }))
        << RunValueDescription();
}

TEST_F(SystemTest, StartShowsAutostartFromWhatTheRunValueHolds) {
    const std::wstring oldPath = L"\"C:\\Old place\\DeskBroom.exe\"";
    const DWORD zero = 0;
    const DWORD minusFive = static_cast<DWORD>(-5);
    const std::vector<BYTE> binaryPath = TextData(oldPath);
    const std::wstring expandable = L"%ProgramFiles%\\DeskBroom\\DeskBroom.exe";
    const wchar_t oneCharacterWithoutNul = L'x';
    struct Case {
        const char* name;
        DWORD type;
        const void* data;
        DWORD size;
        bool on;
        bool switchedOff = false;  // by Task Manager, beside the Run value
    };
    const BYTE disabled[12] = {3};
    const Case cases[] = {
        {"an old path", REG_SZ, oldPath.c_str(),
         static_cast<DWORD>((oldPath.size() + 1) * sizeof(wchar_t)), true},
        {"an old path switched off in Task Manager", REG_SZ, oldPath.c_str(),
         static_cast<DWORD>((oldPath.size() + 1) * sizeof(wchar_t)), false, true},
        {"a text stored without its NUL", REG_SZ, &oneCharacterWithoutNul, sizeof(wchar_t), true},
        {"the number 0", REG_DWORD, &zero, sizeof zero, true},
        {"a negative number", REG_DWORD, &minusFive, sizeof minusFive, true},
        {"the empty text", REG_SZ, L"", sizeof(wchar_t), false},
        {"a text of no bytes", REG_SZ, L"", 0, false},
        {"binary data", REG_BINARY, binaryPath.data(), static_cast<DWORD>(binaryPath.size()),
         false},
        {"an expandable text", REG_EXPAND_SZ, expandable.c_str(),
         static_cast<DWORD>((expandable.size() + 1) * sizeof(wchar_t)), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteValue(kRunKey, kValueName, c.type, c.data, c.size);
        if (c.switchedOff)
            WriteValue(kStartupApprovedKey, kValueName, REG_BINARY, disabled, sizeof disabled);
        DeskBroom app;
        EXPECT_EQ(AutostartChecked(app), c.on);
        // The menu item decides by its check mark: on switches off, off switches on.
        app.PickMenuItem(L'p');
        std::wstring expected = c.on ? L"" : QuotedExecutable(app);
        EXPECT_TRUE(WaitFor([&] { return RunValueIs(expected); })) << RunValueDescription();
        EXPECT_FALSE(ReadValue(kStartupApprovedKey, kValueName)) << "still switched off";
        EXPECT_TRUE(app.ExitThroughMenu());
    }
}

TEST_F(SystemTest, SwitchingOnCreatesAMissingRunKeyAndSwitchingOffDoesNot) {
    DeleteKeyTree(kRunKey);
    {
        DeskBroom app;
        app.PickMenuItem(L'p');
        EXPECT_TRUE(WaitFor([&] { return RunValueIs(QuotedExecutable(app)); }))
            << RunValueDescription();
        EXPECT_TRUE(app.ExitThroughMenu());
    }
    DeskBroom app;
    EXPECT_TRUE(AutostartChecked(app));
    DeleteKeyTree(kRunKey);
    app.PickMenuItem(L'p');
    // The check mark flips although there was nothing to write into; reading it also waits
    // until the click has been handled.
    EXPECT_FALSE(AutostartChecked(app));
    HKEY run = nullptr;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &run), ERROR_FILE_NOT_FOUND);
    if (run)
        ::RegCloseKey(run);
    app.PickMenuItem(L'p');
    EXPECT_TRUE(WaitFor([&] { return RunValueIs(QuotedExecutable(app)); }))
        << RunValueDescription();
}

TEST_F(SystemTest, AutostartAndHelpKeepAFolderWithBlanksAndNonAnsiCharactersWhole) {
    StartOptions options;
    options.folderName = kAwkwardFolder;
    DeskBroom app(options);
    ASSERT_NE(app.folder().find(kAwkwardFolder), std::wstring::npos);

    app.PickMenuItem(L'p');
    EXPECT_TRUE(WaitFor([&] { return RunValueIs(QuotedExecutable(app)); }))
        << RunValueDescription();

    app.PlaceRecorder(L"Write");
    app.PickMenuItem(L'h');
    std::wstring document = app.folder() + L"\\DeskBroom.doc";
    auto commandLine = app.RecordedCommandLine(L"Write");
    ASSERT_TRUE(commandLine) << "Help did not start the Write.exe in the program's folder";
    EXPECT_EQ(*commandLine, L"Write \"" + document + L"\"");
    EXPECT_EQ(SplitArguments(*commandLine), (std::vector<std::wstring>{L"Write", document}));
    // The document is missing here; that is for the word processor to report, not DeskBroom.
    AutostartChecked(app);
    EXPECT_EQ(app.FindMessageBox(), nullptr);
}

TEST_F(SystemTest, StartedThroughALinkItUsesTheTargetsFolderButKeepsALinkedFolder) {
    // Made by the test fixture: only the real folders hold a filter file.
    const std::wstring base = BuildFolder() + L"\\linked-start";
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"\\Links", L"\\Real"},                     // a link to DeskBroom.exe
        {L"\\Scoop\\current", L"\\Scoop\\current"},  // a linked folder
    };
    for (const auto& [started, folder] : cases) {
        SCOPED_TRACE(testing::Message() << "started in " << started);
        DeleteValue(kRunKey, kValueName);
        DeskBroom app({.existingFolder = base + started});
        app.PickMenuItem(L'p');
        EXPECT_TRUE(WaitFor([&] {
            return RunValueIs(L"\"" + base + folder + L"\\DeskBroom.exe\"");
        })) << RunValueDescription();
        EXPECT_EQ(app.FindMessageBox(), nullptr) << "the filter file was not found";
        EXPECT_TRUE(app.ExitThroughMenu());
    }
}

TEST_F(SystemTest, FilterFileInAFolderWithBlanksAndNonAnsiCharactersIsFoundAndOpened) {
    StartOptions options;
    options.folderName = kAwkwardFolder;
    options.filterFile = std::nullopt;
    options.waitForTrayIcon = false;
    DeskBroom app(options);
    std::wstring filterFile = app.folder() + L"\\WindowsFilter.txt";
    std::wstring missing = L"The Filter file: \r" + filterFile + L" could not be found !";

    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no missing-file message at start";
    EXPECT_EQ(MessageBoxText(box), missing);
    AnswerMessageBox(app, box);
    ASSERT_TRUE(app.WaitForTrayIcon());

    app.PlaceRecorder(L"Notepad");
    app.PickMenuItem(L'w');
    auto commandLine = app.RecordedCommandLine(L"Notepad");
    ASSERT_TRUE(commandLine) << "Set Windows Filter did not start the Notepad.exe beside it";
    EXPECT_EQ(SplitArguments(*commandLine), (std::vector<std::wstring>{L"Notepad", filterFile}));
    // Still no file after the editor ended: the reload reports it again.
    box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), missing);
    AnswerMessageBox(app, box);

    // A file that now exists there is read without a message.
    std::ofstream(std::filesystem::path(filterFile), std::ios::binary) << WineTrayFilterLine();
    ::DeleteFileW((app.folder() + L"\\Notepad.cmdline.txt").c_str());
    app.PickMenuItem(L'w');
    ASSERT_TRUE(app.RecordedCommandLine(L"Notepad"));
    AutostartChecked(app);
    EXPECT_EQ(app.FindMessageBox(), nullptr);
}

TEST_F(SystemTest, HelpThatCannotStartWriteNamesTheDocumentsLocation) {
    StartOptions options;
    options.folderName = L"Desk Broom folder";
    DeskBroom app(options);
    // Found before the system's own Write, and not a program.
    std::ofstream(std::filesystem::path(app.folder() + L"\\Write.exe"), std::ios::binary)
        << "not a program";

    app.PickMenuItem(L'h');
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no message when Write cannot start";
    EXPECT_EQ(MessageBoxText(box),
              L"The program: 'Write.exe' could not be found !\r"
              L"You can open the document manually at the \r"
              L"location shown at the bottom of this window.\r"
              L"\r" +
                  app.folder() + L"\\DeskBroom.doc");
    AnswerMessageBox(app, box);

    // With a program for .doc documents, Help opens the document in it without a message.
    app.PlaceRecorder(L"DocReader");
    std::ofstream(std::filesystem::path(app.folder() + L"\\DeskBroom.doc")) << "help";
    std::wstring command = L"\"" + app.folder() + L"\\DocReader.exe\" \"%1\"";
    ::RegSetKeyValueW(HKEY_CLASSES_ROOT, L".doc", nullptr, REG_SZ, L"DeskBroomTest.Doc", 36);
    ::RegSetKeyValueW(HKEY_CLASSES_ROOT, L"DeskBroomTest.Doc\\shell\\open\\command", nullptr,
                      REG_SZ, command.c_str(), DWORD((command.size() + 1) * sizeof(wchar_t)));
    app.PickMenuItem(L'h');
    auto commandLine = app.RecordedCommandLine(L"DocReader");
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"DeskBroomTest.Doc");
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L".doc");
    ASSERT_TRUE(commandLine) << "Help did not open the document with its program";
    EXPECT_EQ(SplitArguments(*commandLine).back(), app.folder() + L"\\DeskBroom.doc");
    EXPECT_EQ(app.FindMessageBox(), nullptr);

    // The tray goes on working.
    app.PickMenuItem(L'a');
    box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    AnswerMessageBox(app, box);
    EXPECT_TRUE(app.IsRunning());
}

TEST_F(SystemTest, AboutShowsItsText) {
    DeskBroom app;
    app.PickMenuItem(L'a');
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              L"Desk Broom / Clean Clipboard\r"
              L"\r"
              L"Version 1.1 \r"
              L"\r"
              L"Made by the DeskBroom developers\r"
              L"Freeware for Windows\r"
              L"\r"
              L"Closes the windows on your desk with one click\r"
              L"and turns the clipboard into plain text.");
    SaveScreenshot(L"about-box", box);
    AnswerMessageBox(app, box);
}

}  // namespace
}  // namespace e2e
