// Close-all and the window filter as a user meets them: real windows in a helper process that log
// what they get, Wine's Notepad with unsaved text, and the filter file edited in Notepad.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ranges>
#include <set>

#include "closing_recorder.h"
#include "harness.h"

#include <commctrl.h>
#include <tlhelp32.h>

namespace e2e {
namespace {

using ClosingTest = DeskBroomTest;

std::wstring ReadFileText(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path).value_or(std::string{});
    int size =
        ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                          size);
    return text;
}

std::vector<HWND> Receivers(const std::vector<WindowRecorder::Message>& messages) {
    std::vector<HWND> receivers;
    for (const auto& message : messages)
        receivers.push_back(message.hwnd);
    return receivers;
}

// Wine's Notepad, started by the test as a user would start it, out of the tray's way.
class Notepad {
  public:
    Notepad() {
        if (process_.Start(L"notepad.exe"))
            WaitFor([&] { return (window_ = MainWindow()) != nullptr; });
    }

    HWND window() const { return window_; }
    DWORD pid() const { return process_.pid(); }
    bool IsRunning() const { return process_.IsRunning(); }
    HWND MainWindow() const {
        auto windows = WindowsOf(pid(), L"Notepad", nullptr);
        return windows.empty() ? nullptr : windows.front();
    }
    HWND SavePrompt() const {
        auto boxes = WindowsOf(pid(), L"#32770", nullptr);
        return boxes.empty() ? nullptr : boxes.front();
    }
    std::wstring EditText() const {
        // An edit control's text lives in its own process: ask the control for it.
        HWND edit = ::FindWindowExW(window_, nullptr, L"Edit", nullptr);
        wchar_t text[1024] = {};
        DWORD_PTR ignored = 0;
        if (edit) {
            ::SendMessageTimeoutW(edit, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                                  SMTO_ABORTIFHUNG, 2000, &ignored);
        }
        return text;
    }

  private:
    Process process_;
    HWND window_ = nullptr;
};

// The balloon in which Wine's tray shows the notification; nothing while none is shown. Its
// title cannot be read: Wine's tooltip does not answer TTM_GETTITLE.
HWND ShownBalloon() {
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr));) {
        if (::IsWindowVisible(w) && (::GetWindowLongW(w, GWL_STYLE) & TTS_BALLOON))
            return w;
    }
    return nullptr;
}

std::wstring BalloonText() {
    wchar_t text[1024] = {};  // another process's window: its WM_GETTEXT, not GetWindowText
    if (HWND balloon = ShownBalloon())
        ::SendMessageW(balloon, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// Brings a window to the front, away from the tray in the top left corner.
void FocusAwayFromTray(HWND window) {
    ::SetWindowPos(window, HWND_TOP, 300, 250, 500, 300, SWP_SHOWWINDOW);
    ::SetForegroundWindow(window);
    WaitFor([&] { return ::GetForegroundWindow() == window; }, 3000);
}

TEST_F(ClosingTest, OnlySelectedWindowsGetOneCloseEachInListOrderAtLeast300msApart) {
    StartOptions options;
    options.filterFile = WineTrayFilterLine() + "Keep *\r\n";
    DeskBroom app(options);
    WindowRecorder recorder(
        app.folder(), {L"normal:Alpha window", L"tool:Tool window", L"owned:Owned popup",
                       L"hidden:Hidden window", L"minimised:Minimised window", L"normal:",
                       L"normal:Desk Broom Settings", L"normal:DESKBROOM helper",
                       L"normal:program manager", L"normal:keep this one", L"normal:Omega window"});
    ASSERT_TRUE(recorder.Ready());
    ASSERT_TRUE(::IsIconic(recorder.Window(L"Minimised window")));
    const std::set<HWND> selected = {recorder.Window(L"Alpha window"),
                                     recorder.Window(L"Minimised window"),
                                     recorder.Window(L"Omega window")};
    std::vector<HWND> expectedOrder;
    for (HWND hwnd : recorder.EnumerationOrder()) {
        if (selected.count(hwnd))
            expectedOrder.push_back(hwnd);
    }
    ASSERT_EQ(expectedOrder.size(), 3u);

    app.LeftClickTrayIcon();
    EXPECT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() >= 3; }));
    Linger(1500);  // room for a close that should not come

    const auto closes = recorder.Messages(WM_CLOSE);
    EXPECT_EQ(Receivers(closes), expectedOrder);
    for (size_t i = 1; i < closes.size(); ++i) {
        EXPECT_GE(closes[i].postedAt - closes[i - 1].postedAt, 300u)
            << "between close " << i << " and " << i + 1;
    }
    EXPECT_TRUE(app.IsRunning());
}

