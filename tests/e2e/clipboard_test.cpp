// The clean-clipboard action as a user meets it: the test program puts formats on the clipboard,
// left-clicks DeskBroom's tray icon and reads back what the clipboard holds.
#include "closing_recorder.h"
#include "harness.h"

#include <cstring>
#include <set>
#include <shlobj.h>

namespace e2e {
namespace {

using Format = ClipboardFormat;
using Contents = ClipboardContents;

UINT Registered(const wchar_t* name) {
    return ::RegisterClipboardFormatW(name);
}

std::vector<BYTE> DwordData(DWORD value) {
    std::vector<BYTE> data(sizeof value);
    std::memcpy(data.data(), &value, sizeof value);
    return data;
}

// A 2 x 2 picture, 32 bits per pixel, as CF_DIB data.
std::vector<BYTE> PictureData() {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 2;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    std::vector<BYTE> data(sizeof header + 4 * 4, 0x80);
    std::memcpy(data.data(), &header, sizeof header);
    return data;
}

// Formats that Windows offers on its own beside CF_UNICODETEXT.
const std::set<UINT> kTextFormats = {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT, CF_LOCALE};

// The formats that are not synthesised from the text.
std::set<UINT> OtherFormats(const Contents& contents) {
    std::set<UINT> other;
    for (UINT format : contents.formats) {
        if (!kTextFormats.count(format))
            other.insert(format);
    }
    return other;
}

// DeskBroom with clean clipboard as its default action, as the user stored it.
class ClipboardTest : public DeskBroomTest {
  protected:
    void SetUp() override {
        DeskBroomTest::SetUp();
        WriteSetting(L"DeskBroom", L"0");
    }

    // Left click on the tray icon (or the clean-clipboard hotkey), then waits until DeskBroom
    // has written the clipboard and closed it again.
    bool CleanByTrayClick(const DeskBroom& app, bool byHotkey = false) {
        DWORD before = ::GetClipboardSequenceNumber();
        if (byHotkey)
            PressChord({VK_CONTROL, VK_MENU, VK_SHIFT, VK_F11});
        else
            app.LeftClickTrayIcon();
        return WaitForWrite(before);
    }

