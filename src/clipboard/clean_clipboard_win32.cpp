// The clean-clipboard action: the clipboard's text without control characters, and nothing else.
#include "clipboard/clean_clipboard_win32.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "clipboard/clipboard_owner_win32.h"
#include "clipboard/clipboard_put.h"
#include "clipboard/clipboard_text.h"
#include "common/reentry_guard.h"
#include "win32/ui_win32.h"
#include "win32/unique_handle.h"

namespace {

// Formats that password managers put beside a secret to keep it out of clipboard history, cloud
// sync and clipboard managers. The cleaned clipboard carries them again, and the text's locale;
// every other format goes.
constexpr const wchar_t* kPrivacyMarkers[] = {
    L"ExcludeClipboardContentFromMonitorProcessing",
    L"CanIncludeInClipboardHistory",
    L"CanUploadToCloudClipboard",
    L"Clipboard Viewer Ignore",
};

// Another program may hold the clipboard open for a moment; after this long it is left alone.
constexpr ULONGLONG kOpenPatienceMs = 1000;
constexpr DWORD kOpenRetryMs = 20;
// Code units cleaned between two rounds of message processing: about a millisecond of work.
constexpr std::size_t kChunkUnits = std::size_t{1} << 20;
// A clipboard that changes under every attempt is left as the other program made it.
constexpr int kMaxAttempts = 8;

// Processes the pending messages; false when the main window went meanwhile (Exit).
using MessagePump = std::function<bool()>;

// A format kept beside the text: a privacy marker or the locale.
struct Marker {
    UINT format;
    std::vector<unsigned char> data;  // empty when the data could not be read
};

// A privacy marker whose data could not be read still goes back, as a zero DWORD: for each of
// them the value that keeps the text out of history and sync. A locale that cannot be read is
// left to the system, which supplies one.
struct KeptFormat {
    UINT format;
    bool keptUnread;
};

struct ClipboardContents {
    DWORD sequence = 0;
    UniqueHglobal text;  // CF_UNICODETEXT data of our own: the text and a NUL
    std::size_t length = 0;
    // The text as read, kept only where cleaning changes it: put back if the cleaned text
    // cannot be set after the clipboard was emptied.
    UniqueHglobal original;
    std::vector<Marker> markers;
};

enum class WriteResult { Written, Changed, Failed };

// A format the owner renders only when asked (delayed rendering) is read by sending to it, and
// opening or emptying the clipboard may wait for it too: an owner that does not answer leaves the
// clipboard as it is. Asked before opening, where a silent owner can hold up OpenClipboard
// itself for seconds, and again once open if another program took the clipboard meanwhile.
bool OpenClipboardPatiently(HWND owner, std::optional<ClipboardGuard>& clipboard,
                            const MessagePump& pump) {
    HWND asked = nullptr;
    if (!ClipboardOwnerAnswersInTime(&asked))
        return false;
    const ULONGLONG deadline = ::GetTickCount64() + kOpenPatienceMs;
    for (;;) {
        clipboard.emplace(owner);
        if (clipboard->IsOpen()) {
            if (::GetClipboardOwner() == asked || ClipboardOwnerAnswersInTime())
                return true;
            clipboard.reset();
            return false;
        }
        clipboard.reset();
        if (::GetTickCount64() >= deadline)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kOpenRetryMs, QS_ALLINPUT);
        if (!pump())
            return false;
    }
}

UniqueHglobal GlobalCopy(const void* data, std::size_t size) {
    UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory)
        return memory;
    GlobalLockGuard lock(memory.get());
    if (!lock.data())
        return UniqueHglobal();
    std::memcpy(lock.data(), data, size);
    return memory;
}

// The clipboard's text, privacy markers and locale, read while it is open. Nothing when the
// text is there but cannot be had: the clipboard must then stay as it is.
std::optional<ClipboardContents> ReadOpenClipboard() {
    ClipboardContents contents;
    contents.sequence = ::GetClipboardSequenceNumber();

    const char16_t* text = nullptr;
    std::size_t byteSize = 0;
    std::optional<GlobalLockGuard> source;
    if (::IsClipboardFormatAvailable(CF_UNICODETEXT)) {
        HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
        if (!data)
            return std::nullopt;
        source.emplace(data);
        if (!source->data())
            return std::nullopt;
        text = static_cast<const char16_t*>(source->data());
        byteSize = source->size();
    }
    // Up to the first NUL within the data, as every reader sees it, even when the writer left
    // out the final NUL.
    contents.length = ClipboardTextLength(text, byteSize);
    contents.text.reset(::GlobalAlloc(GMEM_MOVEABLE, (contents.length + 1) * sizeof(char16_t)));
    if (!contents.text)
        return std::nullopt;
    {
        GlobalLockGuard target(contents.text.get());
        if (!target.data())
            return std::nullopt;
        auto* copy = static_cast<char16_t*>(target.data());
        if (contents.length != 0)
            std::memcpy(copy, text, contents.length * sizeof(char16_t));
        copy[contents.length] = u'\0';
        if (std::any_of(copy, copy + contents.length, IsRemovedControlCharacter)) {
            contents.original = GlobalCopy(copy, (contents.length + 1) * sizeof(char16_t));
            if (!contents.original)
                return std::nullopt;
        }
    }

    // Without its locale, programs that read the text as CF_TEXT would convert it with the code
    // page of whatever keyboard layout is active when the cleaned text is set.
    std::vector<KeptFormat> kept = {{CF_LOCALE, false}};
    for (const wchar_t* name : kPrivacyMarkers)
        kept.push_back({::RegisterClipboardFormatW(name), true});
    for (const KeptFormat& format : kept) {
        if (format.format == 0 || !::IsClipboardFormatAvailable(format.format))
            continue;
        Marker marker{format.format, {}};
        if (HANDLE data = ::GetClipboardData(format.format)) {
            GlobalLockGuard lock(data);
            const auto* bytes = static_cast<const unsigned char*>(lock.data());
            if (bytes)
                marker.data.assign(bytes, bytes + lock.size());
        }
        if (!marker.data.empty() || format.keptUnread)
            contents.markers.push_back(std::move(marker));
    }
    return contents;
}