// Filter files as editors save them, UTF-8 with LF line ends and Notepad's "Unicode big endian":
// their patterns apply, ignoring case beyond ASCII too.
TEST_F(ClosingTest, FilterFileEncodingsSpareMatchingTitles) {
    std::string utf16be = "\xFE\xFF", tray = WineTrayFilterLine();
    for (wchar_t c : std::wstring(tray.begin(), tray.end()) + L"\u00e4tsch *\r\n") {
        utf16be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    }
    const std::pair<const char*, std::string> files[] = {
        {"UTF-8, LF", WineTrayFilterLine("\n") + "\xC3\xA4tsch *\n"}, {"UTF-16 BE", utf16be}};
    for (const auto& [encoding, bytes] : files) {
        SCOPED_TRACE(encoding);
        StartOptions options;
        options.filterFile = bytes;
        DeskBroom app(options);
        WindowRecorder recorder(app.folder(),
                                {L"normal:\u00c4TSCH \u2013 \u6771\u4eac", L"normal:\u00c4tsch"});
        ASSERT_TRUE(recorder.Ready());

        app.LeftClickTrayIcon();
        EXPECT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() >= 1; }));
        Linger(1000);
        EXPECT_EQ(Receivers(recorder.Messages(WM_CLOSE)),
                  std::vector<HWND>{recorder.Window(L"\u00c4tsch")});
    }
}

TEST_F(ClosingTest, MissingFilterFileIsReportedAtStartUpAndALogOffThenEndsItQuietly) {
    for (bool logOff : {false, true}) {
        StartOptions options;
        options.filterFile = std::nullopt;
        options.waitForTrayIcon = false;
        DeskBroom app(options);
        HWND box = app.WaitForMessageBox();
        ASSERT_NE(box, nullptr);
        const std::wstring expected =
            L"The Filter file: \r" + app.folder() + L"\\WindowsFilter.txt could not be found !";
        EXPECT_EQ(MessageBoxText(box), expected);
        if (!logOff) {
            PressButton(box, IDOK);
            EXPECT_TRUE(app.WaitForTrayIcon()) << "start-up goes on after the message";
            continue;
        }
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(app.MainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                              SMTO_ABORTIFHUNG, 5000, &ignored);
        EXPECT_TRUE(app.EndedCleanly()) << "a log-off ends it with no further message";
    }
}

// Lines that name a program spare all its windows, whatever their titles; titles are compared
// without the format characters that show nothing.
TEST_F(ClosingTest, ProgramLinesAndInvisibleCharactersSpareWhatTheUserListed) {
    for (const char* line : {"program:  OTHERPROGRAM.exe ", "PROGRAM:*\\Tools\\*"}) {
        SCOPED_TRACE(line);
        StartOptions options;
        options.filterFile = WineTrayFilterLine() + "*Web Browser\r\n" + std::string(line);
        DeskBroom app(options);
        WindowRecorder other(app.folder(), {L"normal:Song of the day"},
                             app.folder() + L"\\Tools\\OtherProgram.exe");
        WindowRecorder recorder(
            app.folder(),
            {L"normal:Web\u200B Browser", L"normal:Web\u00AD Bro\u061Cwser", L"normal:Close me"});
        ASSERT_TRUE(other.Ready() && recorder.Ready());

        app.LeftClickTrayIcon();
        EXPECT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() >= 1; }));
        Linger(1000);
        EXPECT_EQ(Receivers(recorder.Messages(WM_CLOSE)),
                  std::vector<HWND>{recorder.Window(L"Close me")});
        EXPECT_TRUE(other.Messages(WM_CLOSE).empty());
    }
}

