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
#include "clipboard/copy_cleaning.h"
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

struct ClipboardContents {
    DWORD sequence = 0;
    UniqueHglobal text;  // CF_UNICODETEXT data of our own: the text and a NUL
    std::size_t length = 0;
    // The text as read, kept only where cleaning may change it: put back if the cleaned text
    // cannot be set after the clipboard was emptied.
    UniqueHglobal original;
    bool changed = false;  // whether the cleaned text differs from the text as read
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

// The privacy markers' format numbers; 0 for one the system could not register.
std::vector<std::uint32_t> PrivacyMarkerFormats() {
    std::vector<std::uint32_t> formats;
    for (const wchar_t* name : kPrivacyMarkers)
        formats.push_back(::RegisterClipboardFormatW(name));
    return formats;
}

static_assert(clipboard_format::kText == CF_TEXT && clipboard_format::kOemText == CF_OEMTEXT &&
              clipboard_format::kUnicodeText == CF_UNICODETEXT &&
              clipboard_format::kFileList == CF_HDROP && clipboard_format::kLocale == CF_LOCALE);

// Whether the every-copy rules take the open clipboard, from what it lists; nothing is read, so
// no program is asked to render. The program that copied owns the clipboard, or else (a copy
// made with no owner) is the one in front.
CopyCleaning DecideOpenClipboard(HWND owner, DWORD lastOwnWrite,
                                 const ClipboardCleaner::CopyExemption& exempt) {
    std::vector<std::uint32_t> formats;
    for (UINT format = ::EnumClipboardFormats(0); format != 0;
         format = ::EnumClipboardFormats(format)) {
        formats.push_back(format);
    }
    const std::vector<std::uint32_t> markers = PrivacyMarkerFormats();
    const HWND clipboardOwner = ::GetClipboardOwner();
    CopyFacts facts{.formats = formats,
                    .privacyMarkers = markers,
                    .sequence = ::GetClipboardSequenceNumber(),
                    .lastOwnWrite = lastOwnWrite,
                    .ownerIsOurs = clipboardOwner == owner};
    if (DecideCopyCleaning(facts) == CopyCleaning::Leave)
        return CopyCleaning::Leave;
    facts.programExempt = exempt(clipboardOwner ? clipboardOwner : ::GetForegroundWindow());
    return DecideCopyCleaning(facts);
}

// The clipboard's text, privacy markers and locale, read while it is open. Nothing when the
// text is there but cannot be had: the clipboard must then stay as it is.
std::optional<ClipboardContents> ReadOpenClipboard(TextShape shape) {
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
        // Trimming may change a text that begins or ends with white space, joining one with a
        // line break.
        auto mayChange = [&](char16_t c) {
            return IsRemovedControlCharacter(c) || (shape.joinLines && (c == u'\r' || c == u'\n'));
        };
        const bool trimmable = shape.trim && contents.length != 0 &&
                               (IsWhiteSpace(copy[0]) || IsWhiteSpace(copy[contents.length - 1]));
        if (trimmable || std::any_of(copy, copy + contents.length, mayChange)) {
            contents.original = GlobalCopy(copy, (contents.length + 1) * sizeof(char16_t));
            if (!contents.original)
                return std::nullopt;
        }
    }

    // Without its locale, programs that read the text as CF_TEXT would convert it with the code
    // page of whatever keyboard layout is active when the cleaned text is set.
    std::vector<std::uint32_t> kept = PrivacyMarkerFormats();
    kept.insert(kept.begin(), CF_LOCALE);
    for (const UINT format : kept) {
        if (format == 0 || !::IsClipboardFormatAvailable(format))
            continue;
        Marker marker{format, {}};
        if (HANDLE data = ::GetClipboardData(format)) {
            GlobalLockGuard lock(data);
            const auto* bytes = static_cast<const unsigned char*>(lock.data());
            if (bytes)
                marker.data.assign(bytes, bytes + lock.size());
        }
        // A privacy marker whose data could not be read still goes back, as a zero DWORD: for
        // each of them the value that keeps the text out of history and sync. A locale that
        // cannot be read is left to the system, which supplies one.
        if (!marker.data.empty() || format != CF_LOCALE)
            contents.markers.push_back(std::move(marker));
    }
    return contents;
}