// Cleans the text in place, processing messages between steps; false when the window went.
bool CleanText(ClipboardContents& contents, const MessagePump& pump) {
    GlobalLockGuard lock(contents.text.get());
    auto* text = static_cast<char16_t*>(lock.data());
    if (!text)
        return false;
    ChunkedCleaning result = RemoveControlCharacters(text, contents.length, kChunkUnits, pump);
    if (!result.completed)
        return false;
    contents.length = result.length;
    text[contents.length] = u'\0';
    return true;
}

// The open clipboard over our prepared data; each handle the clipboard takes is released here.
class OpenClipboardWriter final : public ClipboardWriter {
  public:
    OpenClipboardWriter(ClipboardContents& contents,
                        std::vector<std::pair<UINT, UniqueHglobal>>& markers)
        : contents_(contents), markers_(markers) {}

    bool Empty() override { return ::EmptyClipboard() != FALSE; }
    bool SetText(bool cleaned) override {
        UniqueHglobal& text = cleaned || !contents_.original ? contents_.text : contents_.original;
        return Set(CF_UNICODETEXT, text);
    }
    std::size_t MarkerCount() const override { return markers_.size(); }
    bool SetMarker(std::size_t index) override {
        return Set(markers_[index].first, markers_[index].second);
    }

  private:
    static bool Set(UINT format, UniqueHglobal& data) {
        if (!data || !::SetClipboardData(format, data.get()))
            return false;
        data.release();  // the clipboard owns it now
        return true;
    }

    ClipboardContents& contents_;
    std::vector<std::pair<UINT, UniqueHglobal>>& markers_;
};

WriteResult WriteClipboard(HWND owner, ClipboardContents& contents, const MessagePump& pump) {
    // Everything that can run out of memory is done before the clipboard is emptied.
    std::vector<std::pair<UINT, UniqueHglobal>> markers;
    for (const Marker& marker : contents.markers) {
        const DWORD no = 0;
        UniqueHglobal data = marker.data.empty()
                                 ? GlobalCopy(&no, sizeof no)
                                 : GlobalCopy(marker.data.data(), marker.data.size());
        if (!data)
            return WriteResult::Failed;
        markers.emplace_back(marker.format, std::move(data));
    }

    std::optional<ClipboardGuard> clipboard;
    if (!OpenClipboardPatiently(owner, clipboard, pump))
        return WriteResult::Failed;
    // Something copied since the text was read must not be lost under an older text.
    if (::GetClipboardSequenceNumber() != contents.sequence)
        return WriteResult::Changed;
    OpenClipboardWriter writer(contents, markers);
    return PutCleanedText(writer) ? WriteResult::Written : WriteResult::Failed;
}

}  // namespace

bool ClipboardCleaner::CleanClipboard(HWND owner) {
    // A cleaning asked for inside this one's message processing is left out: this one writes
    // only when the clipboard still holds what it read and starts over otherwise, so the
    // result is the same and nothing copied meanwhile is lost.
    if (cleaning_)
        return false;
    ReentryGuard cleaning(cleaning_);

    const MessagePump pump = [owner] {
        ProcessPendingMessages();
        return ::IsWindow(owner) != FALSE;
    };
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        std::optional<ClipboardContents> contents;
        {
            std::optional<ClipboardGuard> clipboard;
            if (!OpenClipboardPatiently(owner, clipboard, pump))
                return false;
            contents = ReadOpenClipboard();
        }
        // The clipboard is closed while the text is cleaned and messages run.
        if (!contents || !CleanText(*contents, pump))
            return false;
        switch (WriteClipboard(owner, *contents, pump)) {
            case WriteResult::Written:
                ::MessageBeep(MB_OK);
                return contents->length != 0;
            case WriteResult::Changed:
                continue;
            case WriteResult::Failed:
                return false;
        }
    }
    return false;
}