// With the window in front spared, a tray click spares the window the user was working in and a
// hotkey the focused one; the windows behind get their close as before.
TEST_F(ClosingTest, SpareFrontKeepsTheWindowInFrontByTrayClickAndByHotkey) {
    WriteSetting(L"DbrSpareFront", L"1");
    WriteSetting(L"HotkeysActivated", L"1");
    DeskBroom app;
    WindowRecorder recorder(app.folder(), {L"normal:Alpha", L"normal:Beta", L"normal:Gamma"});
    ASSERT_TRUE(recorder.Ready());
    const HWND alpha = recorder.Window(L"Alpha"), beta = recorder.Window(L"Beta"),
               gamma = recorder.Window(L"Gamma");
    struct Round {
        const char* how;
        HWND front;
        std::set<HWND> closed;
    };
    const Round rounds[] = {{"tray click", beta, {alpha, gamma}}, {"hotkey", gamma, {alpha, beta}}};
    std::size_t before = 0;
    for (const Round& round : rounds) {
        SCOPED_TRACE(round.how);
        FocusAwayFromTray(round.front);
        ASSERT_EQ(::GetForegroundWindow(), round.front);
        if (round.front == beta)
            app.LeftClickTrayIcon();
        else
            PressChord({VK_CONTROL, VK_MENU, VK_SHIFT, VK_F12});
        EXPECT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() >= before + 2; }));
        Linger(1000);  // room for a close of the window in front
        const auto closes = Receivers(recorder.Messages(WM_CLOSE));
        EXPECT_EQ(
            std::set<HWND>(closes.begin() + static_cast<std::ptrdiff_t>(before), closes.end()),
            round.closed);
        before = closes.size();
    }
}

// A run after which everything closed says nothing; otherwise one notification names what stayed
// open and why, once the rest has closed, and a click on it brings the question forward.
TEST_F(ClosingTest, WindowsThatStayedOpenAreNamedInOneNotification) {
    if (!TrayIsWines())
        GTEST_SKIP()
            << "Windows shows the notification as a toast, which another program cannot read";
    DeskBroom app;
    {
        WindowRecorder closing(app.folder(), {L"closes:Closes at once"});
        ASSERT_TRUE(closing.Ready());
        app.LeftClickTrayIcon();
        Linger(5000);
        EXPECT_EQ(BalloonText(), L"");
    }
    std::wstring text;
    {
        WindowRecorder slow(app.folder(), {L"slow:Closes in 4 s"}, app.folder() + L"\\Slow.exe");
        WindowRecorder recorder(app.folder(), {L"normal:Ignores it", L"asks:Untitled - Editor"});
        ASSERT_TRUE(slow.Ready() && recorder.Ready());
        const HWND slowWindow = slow.Window(L"Closes in 4 s");
        app.LeftClickTrayIcon();
        ASSERT_TRUE(WaitFor([&] { return !(text = BalloonText()).empty(); }, 20000));
        EXPECT_FALSE(::IsWindow(slowWindow)) << "named before it could close";
        EXPECT_NE(text.find(L"Ignores it: did not close"), std::wstring::npos) << text;
        EXPECT_NE(text.find(L"Untitled - Editor: is asking a question"), std::wstring::npos)
            << text;
        EXPECT_EQ(text.find(L"Closes"), std::wstring::npos) << text;

        // Wine's tray does not report clicks on its balloons: the test reports it as the shell
        // does.
        ::PostMessageW(app.MainWindow(), WM_MOUSEMOVE, 1, NIN_BALLOONUSERCLICK);
        EXPECT_TRUE(WaitFor([&] {
            return ::GetWindow(::GetForegroundWindow(), GW_OWNER) ==
                   recorder.Window(L"Untitled - Editor");
        }));
    }

    // Six that ignore the request: three named, on one line each as the user reads them.
    const std::vector<std::pair<std::wstring, std::wstring>> titles = {
        {L"Plain one", L"Plain one"},
        {L"Plain two", L"Plain two"},
        {L"Plain three", L"Plain three"},
        {L"Draft\\u000D\\u000AAll windows closed", L"Draft All windows closed"},
        {L"abc\\u202Edef", L"abcdef"},
        {L"Cut \\uD83D", L"Cut \uFFFD"},
    };
    std::vector<std::wstring> kinds;
    for (const auto& [title, shown] : titles)
        kinds.push_back(L"normal:" + title);
    WindowRecorder six(app.folder(), kinds);
    ASSERT_TRUE(six.Ready());
    app.LeftClickTrayIcon();
    ASSERT_TRUE(WaitFor([&] { return (text = BalloonText()).ends_with(L"\nand 3 more"); }, 20000))
        << text;
    // Its title, "6 windows stayed open", for the eye.
    SaveScreenshot(L"stayed-open-notification", ShownBalloon());
    // Named in the order the run asked them. Each window opened on top of the one before and the
    // run goes top to bottom: the hostile titles are among the three named.
    std::wstring expected;
    for (HWND window : Receivers(six.Messages(WM_CLOSE)) | std::views::take(3)) {
        for (const auto& [title, shown] : titles) {
            if (six.Window(title) == window)
                expected += shown + L": did not close\n";
        }
    }
    EXPECT_NE(expected.find(L"abcdef: did not close"), std::wstring::npos) << expected;
    EXPECT_EQ(text, expected + L"and 3 more");
    EXPECT_LE(text.size(), 200u);
}