    static bool WaitForWrite(DWORD before, DWORD timeoutMs = 10000) {
        return WaitFor(
            [&] {
                return ::GetClipboardSequenceNumber() != before &&
                       ::GetOpenClipboardWindow() == nullptr;
            },
            timeoutMs);
    }
};

TEST_F(ClipboardTest, ControlCharactersGoAndEverythingElseComesBackWhole) {
    struct Case {
        const char* what;
        std::wstring text, expected;
    };
    const Case cases[] = {
        {"form feeds, vertical tabs, escapes", L"page 1\fpage 2\vend \x1B[1mbold\x1B[0m\f",
         L"page 1page 2end [1mbold[0m"},
        {"codes 1 to 8", L"a\x01\x02\x03\x04\x05\x06\x07\x08z", L"az"},
        {"shift out to unit separator", L"<\x0E\x10\x15\x1A\x1F>", L"<>"},
        {"CR LF and tabs", L"Name\tRoom\r\nAnna\t12\r\n\tend\n\r",
         L"Name\tRoom\r\nAnna\t12\r\n\tend\n\r"},
        {"outside the ANSI code page", L"会议 \U0001F600 Ωμέγα \x1B\U0001F40C",
         L"会议 \U0001F600 Ωμέγα \U0001F40C"},
        {"delete and C1 controls stay",
         L"a\x7F\x85\x9F"
         L"b",
         L"a\x7F\x85\x9F"
         L"b"},
        {"only control characters", L"\x01\x0C\x1B", L""},
    };
    DeskBroom app;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetClipboard({{CF_UNICODETEXT, TextData(c.text)}});
        ASSERT_TRUE(CleanByTrayClick(app));
        Contents after = ReadClipboard();
        EXPECT_EQ(after.text, c.expected);
    }
    EXPECT_TRUE(app.IsRunning());
}

TEST_F(ClipboardTest, TrimAndJoinShapeTheCleanedTextByTrayClickAndByHotkey) {
    // The form feed goes first, and the white space before it is then at the end.
    const std::wstring example = L"  first line\r\nsecond line \r\n\r\nnext paragraph\t\r\n\f";
    struct Case {
        const wchar_t *trim, *join;
        std::wstring expected;
        std::wstring text = L"";
    };
    const Case cases[] = {
        {L"1", L"0", L"first line\r\nsecond line \r\n\r\nnext paragraph"},
        {L"0", L"1", L"  first line second line\r\n\r\nnext paragraph "},
        {L"1", L"1", L"first line second line\r\n\r\nnext paragraph"},
        // Paragraphs apart by LF LF: the text grows as it is joined.
        {L"0", L"1", L"a\r\n\r\nb\r\n\r\nc\r\n\r\nd", L"a\n\nb\n\nc\n\nd"},
    };
    WriteSetting(L"HotkeysActivated", L"1");
    for (const Case& c : cases) {
        WriteSetting(L"CcTrim", c.trim);
        WriteSetting(L"CcJoinLines", c.join);
        DeskBroom app;
        for (bool byHotkey : {false, true}) {
            SCOPED_TRACE(testing::Message() << "trim " << c.trim << ", join " << c.join
                                            << (byHotkey ? ", hotkey" : ", tray click"));
            SetClipboard({{CF_UNICODETEXT, TextData(c.text.empty() ? example : c.text)}});
            ASSERT_TRUE(CleanByTrayClick(app, byHotkey));
            EXPECT_EQ(ReadClipboard().text, c.expected);
        }
    }
}

// With every copy cleaned, another program's copy is reduced to its cleaned text at once; file
// lists, private copies, programs named by copy lines and DeskBroom's own writes stay as they
// are, and a burst of copies ends cleaned with the tray still answering.
TEST_F(ClipboardTest, EveryCopyIsCleanedButWhatItLeavesAlone) {
    WriteSetting(L"CcEveryCopy", L"1");
    StartOptions options;
    options.filterFile = WineTrayFilterLine() + "copy:Exempt*.exe\r\n";
    DeskBroom app(options);
    const std::string html = "<b>Bold</b>", rtf = "{\\rtf1 {\\b Bold}}";
    const Format htmlFormat{Registered(L"HTML Format"), {html.begin(), html.end()}};
    SetClipboard({{CF_UNICODETEXT, TextData(L"Bold\x1B[0m")},
                  htmlFormat,
                  {Registered(L"Rich Text Format"), {rtf.begin(), rtf.end()}}});
    ASSERT_TRUE(WaitFor([] { return OtherFormats(ReadClipboard()).empty(); }, 1000))
        << "not cleaned within a second";
    EXPECT_EQ(ReadClipboard().text, L"Bold[0m");
    // What is left alone is not written again: the sequence number stays where the copy left it.
    auto leftAlone = [](const char* what) {
        const DWORD sequence = ::GetClipboardSequenceNumber();
        Linger(1000);
        EXPECT_EQ(::GetClipboardSequenceNumber(), sequence) << what;
    };
    leftAlone("its own write");
    DROPFILES files{sizeof files, {}, FALSE, TRUE};
    std::vector<BYTE> fileList(sizeof files + sizeof(L"C:\\a.txt\0"));
    std::memcpy(fileList.data(), &files, sizeof files);
    std::memcpy(fileList.data() + sizeof files, L"C:\\a.txt\0", sizeof(L"C:\\a.txt\0"));
    SetClipboard({{CF_HDROP, fileList}, {CF_UNICODETEXT, TextData(L"C:\\a.txt\f")}});
    leftAlone("a file list");
    const UINT marker = Registered(L"ExcludeClipboardContentFromMonitorProcessing");
    SetClipboard({{CF_UNICODETEXT, TextData(L"s3cret\f")}, htmlFormat, {marker, DwordData(0)}});
    leftAlone("a private copy");
    {
        WindowRecorder exempt(app.folder(), {L"copies:Kept whole"}, app.folder() + L"\\Exempt.exe");
        ASSERT_TRUE(exempt.Ready());
        Linger(1000);
        EXPECT_EQ(ReadClipboard().text, L"Kept whole\f") << "a program a copy line names";
    }

    for (int i = 0; i < 1000; ++i)
        SetClipboard(
            {{CF_UNICODETEXT, TextData(L"copy " + std::to_wstring(i) + L"\f")}, htmlFormat});
    EXPECT_TRUE(WaitFor([] {
        const Contents now = ReadClipboard();
        return now.text == L"copy 999" && OtherFormats(now).empty();
    }));
    app.RightClickTrayIcon();
    EXPECT_NE(app.WaitForMenu(), nullptr) << "the tray menu did not open after the burst";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return app.OpenMenu() == nullptr; }));

    app.PickOption(L'e');
    ASSERT_TRUE(WaitFor([] { return ReadSetting(L"CcEveryCopy") == L"0"; }));
    SetClipboard({{CF_UNICODETEXT, TextData(L"Bold\f")}, htmlFormat});
    leftAlone("a copy with the switch off");
}

