// The hotkey component: the two configured hotkeys registered with the system while armed, armed
// and disarmed through IDispatch.
#include "hotkeys/hotkey_component_win32.h"

#include <string>
#include <utility>

#include "common/reentry_guard.h"
#include "common/ui_text.h"
#include "win32/failure.h"
#include "win32/ui_win32.h"
#include "win32/window_binding.h"

namespace {

constexpr wchar_t kWindowClass[] = L"DeskBroomHotkeys";

// While a raised hotkey's key is held, its release is looked for this often: far more often
// than a finger can let go of a key and press it again.
constexpr UINT_PTR kReleaseTimer = 1;
constexpr UINT kReleaseCheckMs = 20;

constexpr UINT kTellUser = WM_APP + 1;

UINT SystemModifiers(std::int16_t mask) {
    return MOD_NOREPEAT | ((mask & kMaskShift) ? MOD_SHIFT : 0) |
           ((mask & kMaskCtrl) ? MOD_CONTROL : 0) | ((mask & kMaskAlt) ? MOD_ALT : 0);
}

}  // namespace

HRESULT WinHook::Create(HINSTANCE instance, const HotkeySettings& settings,
                        KeyEventHandler keyEvent, WinHookRef& component) {
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = &BoundWindowProc<WinHook>;
    type.hInstance = instance;
    type.lpszClassName = kWindowClass;
    ::RegisterClassExW(&type);  // fails harmlessly when a second component registers again
    // A COM object: its last Release deletes it.
    WinHookRef hook(new WinHook(settings, std::move(keyEvent)));
    hook->ownWindow_.reset(::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                             nullptr, instance, hook.get()));
    if (!hook->ownWindow_) {
        // Read before the half-made component goes: its cleanup makes system calls of its own.
        const DWORD error = ::GetLastError();
        return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    component = std::move(hook);
    return S_OK;
}

WinHook::WinHook(const HotkeySettings& settings, KeyEventHandler keyEvent)
    : settings_(settings), keyEvent_(std::move(keyEvent)) {}

WinHook::~WinHook() {
    UnregisterAll();
    // Unbound first: the window's last messages must not reach a component being destroyed.
    if (window_)
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
}

HRESULT WinHook::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG WinHook::AddRef() {
    return ++refs_;
}

ULONG WinHook::Release() {
    ULONG left = --refs_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT WinHook::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT WinHook::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info)
        *info = nullptr;
    return DISP_E_BADINDEX;
}

// The component is driven by dispatch identifier alone.
HRESULT WinHook::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

// The one member is the arming property, put with a 32-bit integer.
HRESULT WinHook::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT*,
                        EXCEPINFO*, UINT* argError) {
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (id != kDispidArming || !(flags & DISPATCH_PROPERTYPUT))
        return DISP_E_MEMBERNOTFOUND;
    if (!params)
        return E_INVALIDARG;
    if (params->cArgs != 1)
        return DISP_E_BADPARAMCOUNT;
    if (params->cNamedArgs > 1 ||
        (params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)) {
        return DISP_E_NONAMEDARGS;
    }
    if (params->rgvarg[0].vt != VT_I4) {
        if (argError)
            *argError = 0;
        return DISP_E_TYPEMISMATCH;
    }
    return PutArming(params->rgvarg[0].lVal);
}

HRESULT WinHook::PutArming(LONG value) {
    switch (value) {
        case kArmed:
            armed_ = true;
            // Arming again tries once more what another program held before.
            return Register(true);
        case kDisarmed:
            armed_ = false;
            UnregisterAll();
            return S_OK;
        default:
            // No other state exists; guessing one would arm or disarm against the caller's will.
            return E_INVALIDARG;
    }
}

void WinHook::FollowSettings() {
    if (!armed_)
        return;
    HRESULT result = Register(false);
    if (FAILED(result))
        EndWithFailure(DescribeError(result));
}

HRESULT WinHook::Register(bool retry) {
    const Combination closeAll{settings_.intMOdDbrHotKeyLetter, settings_.intGMOdDbrCtrlAltShift};
    const Combination clean{settings_.intMOdCcHotKeyLetter, settings_.intGMOdCcCtrlAltShift};
    // The system takes a combination once: equal hotkeys share close-all's registration, and the
    // handler runs both actions for its press.
    const Combination wanted[] = {closeAll, clean == closeAll ? Combination{} : clean};
    for (int i = 0; i < 2; ++i) {
        Slot& slot = slots_[i];
        const int id = i + 1;
        if (slot.wanted == wanted[i] && (slot.registered || !retry))
            continue;
        if (slot.registered)
            ::UnregisterHotKey(window_, id);
        slot = Slot{wanted[i], false};
        // Key code 0 (a key name other than F1 to F12) names no key that could be pressed.
        if (wanted[i].keyCode == 0)
            continue;
        if (::RegisterHotKey(window_, id, SystemModifiers(wanted[i].mask),
                             static_cast<UINT>(wanted[i].keyCode))) {
            slot.registered = true;
            continue;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_HOTKEY_ALREADY_REGISTERED)
            return HRESULT_FROM_WIN32(error);
        slot.untold = true;
    }
    // Told once the caller is done: a save in the Hotkeys dialog arms before it loads the key
    // names it stored, and only what is still missing then is worth a word.
    PostTellUser();
    return S_OK;
}