// A failure ends the program: its icon goes before the message, and nothing runs behind it.
TEST_F(ClosingTest, NothingRunsBehindTheFailureMessage) {
    DeskBroom app;
    WindowRecorder recorder(app.folder(), {L"normal:Close me"});
    ASSERT_TRUE(recorder.Ready());
    // Under a volatile key no lasting settings key can be made: the next write fails.
    DeleteKeyTree(kAppKey);
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kAppKey, 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    app.PickMenuItem(L'f');
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(app.TrayIcon()) << "the icon stays until the box is answered";
    ::PostMessageW(app.MainWindow(), WM_MOUSEMOVE, 1, WM_LBUTTONUP);
    Linger(1500);
    EXPECT_TRUE(recorder.Messages(WM_CLOSE).empty()) << "a close-all ran behind the message";
    PressButton(box, IDOK);
    EXPECT_TRUE(app.WaitForExit());
    DeleteKeyTree(kAppKey);
}

TEST_F(ClosingTest, UnsavedNotepadAsksToSaveAndStaysOpenAndIsAskedAgain) {
    DeskBroom app;
    Notepad notepad;
    ASSERT_NE(notepad.window(), nullptr);
    FocusAwayFromTray(notepad.window());
    TypeText(L"unsaved words");
    ASSERT_TRUE(WaitFor([&] { return notepad.EditText() == L"unsaved words"; }));

    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(testing::Message() << "run " << run);
        app.LeftClickTrayIcon();
        HWND prompt = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (prompt = notepad.SavePrompt()) != nullptr; }))
            << "Notepad did not ask to save";
        PressButton(prompt, IDCANCEL);
        EXPECT_TRUE(WaitFor([&] { return notepad.SavePrompt() == nullptr; }));
        Linger(500);
        EXPECT_TRUE(notepad.IsRunning());
        EXPECT_TRUE(::IsWindow(notepad.window()));
        EXPECT_EQ(notepad.EditText(), L"unsaved words");
    }
}