TEST_F(ClipboardTest, FormattedTextComesBackAsItsPlainTextAlone) {
    const std::string html =
        "Version:0.9\r\nStartHTML:0\r\nEndHTML:0\r\n<html><body><b>Bold</b>\tplain</body></html>";
    const std::string rtf = "{\\rtf1\\ansi {\\b Bold}\\tab plain}";
    SetClipboard({{CF_UNICODETEXT, TextData(L"Bold\tplain\f")},
                  {Registered(L"HTML Format"), {html.begin(), html.end()}},
                  {Registered(L"Rich Text Format"), {rtf.begin(), rtf.end()}}});
    ASSERT_EQ(OtherFormats(ReadClipboard()).size(), 2u);

    DeskBroom app;
    ASSERT_TRUE(CleanByTrayClick(app));
    Contents after = ReadClipboard();
    EXPECT_EQ(after.text, L"Bold\tplain");
    EXPECT_TRUE(OtherFormats(after).empty()) << "formats left: " << OtherFormats(after).size();
}

TEST_F(ClipboardTest, PictureOnlyOrNothingBecomesAnEmptyText) {
    struct Case {
        const char* what;
        std::vector<Format> formats;
    };
    const Case cases[] = {
        {"a picture only", {{CF_DIB, PictureData()}}},
        {"an empty clipboard", {}},
    };
    DeskBroom app;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetClipboard(c.formats);
        ASSERT_FALSE(ReadClipboard().text.has_value());
        ASSERT_TRUE(CleanByTrayClick(app));
        Contents after = ReadClipboard();
        EXPECT_EQ(after.text, L"");
        EXPECT_TRUE(OtherFormats(after).empty()) << "formats left: " << OtherFormats(after).size();
    }
}

TEST_F(ClipboardTest, PrivacyMarkersAndTheTextsLocaleSurviveWithTheirData) {
    const std::vector<Format> markers = {
        {Registered(L"ExcludeClipboardContentFromMonitorProcessing"), {'x', 0, 7, 0xFF, 1}},
        {Registered(L"CanIncludeInClipboardHistory"), DwordData(0)},
        {Registered(L"CanUploadToCloudClipboard"), DwordData(0)},
        {Registered(L"Clipboard Viewer Ignore"), {'i', 0}},
        {CF_LOCALE, DwordData(MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), SORT_DEFAULT))},
    };
    std::vector<Format> formats = markers;
    formats.push_back({CF_UNICODETEXT, TextData(L"s3cr\x07t\tpassword")});
    formats.push_back({Registered(L"HTML Format"), {'<', 'b', '>'}});
    SetClipboard(formats);

    DeskBroom app;
    ASSERT_TRUE(CleanByTrayClick(app));
    std::vector<UINT> ids;
    for (const Format& marker : markers)
        ids.push_back(marker.id);
    Contents after = ReadClipboard(ids);
    EXPECT_EQ(after.text, L"s3crt\tpassword");
    // The locale, last, is one of the text's own formats.
    EXPECT_EQ(OtherFormats(after), std::set<UINT>(ids.begin(), ids.end() - 1));
    ASSERT_EQ(after.data.size(), markers.size());
    for (std::size_t i = 0; i < markers.size(); ++i) {
        // The data block may be rounded up; what was put there must come back.
        const std::vector<BYTE>& got = after.data[i].data;
        ASSERT_GE(got.size(), markers[i].data.size()) << "marker " << i;
        EXPECT_TRUE(std::equal(markers[i].data.begin(), markers[i].data.end(), got.begin()))
            << "marker " << i;
    }
}