void WinHook::PostTellUser() {
    for (const Slot& slot : slots_) {
        if (slot.untold && !tellPosted_ && !telling_)
            tellPosted_ = ::PostMessageW(window_, kTellUser, 0, 0) != FALSE;
    }
}

void WinHook::TellUser() {
    tellPosted_ = false;
    const bool same = slots_[1].wanted.keyCode == 0 &&
                      slots_[0].wanted == Combination{settings_.intMOdCcHotKeyLetter,
                                                      settings_.intGMOdCcCtrlAltShift};
    const std::u16string actions[] = {
        same ? UiText.LabelDeskBroom + u" and " + UiText.LabelCleanClipboard
             : UiText.LabelDeskBroom,
        UiText.LabelCleanClipboard};
    std::u16string taken;
    Combination told[2];
    for (int i = 0; i < 2; ++i) {
        Slot& slot = slots_[i];
        if (!slot.untold || slot.registered)
            continue;
        slot.untold = false;
        told[i] = slot.wanted;
        taken += HotkeyTakenLine(slot.wanted.keyCode, slot.wanted.mask, actions[i]);
    }
    if (taken.empty())
        return;
    {
        ReentryGuard telling(telling_);
        ShowMessage(taken + u"DeskBroom runs on; Set Hotkeys lets you choose another key.");
    }
    // Armed again meanwhile (Apply pressed while the message was open): what it named is told;
    // a combination it did not name is told next.
    for (int i = 0; i < 2; ++i) {
        if (slots_[i].wanted == told[i])
            slots_[i].untold = false;
    }
    PostTellUser();
}

void WinHook::UnregisterAll() {
    for (int i = 0; i < 2; ++i) {
        if (slots_[i].registered)
            ::UnregisterHotKey(window_, i + 1);
        slots_[i] = Slot{};
    }
    heldId_ = 0;
    ::KillTimer(window_, kReleaseTimer);
}

void WinHook::OnHotkey(int id, LPARAM lParam) {
    const UINT modifiers = LOWORD(lParam);
    const auto key = static_cast<std::uint8_t>(HIWORD(lParam));
    // MOD_NOREPEAT keeps a held key from firing again on Windows; Wine ignores it and reports
    // every auto-repeat.
    if (id == heldId_ && KeyIsDown(heldKey_))
        return;
    heldId_ = 0;
    if (KeyIsDown(key)) {
        heldId_ = id;
        heldKey_ = key;
        ::SetTimer(window_, kReleaseTimer, kReleaseCheckMs, nullptr);
    }
    std::int32_t keyCode = key;
    const std::int16_t shift = ModifierMask(
        (modifiers & MOD_SHIFT) != 0, (modifiers & MOD_CONTROL) != 0, (modifiers & MOD_ALT) != 0);
    // A registered hotkey never reaches another program, so the handled flag asks nothing more.
    std::int16_t handled = 0;
    if (keyEvent_)
        keyEvent_(keyCode, shift, handled);
}

void WinHook::OnReleaseCheck() {
    if (heldId_ != 0 && KeyIsDown(heldKey_))
        return;
    heldId_ = 0;
    ::KillTimer(window_, kReleaseTimer);
}

LRESULT WinHook::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kReleaseTimer) {
        OnReleaseCheck();
        return 0;
    }
    if (message == kTellUser) {
        TellUser();
        return 0;
    }
    if (message != WM_HOTKEY)
        return ::DefWindowProcW(window_, message, wParam, lParam);
    // Kept alive while a handler runs: it may end up releasing the component.
    WinHookRef keep((AddRef(), this));
    if (armed_)
        OnHotkey(static_cast<int>(wParam), lParam);
    return 0;
}

void PutArming(IDispatch& component, LONG value) {
    VARIANT argument{};  // what VariantInit gives, without loading the automation runtime
    argument.vt = VT_I4;
    argument.lVal = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&argument, &named, 1, 1};
    HRESULT result = component.Invoke(WinHook::kDispidArming, IID_NULL, LOCALE_USER_DEFAULT,
                                      DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
    // A failed arming or disarming is not handled by its callers: the program says why and
    // ends, rather than run on with hotkeys in a state the user did not choose.
    if (FAILED(result))
        EndWithFailure(DescribeError(result));
}