// The windows belong to a program with a name of 230 characters, and the filter file is full of
// program lines that a matcher trying each place in the name would compare with it a hundred
// times over: the menu still opens at once.
TEST_F(ClosingTest, SecondClickDuringARunStartsNoSecondRunAndTheMenuStillOpens) {
    StartOptions options;
    options.filterFile = WineTrayFilterLine();
    const std::string line = "program:*" + std::string(114, 'a') + "c*\r\n";
    for (int i = options.filterFile->empty() ? 0 : 1; i < 10000; ++i)
        *options.filterFile += line;
    DeskBroom app(options);
    std::vector<std::wstring> windows;
    for (int i = 1; i <= 20; ++i)
        windows.push_back(L"normal:Busy window " + std::to_wstring(i));
    // In a short folder: with the test's own, the path would pass MAX_PATH.
    const std::wstring program =
        std::filesystem::temp_directory_path().wstring() + std::wstring(226, L'a') + L".exe";
    WindowRecorder recorder(app.folder(), windows, program);
    ASSERT_TRUE(recorder.Ready());

    ::PostMessageW(app.MainWindow(), WM_MOUSEMOVE, 1, WM_LBUTTONUP);
    ::PostMessageW(app.MainWindow(), WM_MOUSEMOVE, 1, WM_RBUTTONUP);
    EXPECT_NE(app.WaitForMenu(1000), nullptr) << "the tray menu did not open within a second";
    EXPECT_LT(recorder.Messages(WM_CLOSE).size(), 20u) << "the run was over before the menu";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return app.OpenMenu() == nullptr; }));

    ASSERT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() >= 2; }));
    app.LeftClickTrayIcon();
    EXPECT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() >= 20; }));
    Linger(2500);  // a second run would start over with all twenty
    std::map<HWND, int> closes;
    for (const auto& message : recorder.Messages(WM_CLOSE))
        ++closes[message.hwnd];
    EXPECT_EQ(closes.size(), 20u);
    for (const auto& [hwnd, count] : closes)
        EXPECT_EQ(count, 1) << WindowText(hwnd);
}

// A run takes its time: a window retitled to a spared title or hidden meanwhile is spared. The two
// changed are the lowest of those not yet asked once the run has begun; the run's own list, not
// this test's reading of the stacking, decides who is asked when.
TEST_F(ClosingTest, WindowsSparedDuringARunGetNoClose) {
    DeskBroom app;
    WindowRecorder recorder(app.folder(), {L"normal:Run 1", L"normal:Run 2", L"normal:Run 3",
                                           L"normal:Run 4", L"normal:Run 5", L"normal:Run 6"});
    ASSERT_TRUE(recorder.Ready());

    app.LeftClickTrayIcon();
    ASSERT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() >= 1; }));
    std::vector<HWND> open = recorder.EnumerationOrder();
    const std::vector<HWND> asked = Receivers(recorder.Messages(WM_CLOSE));
    std::erase_if(open, [&](HWND hwnd) { return !WindowText(hwnd).starts_with(L"Run "); });
    ASSERT_EQ(open.size(), 6u);
    std::ranges::stable_partition(open, [&](HWND hwnd) { return std::ranges::count(asked, hwnd); });
    ::SetWindowTextW(open[4], L"DeskBroom now");
    ::ShowWindow(open[5], SW_HIDE);
    EXPECT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() >= 4; }));
    Linger(1500);
    std::vector<HWND> closed = Receivers(recorder.Messages(WM_CLOSE));
    open.resize(4);
    std::ranges::sort(open);
    std::ranges::sort(closed);
    EXPECT_EQ(closed, open);
}

// Exit chosen during a run ends the program at once; the windows not yet asked stay untouched.
TEST_F(ClosingTest, ExitDuringARunEndsItThere) {
    DeskBroom app;
    std::vector<std::wstring> windows;
    for (int i = 1; i <= 8; ++i)
        windows.push_back(L"normal:Waiting window " + std::to_wstring(i));
    WindowRecorder recorder(app.folder(), windows);
    ASSERT_TRUE(recorder.Ready());

    app.LeftClickTrayIcon();
    ASSERT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() >= 1; }));
    EXPECT_TRUE(app.ExitThroughMenu());
    const size_t closedAtExit = recorder.Messages(WM_CLOSE).size();
    EXPECT_LT(closedAtExit, 8u);
    Linger(1000);
    EXPECT_EQ(recorder.Messages(WM_CLOSE).size(), closedAtExit);
}

