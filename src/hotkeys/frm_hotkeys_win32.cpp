// The Hotkeys dialog: edits both hotkeys and their switch, and holds the program's hotkey settings.
#include "hotkeys/frm_hotkeys_win32.h"

#include <commctrl.h>

#include <string>

#include "common/ui_text.h"
#include "hotkeys/frm_hotkeys_resource.h"
#include "win32/failure.h"
#include "win32/system_function.h"
#include "win32/ui_win32.h"
#include "win32/wide_text.h"
#include "win32/window_binding.h"

namespace {

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
    ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_HOTKEYS), owner,
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
            PlaceFillListsAndSetIcons();
            Form_Load();
            return TRUE;  // focus to the first control in tab order: OK
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED)
                return FALSE;
            switch (LOWORD(wParam)) {
                case IDOK:
                    cmdOk_Click();
                    return TRUE;
                case IDCANCEL:  // also Esc, the close box and Alt+F4
                    cmdCancel_Click();
                    return TRUE;
                case IDC_APPLY:
                    cmdApply_Click();
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

void frmHotkeys::PlaceFillListsAndSetIcons() {
    // Centred on the monitor the user works on (where the tray menu was opened). Moved there
    // first, it takes that monitor's DPI, and with it its size there.
    POINT cursor{};
    ::GetCursorPos(&cursor);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    ::SetWindowPos(hwnd_, nullptr, (work.left + work.right) / 2, (work.top + work.bottom) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT frame{};
    ::GetWindowRect(hwnd_, &frame);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    ::SetWindowPos(hwnd_, nullptr, (work.left + work.right - width) / 2,
                   (work.top + work.bottom - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    for (int list : {IDC_CMB_DBR_HOTKEY_LETTER, IDC_CMB_CC_HOTKEY_LETTER}) {
        for (std::u16string_view name : HotKeyLetters()) {
            std::wstring item = ToWide(std::u16string(name));
            ::SendDlgItemMessageW(hwnd_, list, CB_ADDSTRING, 0,
                                  reinterpret_cast<LPARAM>(item.c_str()));
        }
    }

    UINT dpi = ::GetDpiForWindow(hwnd_);
    if (dpi == 0)
        dpi = USER_DEFAULT_SCREEN_DPI;
    icon_.reset(LoadIconResource(iconResource_, ::GetSystemMetricsForDpi(SM_CXICON, dpi)));
    smallIcon_.reset(LoadIconResource(iconResource_, ::GetSystemMetricsForDpi(SM_CXSMICON, dpi)));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

void frmHotkeys::Form_Load() {
    ::SetWindowTextW(hwnd_, ToWide(UiText.HotkeysCaption).c_str());
    const std::pair<int, const std::u16string*> captions[] = {
        {IDC_LBL_DESK_BROOM, &UiText.LabelDeskBroom},
        {IDC_LBL_CLEAN_CLIPBOARD, &UiText.LabelCleanClipboard},
        {IDC_LBL_CTRL, &UiText.LabelCtrl},
        {IDC_LBL_ALT, &UiText.LabelAlt},
        {IDC_LBL_SHIFT, &UiText.LabelShift},
        {IDOK, &UiText.ButtonOk},
        {IDCANCEL, &UiText.ButtonCancel},
        {IDC_APPLY, &UiText.ButtonApply},
        {IDC_CHK_HOTKEYS_ACTIVATED, &UiText.CheckHotkeysActivated},
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
    SetTicked(hwnd_, IDC_CHK_CC_CTRL, controls.chkCcCtrl);
    SetTicked(hwnd_, IDC_CHK_CC_ALT, controls.chkCcAlt);
    SetTicked(hwnd_, IDC_CHK_CC_SHIFT, controls.chkCcShift);
    SetTicked(hwnd_, IDC_CHK_DBR_CTRL, controls.chkDbrCtrl);
    SetTicked(hwnd_, IDC_CHK_DBR_ALT, controls.chkDbrAlt);
    SetTicked(hwnd_, IDC_CHK_DBR_SHIFT, controls.chkDbrShift);
    SetTicked(hwnd_, IDC_CHK_HOTKEYS_ACTIVATED, controls.chkHotkeysActivated);
    SetItemText(hwnd_, IDC_CMB_DBR_HOTKEY_LETTER, controls.cmbDbrHotkeyLetter);
    SetItemText(hwnd_, IDC_CMB_CC_HOTKEY_LETTER, controls.cmbCcHotkeyLetter);
    SetTicked(hwnd_, IDC_CHK_CC_PASTE, controls.chkCcPaste);
}

HotkeyControls frmHotkeys::ReadControls() const {
    HotkeyControls controls;
    controls.chkCcCtrl = Ticked(hwnd_, IDC_CHK_CC_CTRL);
    controls.chkCcAlt = Ticked(hwnd_, IDC_CHK_CC_ALT);
    controls.chkCcShift = Ticked(hwnd_, IDC_CHK_CC_SHIFT);
    controls.chkDbrCtrl = Ticked(hwnd_, IDC_CHK_DBR_CTRL);
    controls.chkDbrAlt = Ticked(hwnd_, IDC_CHK_DBR_ALT);
    controls.chkDbrShift = Ticked(hwnd_, IDC_CHK_DBR_SHIFT);
    controls.chkHotkeysActivated = Ticked(hwnd_, IDC_CHK_HOTKEYS_ACTIVATED);
    controls.cmbDbrHotkeyLetter = ToU16(ItemText(hwnd_, IDC_CMB_DBR_HOTKEY_LETTER));
    controls.cmbCcHotkeyLetter = ToU16(ItemText(hwnd_, IDC_CMB_CC_HOTKEY_LETTER));
    controls.chkCcPaste = Ticked(hwnd_, IDC_CHK_CC_PASTE);
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