TEST_F(ClipboardTest, ClipboardHeldByAnotherProgramIsLeftUnchanged) {
    const std::wstring text = L"held\ftext";
    const std::string html = "<i>held</i>";
    SetClipboard({{CF_UNICODETEXT, TextData(text)},
                  {Registered(L"HTML Format"), {html.begin(), html.end()}}});
    const Contents before = ReadClipboard();
    const DWORD sequence = ::GetClipboardSequenceNumber();

    DeskBroom app;
    ASSERT_TRUE(OpenClipboardSoon());
    app.LeftClickTrayIcon();
    Linger(3000);
    ::CloseClipboard();

    // DeskBroom gave up meanwhile and still answers: its tray menu opens and closes.
    app.RightClickTrayIcon();
    EXPECT_NE(app.WaitForMenu(), nullptr) << "the tray menu did not open";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return app.OpenMenu() == nullptr; }));
    EXPECT_TRUE(app.IsRunning());

    // Had it not given up, it would write as soon as the clipboard was free.
    Linger(1500);
    EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
    Contents after = ReadClipboard();
    EXPECT_EQ(after.text, text);
    EXPECT_EQ(after.formats, before.formats);
}

TEST_F(ClipboardTest, SecondClickWhileTheFirstWaitsLeavesOneCleaningsResult) {
    const std::vector<BYTE> marker = DwordData(0);
    const UINT history = Registered(L"CanIncludeInClipboardHistory");
    SetClipboard({{CF_UNICODETEXT, TextData(L"one\x1B two\f")},
                  {history, marker},
                  {Registered(L"HTML Format"), {'<', 'p', '>'}}});

    DeskBroom app;
    // Both clicks reach DeskBroom while the first cleaning waits for the clipboard, processing
    // messages; then the clipboard comes free.
    ASSERT_TRUE(OpenClipboardSoon());
    DWORD sequence = ::GetClipboardSequenceNumber();
    app.LeftClickTrayIcon();
    Linger(200);
    app.LeftClickTrayIcon();
    Linger(300);
    ::CloseClipboard();

    ASSERT_TRUE(WaitFor([&] {
        return ::GetClipboardSequenceNumber() != sequence && ::GetOpenClipboardWindow() == nullptr;
    }));
    Linger(1000);
    Contents after = ReadClipboard({history});
    EXPECT_EQ(after.text, L"one two");
    EXPECT_EQ(OtherFormats(after), std::set<UINT>{history});
    ASSERT_EQ(after.data.size(), 1u);
    EXPECT_TRUE(std::equal(marker.begin(), marker.end(), after.data[0].data.begin()));
    EXPECT_TRUE(app.IsRunning());
}

TEST_F(ClipboardTest, ExitWhileACleaningWaitsLeavesTheClipboardAlone) {
    const std::wstring text = L"keep\fme";
    SetClipboard({{CF_UNICODETEXT, TextData(text)}});
    const DWORD sequence = ::GetClipboardSequenceNumber();

    DeskBroom app;
    ASSERT_TRUE(OpenClipboardSoon());
    app.LeftClickTrayIcon();
    // Exit is handled inside the waiting cleaning's message processing.
    app.PickMenuItem(L'e');
    ::CloseClipboard();

    EXPECT_TRUE(app.WaitForExit());
    EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
    EXPECT_EQ(ReadClipboard().text, text);
}