// A click on the icon while Notepad edits the file waits for Notepad, then runs with the list as
// saved.
TEST_F(ClosingTest, PatternAddedInNotepadSparesTheWindowInTheClickMadeMeanwhile) {
    DeskBroom app;
    WindowRecorder recorder(app.folder(), {L"normal:Spare me please", L"normal:Close me"});
    ASSERT_TRUE(recorder.Ready());
    const std::wstring filterPath = app.folder() + L"\\WindowsFilter.txt";

    app.PickMenuItem(L'w');
    HWND editor = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        editor = ::FindWindowW(L"Notepad", nullptr);
        return editor && WindowText(editor).find(L"WindowsFilter") != std::wstring::npos;
    })) << "Notepad did not open the filter file";
    DWORD editorPid = 0;
    ::GetWindowThreadProcessId(editor, &editorPid);
    HANDLE editorProcess = ::OpenProcess(SYNCHRONIZE, FALSE, editorPid);

    FocusAwayFromTray(editor);  // Notepad may open over the tray
    app.LeftClickTrayIcon();
    Linger(1000);
    EXPECT_TRUE(recorder.Messages(WM_CLOSE).empty()) << "the click ran during the editing";
    EXPECT_TRUE(::IsWindow(editor));
    FocusAwayFromTray(editor);
    ClickAt({550, 400});  // the click on the icon took the focus: back into the text
    PressChord({VK_CONTROL, VK_END});
    PressKey(VK_RETURN);
    TypeText(L"spare ME*");
    PressChord({VK_CONTROL, 'S'});
    EXPECT_TRUE(WaitFor([&] {
        return ReadFileText(filterPath).find(L"spare ME*") != std::wstring::npos;
    })) << "Notepad did not save the file";
    PressChord({VK_MENU, VK_F4});
    EXPECT_EQ(::WaitForSingleObject(editorProcess, 10000), WAIT_OBJECT_0) << "Notepad stayed open";
    ::CloseHandle(editorProcess);
    EXPECT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() >= 1; }));
    Linger(1000);
    EXPECT_EQ(Receivers(recorder.Messages(WM_CLOSE)),
              std::vector<HWND>{recorder.Window(L"Close me")});
}

TEST_F(ClosingTest, NotepadThatCannotStartGivesTheNotepadMessageAndKeepsTheList) {
    StartOptions options;
    options.filterFile = WineTrayFilterLine() + "Kept*\r\n";
    DeskBroom app(options);
    std::ofstream(std::filesystem::path(app.folder() + L"\\Notepad.exe"), std::ios::binary)
        << "not a program";
    WindowRecorder recorder(app.folder(), {L"normal:Kept by the filter", L"normal:Not kept"});
    ASSERT_TRUE(recorder.Ready());

    app.PickMenuItem(L'w');
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              L"Your PC does not contain 'Notepad.exe'. The Log-File can not be shown");
    PressButton(box, IDOK);

    app.LeftClickTrayIcon();
    EXPECT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() >= 1; }));
    Linger(1000);
    EXPECT_EQ(Receivers(recorder.Messages(WM_CLOSE)),
              std::vector<HWND>{recorder.Window(L"Not kept")});
}

// A filter file that another program holds locked: the reload after editing says so and leaves
// the list empty. The editor here is a stand-in that records how it was started.
TEST_F(ClosingTest, LockedFilterFileIsReportedAfterEditing) {
    StartOptions options;
    options.filterFile = WineTrayFilterLine() + "Kept*\r\n";
    DeskBroom app(options);
    WindowRecorder recorder(app.folder(), {L"normal:Kept until the list is emptied"});
    ASSERT_TRUE(recorder.Ready());
    const std::wstring filterPath = app.folder() + L"\\WindowsFilter.txt";
    app.PlaceRecorder(L"Notepad");
    HANDLE lock =
        ::CreateFileW(filterPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    app.PickMenuItem(L'w');
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"The Filter file: \r" + filterPath + L" could not be read !");
    EXPECT_EQ(app.RecordedCommandLine(L"Notepad"), L"Notepad \"" + filterPath + L"\"");
    PressButton(box, IDOK);
    // Still locked at the click: its reload fails too, and the empty list spares nothing.
    app.LeftClickTrayIcon();
    EXPECT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() == 1; }));
    ::CloseHandle(lock);
    EXPECT_TRUE(app.IsRunning());
}

