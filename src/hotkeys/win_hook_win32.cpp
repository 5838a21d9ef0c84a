// The keyboard-hook component: a system-wide key watcher armed and disarmed through IDispatch.
#include "hotkeys/win_hook_win32.h"

#include <oleauto.h>

#include <cwchar>
#include <optional>
#include <utility>

#include "win32/failure.h"
#include "win32/system_function.h"
#include "win32/window_binding.h"

namespace {

constexpr wchar_t kWindowClass[] = L"DeskBroomKeyboardHook";
constexpr UINT kPressesPending = WM_APP + 1;
constexpr wchar_t kArmingName[] = L"Arming";

// Presses wait here while the program's commands are held (say, while Notepad is open on the
// filter file); they must not pile up without bound.
constexpr std::size_t kMaxPending = 256;

// The armed component: the one the hook procedure records presses for.
WinHook* hookOwner = nullptr;

// A 32-bit integer argument as the program itself passes it, or any other argument converted by
// the automation runtime, which is loaded only for that: the program's own arming call needs
// none of it.
std::optional<LONG> ToLong(const VARIANT& argument) {
    if (argument.vt == VT_I4)
        return argument.lVal;
    using ChangeType = HRESULT(WINAPI*)(VARIANTARG*, const VARIANTARG*, USHORT, VARTYPE);
    static const auto changeType =
        LoadSystemFunction<ChangeType>(L"oleaut32.dll", "VariantChangeType");
    VARIANT value{};
    if (!changeType || FAILED(changeType(&value, &argument, 0, VT_I4)))
        return std::nullopt;
    return value.lVal;
}

bool HeldNow(std::uint8_t vk) {
    return (::GetAsyncKeyState(vk) & 0x8000) != 0;
}

}  // namespace

WinHook* WinHook::Create(HINSTANCE instance, KeyEventHandler keyEvent) {
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = &BoundWindowProc<WinHook>;
    type.hInstance = instance;
    type.lpszClassName = kWindowClass;
    ::RegisterClassExW(&type);  // fails harmlessly when a second component registers again
    // A COM object: its last Release deletes it.
    WinHookRef hook(new WinHook(std::move(keyEvent)));
    hook->ownWindow_.reset(::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                             nullptr, instance, hook.get()));
    return hook->ownWindow_ ? hook.release() : nullptr;
}

WinHook::WinHook(KeyEventHandler keyEvent) : keyEvent_(std::move(keyEvent)) {}

WinHook::~WinHook() {
    Disarm();
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

HRESULT WinHook::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids)
        return E_POINTER;
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
        // Member names are case-insensitive in automation; the property takes no named
        // arguments, so only the first name can be known.
        if (i == 0 && names[0] && ::_wcsicmp(names[0], kArmingName) == 0) {
            ids[i] = kDispidArming;
        } else {
            ids[i] = DISPID_UNKNOWN;
            result = DISP_E_UNKNOWNNAME;
        }
    }
    return result;
}

HRESULT WinHook::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO*, UINT* argError) {
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (id != kDispidArming)
        return DISP_E_MEMBERNOTFOUND;
    if (!params)
        return E_INVALIDARG;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (params->cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        if (params->cNamedArgs > 1 ||
            (params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)) {
            return DISP_E_NONAMEDARGS;
        }
        std::optional<LONG> value = ToLong(params->rgvarg[0]);
        if (!value) {
            if (argError)
                *argError = 0;
            return DISP_E_TYPEMISMATCH;
        }
        return PutArming(*value);
    }
    if (flags & DISPATCH_PROPERTYGET) {
        if (params->cArgs != 0)
            return DISP_E_BADPARAMCOUNT;
        if (!result)
            return E_POINTER;
        *result = VARIANT{};
        result->vt = VT_I4;
        result->lVal = hook_ ? kArmed : kDisarmed;
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT WinHook::PutArming(LONG value) {
    switch (value) {
        case kArmed:
            return Arm();
        case kDisarmed:
            Disarm();
            return S_OK;
        default:
            // No other state exists; guessing one would arm or disarm against the caller's will.
            return E_INVALIDARG;
    }
}

HRESULT WinHook::Arm() {
    if (hook_)
        return S_OK;
    // The hook procedure has no context of its own: it reaches the one armed component.
    if (hookOwner)
        return HRESULT_FROM_WIN32(ERROR_BUSY);
    tracker_.Reset();
    hook_.reset(::SetWindowsHookExW(WH_KEYBOARD_LL, &WinHook::LowLevelKeyboardProc,
                                    ::GetModuleHandleW(nullptr), 0));
    if (!hook_)
        return HRESULT_FROM_WIN32(::GetLastError());
    hookOwner = this;
    return S_OK;
}

void WinHook::Disarm() {
    hook_.reset();
    if (hookOwner == this)
        hookOwner = nullptr;
    // Presses recorded before the disarm must not fire afterwards.
    pending_.clear();
}

LRESULT CALLBACK WinHook::LowLevelKeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && hookOwner) {
        Guarded([&] {
            const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
            LowLevelKeyEvent event{static_cast<std::uint32_t>(wParam), info->vkCode, info->scanCode,
                                   info->flags, info->time};
            if (auto press = hookOwner->tracker_.OnKey(event, &HeldNow))
                hookOwner->Record(*press);
        });
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void WinHook::Record(const KeyPress& press) {
    if (pending_.size() >= kMaxPending)
        return;
    pending_.push_back(press);
    if (notifyPosted_)
        return;
    // A full message queue leaves the flag down: the next press tries again rather than none
    // ever being raised.
    notifyPosted_ = ::PostMessageW(window_, kPressesPending, 0, 0) != FALSE;
}

void WinHook::RaiseKeyEvents() {
    // A handler may pump messages for minutes; presses recorded meanwhile are posted anew and
    // raised inside it rather than waiting for it to return.
    notifyPosted_ = false;
    while (hook_ && !pending_.empty()) {
        KeyPress press = pending_.front();
        pending_.pop_front();
        std::int32_t keyCode = press.keyCode;
        std::int16_t handled = 0;
        if (keyEvent_)
            keyEvent_(keyCode, press.shift, press.scanCode, press.flags, press.time, handled);
    }
}

LRESULT WinHook::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kPressesPending)
        return ::DefWindowProcW(window_, message, wParam, lParam);
    // Kept alive while a handler runs: it may end up releasing the component.
    WinHookRef keep((AddRef(), this));
    RaiseKeyEvents();
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
