// The Hotkeys dialog: edits both hotkeys and their switch, and holds the program's hotkey settings.
#include "hotkeys/frm_hotkeys_win32.h"

#include <commctrl.h>

#include <string>

#include "common/ui_text.h"
#include "win32/dialog_template.h"
#include "win32/failure.h"
#include "win32/system_function.h"
#include "win32/ui_win32.h"
#include "win32/wide_text.h"
#include "win32/window_binding.h"

namespace {

constexpr DWORD kDialogStyle =
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;
constexpr int kVisibleListItems = 12;

// The dialog is the program's only user of the common controls: they are loaded when it first
// opens, not at start-up, where they would take more memory than the rest of the program.
void LoadCommonControls() {
    static const bool loaded = [] {
        using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const auto init = LoadSystemFunction<Init>(L"comctl32.dll", "InitCommonControlsEx");
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        return init && init(&controls);
    }();
    (void)loaded;
}

constexpr WORD kButtonAtom = DialogTemplate::kButtonAtom;
constexpr WORD kStaticAtom = DialogTemplate::kStaticAtom;
constexpr WORD kComboBoxAtom = DialogTemplate::kComboBoxAtom;

DialogTemplate BuildTemplate() {
    DialogTemplate dialog(kDialogStyle, kDialogExStyle, L"Hotkeys", 8, L"MS Shell Dlg");
    bool first = true;
    for (const ControlLayout& control : HotkeysDialogLayout()) {
        DWORD style = WS_CHILD | WS_VISIBLE;
        WORD atom = kButtonAtom;
        switch (control.kind) {
            case ControlKind::Label:
                atom = kStaticAtom;
                style |= SS_LEFT;
                break;
            case ControlKind::CheckBox:
                style |= BS_AUTOCHECKBOX | WS_TABSTOP;
                break;
            case ControlKind::DropDown:
                atom = kComboBoxAtom;
                style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
                break;
            case ControlKind::Button:
                style |= BS_PUSHBUTTON | WS_TABSTOP;
                break;
            case ControlKind::DefaultButton:
                style |= BS_DEFPUSHBUTTON | WS_TABSTOP;
                break;
        }
        if (first)
            style |= WS_GROUP;
        first = false;
        std::wstring caption = control.designCaption ? ToWide(control.designCaption) : L"";
        dialog.Add(atom, style, static_cast<WORD>(control.id), caption.c_str());
    }
    return dialog;
}

std::wstring ItemText(HWND dialog, int id) {
    HWND item = ::GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
    int length = ::GetWindowTextW(item, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

bool Ticked(HWND dialog, int id) {
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void SetTicked(HWND dialog, int id, bool ticked) {
    ::CheckDlgButton(dialog, id, ticked ? BST_CHECKED : BST_UNCHECKED);
}

void SetItemText(HWND dialog, int id, const std::u16string& text) {
    ::SetDlgItemTextW(dialog, id, ToWide(text).c_str());
}

}  // namespace

void frmHotkeys::Show(HotkeyArming& arming, HWND owner) {
    if (hwnd_) {
        ::SetForegroundWindow(hwnd_);
        return;
    }
    arming_ = &arming;
    LoadCommonControls();
    DialogTemplate dialog = BuildTemplate();
    ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.get(), owner,
                              &BoundDialogProc<frmHotkeys>, reinterpret_cast<LPARAM>(this));
    SetOpenDialog(nullptr);
    arming_ = nullptr;
    smallIcon_.reset();
    icon_.reset();
}

INT_PTR frmHotkeys::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            // Actions started while the dialog is open pump messages inside its loop.
            SetOpenDialog(hwnd_);
            LayOutFillListsAndSetIcons();
            Form_Load();
            return TRUE;  // focus to the first control in tab order: OK
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED)
                return FALSE;
            switch (LOWORD(wParam)) {
                case kIdOk:
                    cmdOk_Click();
                    return TRUE;
                case kIdCancel:  // also Esc, the close box and Alt+F4
                    cmdCancel_Click();
                    return TRUE;
                case kIdApply:
                    cmdApply_Click();
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

void frmHotkeys::LayOutFillListsAndSetIcons() {
    // Centred on the monitor the user works on (where the tray menu was opened), and laid out
    // at that monitor's DPI.
    POINT cursor{};
    ::GetCursorPos(&cursor);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    ::SetWindowPos(hwnd_, nullptr, (work.left + work.right) / 2, (work.top + work.bottom) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UINT dpi = ::GetDpiForWindow(hwnd_);
    if (dpi == 0)
        dpi = USER_DEFAULT_SCREEN_DPI;
    auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };

    for (const ControlLayout& control : HotkeysDialogLayout()) {
        HWND item = ::GetDlgItem(hwnd_, control.id);
        int height = px(control.height);
        if (control.kind == ControlKind::DropDown) {
            // A combo box's window height includes its dropped-down list; the closed box
            // takes the height of its edit field.
            int itemHeight = static_cast<int>(::SendMessageW(item, CB_GETITEMHEIGHT, 0, 0));
            height += itemHeight * kVisibleListItems + 2 * ::GetSystemMetricsForDpi(SM_CYEDGE, dpi);
        }
        ::MoveWindow(item, px(control.left), px(control.top), px(control.width), height, FALSE);
        if (control.kind == ControlKind::DropDown) {
            // Makes the closed box as tall as the layout asks (its field plus its border).
            RECT shown{};
            ::GetWindowRect(item, &shown);
            int field = static_cast<int>(::SendMessageW(item, CB_GETITEMHEIGHT, WPARAM(-1), 0));
            int target = field + px(control.height) - (shown.bottom - shown.top);
            if (target > 0)
                ::SendMessageW(item, CB_SETITEMHEIGHT, WPARAM(-1), target);
        }
    }

    RECT frame{0, 0, px(kHotkeysClientWidthTwips), px(kHotkeysClientHeightTwips)};
    ::AdjustWindowRectExForDpi(&frame, kDialogStyle, FALSE, kDialogExStyle, dpi);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    ::SetWindowPos(hwnd_, nullptr, (work.left + work.right - width) / 2,
                   (work.top + work.bottom - height) / 2, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);

    for (int list : {kIdCmbDbrHotkeyLetter, kIdCmbCcHotkeyLetter}) {
        for (std::u16string_view name : HotKeyLetters()) {
            std::wstring item = ToWide(std::u16string(name));
            ::SendDlgItemMessageW(hwnd_, list, CB_ADDSTRING, 0,
                                  reinterpret_cast<LPARAM>(item.c_str()));
        }
    }

    icon_.reset(LoadIconResource(iconResource_, ::GetSystemMetricsForDpi(SM_CXICON, dpi)));
    smallIcon_.reset(LoadIconResource(iconResource_, ::GetSystemMetricsForDpi(SM_CXSMICON, dpi)));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

void frmHotkeys::Form_Load() {
    ::SetWindowTextW(hwnd_, ToWide(UiText.HotkeysCaption).c_str());
    const std::pair<int, const std::u16string*> captions[] = {
        {kIdLblDeskBroom, &UiText.LabelDeskBroom},
        {kIdLblCleanClipboard, &UiText.LabelCleanClipboard},
        {kIdLblCtrl, &UiText.LabelCtrl},
        {kIdLblAlt, &UiText.LabelAlt},
        {kIdLblShift, &UiText.LabelShift},
        {kIdOk, &UiText.ButtonOk},
        {kIdCancel, &UiText.ButtonCancel},
        {kIdApply, &UiText.ButtonApply},
        {kIdChkHotkeysActivated, &UiText.CheckHotkeysActivated},
    };
    for (const auto& [id, caption] : captions)
        SetItemText(hwnd_, id, *caption);
    // Starts from what is stored, not from edits left unsaved at an earlier opening.
    RestoreGlobalsFromRegistry();
    arming_->HotkeySettingsChanged();
    RestoreControlsFromGlobals();
}

void frmHotkeys::RestoreControlsFromGlobals() {
    HotkeyControls controls = ControlsFromSettings(*this);
    SetTicked(hwnd_, kIdChkCcCtrl, controls.chkCcCtrl);
    SetTicked(hwnd_, kIdChkCcAlt, controls.chkCcAlt);
    SetTicked(hwnd_, kIdChkCcShift, controls.chkCcShift);
    SetTicked(hwnd_, kIdChkDbrCtrl, controls.chkDbrCtrl);
    SetTicked(hwnd_, kIdChkDbrAlt, controls.chkDbrAlt);
    SetTicked(hwnd_, kIdChkDbrShift, controls.chkDbrShift);
    SetTicked(hwnd_, kIdChkHotkeysActivated, controls.chkHotkeysActivated);
    SetItemText(hwnd_, kIdCmbDbrHotkeyLetter, controls.cmbDbrHotkeyLetter);
    SetItemText(hwnd_, kIdCmbCcHotkeyLetter, controls.cmbCcHotkeyLetter);
    SetTicked(hwnd_, kIdChkCcPaste, controls.chkCcPaste);
}

HotkeyControls frmHotkeys::ReadControls() const {
    HotkeyControls controls;
    controls.chkCcCtrl = Ticked(hwnd_, kIdChkCcCtrl);
    controls.chkCcAlt = Ticked(hwnd_, kIdChkCcAlt);
    controls.chkCcShift = Ticked(hwnd_, kIdChkCcShift);
    controls.chkDbrCtrl = Ticked(hwnd_, kIdChkDbrCtrl);
    controls.chkDbrAlt = Ticked(hwnd_, kIdChkDbrAlt);
    controls.chkDbrShift = Ticked(hwnd_, kIdChkDbrShift);
    controls.chkHotkeysActivated = Ticked(hwnd_, kIdChkHotkeysActivated);
    controls.cmbDbrHotkeyLetter = ToU16(ItemText(hwnd_, kIdCmbDbrHotkeyLetter));
    controls.cmbCcHotkeyLetter = ToU16(ItemText(hwnd_, kIdCmbCcHotkeyLetter));
    controls.chkCcPaste = Ticked(hwnd_, kIdChkCcPaste);
    return controls;
}

void frmHotkeys::CheckForNoneModifier() {
    bMOdTryModifierAgain = false;
    if (!HotkeyRowWithoutModifier(ReadControls()))
        return;
    // The box has no owner; without this the dialog would take a second OK click and ask
    // again while the first question is open.
    ::EnableWindow(hwnd_, FALSE);
    int answer = ShowMessage(UiText.NoModifierWarning, MB_YESNO | MB_DEFBUTTON2);
    ::EnableWindow(hwnd_, TRUE);
    ::SetForegroundWindow(hwnd_);
    // Only Yes saves: a box ended by Exit, by WM_CLOSE to the main window or never shown at
    // all (0) is no answer.
    if (answer != IDYES)
        bMOdTryModifierAgain = true;
}

void frmHotkeys::SaveControlsToRegistry() {
    StoreHotkeyControls(ReadControls(), *arming_);
}

bool frmHotkeys::Save() {
    if (ProgramIsEnding())
        return false;
    CheckForNoneModifier();
    if (bMOdTryModifierAgain)
        return false;
    SaveControlsToRegistry();
    RestoreGlobalsFromRegistry();
    arming_->HotkeySettingsChanged();
    return true;
}

void frmHotkeys::cmdApply_Click() {
    Save();
}

void frmHotkeys::cmdOk_Click() {
    if (Save())
        ::EndDialog(hwnd_, IDOK);
}

void frmHotkeys::cmdCancel_Click() {
    ::EndDialog(hwnd_, IDCANCEL);
}