// Windows 11's Notepad hands the file to a Notepad already running and ends at once; other
// editors save whenever they like. What is saved counts at the next click, without a message;
// a file that is gone is told only when the user next asks for something.
TEST_F(ClosingTest, FilterFileSavedByAnyProgramCountsAtTheNextClick) {
    DeskBroom app;
    WindowRecorder recorder(app.folder(), {L"normal:Spare me please", L"normal:Close me"});
    ASSERT_TRUE(recorder.Ready());
    const std::wstring filterPath = app.folder() + L"\\WindowsFilter.txt";
    app.PlaceRecorder(L"Notepad");
    app.PickMenuItem(L'w');
    ASSERT_TRUE(app.RecordedCommandLine(L"Notepad"));
    Linger(1000);
    std::ofstream(std::filesystem::path(filterPath), std::ios::binary)
        << WineTrayFilterLine() + "Spare me*\r\n";
    Linger(1500);
    EXPECT_EQ(app.FindMessageBox(), nullptr);
    app.LeftClickTrayIcon();
    EXPECT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() >= 1; }));
    Linger(1000);
    EXPECT_EQ(Receivers(recorder.Messages(WM_CLOSE)),
              std::vector<HWND>{recorder.Window(L"Close me")});

    // The program watches nothing meanwhile: its GUI thread is its only thread.
    HANDLE threads = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    int count = 0;
    for (BOOL more = ::Thread32First(threads, &thread); more;
         more = ::Thread32Next(threads, &thread))
        count += thread.th32OwnerProcessID == app.pid();
    ::CloseHandle(threads);
    EXPECT_EQ(count, 1);

    // Told at the next click; the program ended meanwhile (an upgrade's WM_CLOSE), the click's
    // close-all does not run after the message.
    ASSERT_TRUE(::DeleteFileW(filterPath.c_str()));
    Linger(1500);
    EXPECT_EQ(app.FindMessageBox(), nullptr);
    app.LeftClickTrayIcon();
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"The Filter file: \r" + filterPath + L" could not be found !");
    ::PostMessageW(app.MainWindow(), WM_CLOSE, 0, 0);
    Linger(500);
    if (::IsWindow(box))
        PressButton(box, IDOK);
    EXPECT_TRUE(app.WaitForExit());
    EXPECT_EQ(recorder.Messages(WM_CLOSE).size(), 1u);
}

// The file deleted while Notepad edits it is told once, when Notepad ends.
TEST_F(ClosingTest, FilterFileDeletedDuringEditingIsToldOnce) {
    DeskBroom app;
    WindowRecorder recorder(app.folder(), {L"normal:Close me"});
    ASSERT_TRUE(recorder.Ready());
    const std::wstring filterPath = app.folder() + L"\\WindowsFilter.txt";
    app.PickMenuItem(L'w');
    HWND editor = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (editor = ::FindWindowW(L"Notepad", nullptr)) != nullptr; }));
    ASSERT_TRUE(::DeleteFileW(filterPath.c_str()));
    ::PostMessageW(editor, WM_CLOSE, 0, 0);
    HWND box = app.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"The Filter file: \r" + filterPath + L" could not be found !");
    PressButton(box, IDOK);

    app.LeftClickTrayIcon();
    EXPECT_TRUE(WaitFor([&] { return recorder.Messages(WM_CLOSE).size() >= 1; }));
    EXPECT_EQ(app.FindMessageBox(), nullptr);
}

}  // namespace
}  // namespace e2e