// Cleans the text in place, processing messages between steps, then shapes it, in a larger
// block where joining lengthens it; false when the window went or memory ran out.
bool CleanText(ClipboardContents& contents, TextShape shape, const MessagePump& pump) {
    auto* text = static_cast<char16_t*>(::GlobalLock(contents.text.get()));
    if (!text)
        return false;
    std::optional<ShapedText> shaped;
    const std::size_t read = contents.length;
    ChunkedCleaning result = RemoveControlCharacters(text, contents.length, kChunkUnits, pump);
    if (result.completed) {
        contents.length = result.length;
        shaped = ShapedText{contents.length, false};
        if (shape.trim || shape.joinLines) {
            const std::size_t capacity = ::GlobalSize(contents.text.get()) / sizeof(char16_t) - 1;
            shaped = ShapeText(text, contents.length, capacity, shape, [&](std::size_t units) {
                // A block is moved only while it is unlocked.
                ::GlobalUnlock(contents.text.get());
                HGLOBAL larger = ::GlobalReAlloc(contents.text.get(),
                                                 (units + 1) * sizeof(char16_t), GMEM_MOVEABLE);
                if (larger) {
                    contents.text.release();
                    contents.text.reset(larger);
                }
                text = static_cast<char16_t*>(::GlobalLock(contents.text.get()));
                return larger ? text : nullptr;
            });
        }
    }
    if (shaped) {
        contents.length = shaped->length;
        contents.changed = contents.length != read || shaped->changes;
        text[contents.length] = u'\0';
    }
    if (text)
        ::GlobalUnlock(contents.text.get());
    return shaped.has_value();
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

// `sequence` receives the clipboard's sequence number after a write, taken while it is open.
WriteResult WriteClipboard(HWND owner, ClipboardContents& contents, const MessagePump& pump,
                           DWORD& sequence) {
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
    const bool written = PutCleanedText(writer);
    sequence = ::GetClipboardSequenceNumber();
    return written ? WriteResult::Written : WriteResult::Failed;
}

}  // namespace

bool ClipboardCleaner::CleanClipboard(HWND owner, TextShape shape) {
    return Clean(owner, shape, nullptr);
}

void ClipboardCleaner::CleanCopy(HWND owner, TextShape shape, const CopyExemption& exempt) {
    Clean(owner, shape, &exempt);
}

bool ClipboardCleaner::Clean(HWND owner, TextShape shape, const CopyExemption* exempt) {
    // A cleaning asked for inside this one's message processing is left out: this one writes
    // only when the clipboard still holds what it read and starts over otherwise, so the
    // result is the same and nothing copied meanwhile is lost.
    if (cleaning_)
        return false;
    ReentryGuard cleaning(cleaning_);
    // A burst of copies reports each change, and many reports arrive when the copy they were
    // for is long replaced: the clipboard as it is now is looked at once.
    if (exempt) {
        const DWORD sequence = ::GetClipboardSequenceNumber();
        if (sequence == lastLookedAt_)
            return false;
        lastLookedAt_ = sequence;
    }

    const MessagePump pump = [owner] {
        ProcessPendingMessages();
        return ::IsWindow(owner) != FALSE;
    };
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        std::optional<ClipboardContents> contents;
        CopyCleaning decision = CopyCleaning::Always;
        {
            std::optional<ClipboardGuard> clipboard;
            if (!OpenClipboardPatiently(owner, clipboard, pump))
                return false;
            if (exempt) {
                decision = DecideOpenClipboard(owner, lastOwnWrite_, *exempt);
                if (decision == CopyCleaning::Leave)
                    return false;
            }
            contents = ReadOpenClipboard(shape);
        }
        // The clipboard is closed while the text is cleaned and messages run.
        if (!contents || !CleanText(*contents, shape, pump))
            return false;
        // Writing the same text again would give clipboard history a second entry.
        if (decision == CopyCleaning::IfTextChanges && !contents->changed)
            return false;
        switch (WriteClipboard(owner, *contents, pump, lastOwnWrite_)) {
            case WriteResult::Written:
                lastLookedAt_ = lastOwnWrite_;
                if (!exempt)
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