// A program promised its text by delayed rendering and went silent 1.5 s ago, too short a while
// for the system to call it hung: the cleaning leaves the promise alone instead of waiting, the
// tray answers a posted right click, and Exit ends the process while the owner is still silent.
TEST_F(ClipboardTest, OwnerSilentForAMomentNeitherHoldsUpTheTrayNorLosesItsPromise) {
    DeskBroom app;
    const HWND main = app.MainWindow();
    WindowRecorder owner(app.folder(), {L"promises:Spreadsheet"});
    ASSERT_TRUE(owner.Ready());
    const DWORD sequence = ::GetClipboardSequenceNumber();
    Linger(1500);

    ::PostMessageW(main, WM_MOUSEMOVE, 1, WM_LBUTTONUP);
    ::PostMessageW(main, WM_MOUSEMOVE, 1, WM_RBUTTONUP);
    EXPECT_NE(app.WaitForMenu(2000), nullptr) << "the tray menu did not open within 2 s";
    // Under Wine any Exit from the menu takes about 2 s (the menu's unmap); what counts is that
    // the process does not wait for the owner.
    PressKey(L'E');
    EXPECT_TRUE(app.WaitForExit());
    ASSERT_FALSE(owner.Awake()) << "DeskBroom ended only when the owner answered again";

    EXPECT_EQ(::GetClipboardOwner(), owner.Window(L"Spreadsheet"));
    EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
    // Once it answers again, it has handled every message sent meanwhile: no one asked it to
    // render its text.
    ASSERT_TRUE(WaitFor([&] { return owner.Awake(); }));
    ::SendMessageTimeoutW(owner.Window(L"Spreadsheet"), WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    EXPECT_TRUE(owner.Messages(WM_RENDERFORMAT).empty());
}

TEST_F(ClipboardTest, TextCopiedWhileACleaningRunsIsNotLost) {
    // A long text with a control character in every few units keeps the cleaning busy long
    // enough for the test to copy something else between DeskBroom's reading and writing.
    std::wstring longText(std::size_t{48} << 20, L'x');
    for (std::size_t i = 0; i < longText.size(); i += 5)
        longText[i] = L'\x01';
    SetClipboard({{CF_UNICODETEXT, TextData(longText)}});
    longText.clear();
    const DWORD sequence = ::GetClipboardSequenceNumber();

    DeskBroom app;
    const HWND main = app.MainWindow();
    app.LeftClickTrayIcon();
    auto waitUntil = [](const std::function<bool()>& condition) {
        for (ULONGLONG end = ::GetTickCount64() + 10000; ::GetTickCount64() < end;) {
            if (condition())
                return true;
        }
        return false;
    };
    ASSERT_TRUE(waitUntil([&] { return ::GetOpenClipboardWindow() == main; }));
    ASSERT_TRUE(waitUntil([&] { return ::GetOpenClipboardWindow() != main; }));
    ASSERT_TRUE(waitUntil([] { return ::OpenClipboard(nullptr) != FALSE; }));
    const bool written = ::GetClipboardSequenceNumber() != sequence;
    if (!written) {
        ::EmptyClipboard();
        const std::vector<BYTE> copied = TextData(L"copied\f meanwhile");
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, copied.size());
        std::memcpy(::GlobalLock(memory), copied.data(), copied.size());
        ::GlobalUnlock(memory);
        ::SetClipboardData(CF_UNICODETEXT, memory);
    }
    ::CloseClipboard();
    const DWORD copiedSequence = ::GetClipboardSequenceNumber();
    if (written)
        GTEST_SKIP() << "DeskBroom wrote before the test could copy";

    // The cleaning starts over on what was copied.
    ASSERT_TRUE(WaitFor([&] {
        return ::GetClipboardSequenceNumber() != copiedSequence &&
               ::GetOpenClipboardWindow() == nullptr;
    }));
    // Not EXPECT_EQ: a failure would print the whole long text.
    std::optional<std::wstring> text = ReadClipboard().text;
    EXPECT_TRUE(text == L"copied meanwhile")
        << "the clipboard holds " << (text ? text->size() : 0) << " units";
}

}  // namespace
}  // namespace e2e
