// The program's icon in the notification area: adding it (and again when the add failed or
// Explorer restarted), its tooltip, its picture at the tray's DPI, and its notifications.
#include "app/tray_icon_win32.h"

#include <iterator>
#include <string_view>

#include "app/resources/resource.h"
#include "app/tray_event.h"
#include "win32/ui_win32.h"
#include "win32/wide_text.h"

namespace {

// A failed add (the shell still busy at log-on, with no TaskbarCreated to follow) is tried again
// this often, for two minutes.
constexpr UINT kAddRetryMs = 2000;
constexpr int kAddTries = 60;

static_assert(TrayEventCode::kContextMenu == WM_CONTEXTMENU &&
              TrayEventCode::kLeftButtonDown == WM_LBUTTONDOWN &&
              TrayEventCode::kLeftButtonUp == WM_LBUTTONUP &&
              TrayEventCode::kRightButtonDown == WM_RBUTTONDOWN &&
              TrayEventCode::kRightButtonUp == WM_RBUTTONUP &&
              TrayEventCode::kSelect == NIN_SELECT && TrayEventCode::kKeySelect == NIN_KEYSELECT &&
              TrayEventCode::kBalloonUserClick == NIN_BALLOONUSERCLICK &&
              TrayEventCode::kBalloonTimeout == NIN_BALLOONTIMEOUT &&
              TrayEventCode::kBalloonHide == NIN_BALLOONHIDE);

// Copies as much of `text` as fits, with its terminating NUL.
template <std::size_t N>
void CopyTruncated(const std::u16string& text, wchar_t (&field)[N]) {
    std::wstring wide = ToWide(text).substr(0, N - 1);
    wide.copy(field, wide.size());
    field[wide.size()] = L'\0';
}

}  // namespace

void TrayIcon::Attach(HWND window) {
    window_ = window;
    taskbarCreatedMessage_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    // Run as administrator, the program would not hear the broadcast of an Explorer at a lower
    // integrity level, and the icon would stay gone after Explorer restarts.
    ::ChangeWindowMessageFilterEx(window, taskbarCreatedMessage_, MSGFLT_ALLOW, nullptr);
}

void TrayIcon::Add(const std::u16string& tip) {
    LoadPicture();
    TrayIconData = NOTIFYICONDATAW{};
    // The whole record: the icon's version and its notifications need the later fields.
    TrayIconData.cbSize = sizeof(NOTIFYICONDATAW);
    TrayIconData.hWnd = window_;
    TrayIconData.uID = id_;
    // At version 4 the shell shows the standard tooltip only when asked to.
    TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    TrayIconData.uCallbackMessage = callbackMessage_;
    TrayIconData.hIcon = picture_.get();
    CopyTruncated(tip, TrayIconData.szTip);
    tip_ = tip;
    shown_ = true;
    ::KillTimer(window_, retryTimer_);
    if (::Shell_NotifyIconW(NIM_ADD, &TrayIconData)) {
        UseVersion4();
    } else {
        addTriesLeft_ = kAddTries;
        ::SetTimer(window_, retryTimer_, kAddRetryMs, nullptr);
    }
    retiredPicture_.reset();
}

void TrayIcon::Delete() {
    // No retry may bring the icon back behind a failure message.
    ::KillTimer(window_, retryTimer_);
    shown_ = false;
    ::Shell_NotifyIconW(NIM_DELETE, &TrayIconData);
}

void TrayIcon::Notify(const std::u16string& title, const std::u16string& text) {
    // A balloon needs the record's second form at least; the icon's own record stays as added.
    NOTIFYICONDATAW notification = TrayIconData;
    notification.cbSize = sizeof notification;
    // At version 4 the shell hides the standard tooltip after any change without these two.
    notification.uFlags = NIF_INFO | NIF_TIP | NIF_SHOWTIP;
    notification.dwInfoFlags = NIIF_INFO;
    CopyTruncated(text, notification.szInfo);
    CopyTruncated(title, notification.szInfoTitle);
    ::Shell_NotifyIconW(NIM_MODIFY, &notification);
}

void TrayIcon::Focus() {
    ::Shell_NotifyIconW(NIM_SETFOCUS, &TrayIconData);
}

bool TrayIcon::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
        // Explorer restarted (or came up after a failed add at log-on, or after a change of
        // scaling): the old icon is gone.
        if (shown_)
            Add(tip_);
        return true;
    }
    switch (message) {
        case WM_TIMER:
            if (wParam != retryTimer_)
                return false;
            RetryAdd();
            return true;
        case WM_DPICHANGED:
        case WM_DISPLAYCHANGE:
        case WM_SETTINGCHANGE:
            // The hidden window may miss WM_DPICHANGED; a change of scaling also comes as a
            // display or setting change. The window handles these too.
            RefreshPicture();
            return false;
        default:
            return false;
    }
}

void TrayIcon::UseVersion4() {
    // Without version 4 the shell reports Enter, Space and the context-menu key on the icon as a
    // right click; with it, as NIN_KEYSELECT and WM_CONTEXTMENU.
    NOTIFYICONDATAW version = TrayIconData;
    version.uVersion = NOTIFYICON_VERSION_4;
    ::Shell_NotifyIconW(NIM_SETVERSION, &version);
}

void TrayIcon::RetryAdd() {
    // The icon may be there after all, if the add only timed out.
    const bool added = ::Shell_NotifyIconW(NIM_MODIFY, &TrayIconData) ||
                       ::Shell_NotifyIconW(NIM_ADD, &TrayIconData);
    if (added)
        UseVersion4();
    if (added || --addTriesLeft_ <= 0)
        ::KillTimer(window_, retryTimer_);
}

bool TrayIcon::LoadPicture() {
    // The tray shows the small icon size at the DPI of its display; an icon of any other size
    // is stretched by the shell and blurs. The metric of the system DPI would stay that of
    // log-on for the life of the process, so the window's own DPI decides.
    UINT dpi = ::GetDpiForWindow(window_);
    int size = ::GetSystemMetricsForDpi(SM_CXSMICON, dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI);
    if (picture_ && size == pictureSize_)
        return false;
    HICON icon = LoadIconResource(IDI_DESKBROOM, size);
    if (!icon)
        return false;
    // The old handle stays alive until the shell has the new one.
    retiredPicture_ = std::move(picture_);
    picture_.reset(icon);
    pictureSize_ = size;
    return true;
}

void TrayIcon::RefreshPicture() {
    if (!LoadPicture() || !shown_)
        return;
    // Only the picture changes: deleting and adding the icon would move it in the tray.
    TrayIconData.hIcon = picture_.get();
    NOTIFYICONDATAW change = TrayIconData;
    change.uFlags = NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    ::Shell_NotifyIconW(NIM_MODIFY, &change);
    retiredPicture_.reset();
}
