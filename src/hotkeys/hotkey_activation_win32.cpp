// Arming and disarming the hotkeys, loading their settings, dispatching presses, opening the
// dialog.
#include "app/frm_desk_broom_win32.h"

#include "hotkeys/frm_hotkeys_win32.h"
#include "hotkeys/hotkey_dispatch.h"
#include "win32/failure.h"

namespace {

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

class MainFormActions final : public HotkeyActions {
  public:
    explicit MainFormActions(frmDeskBroom& form) : form_(form) {}
    void CloseWindowsNow() override { form_.CloseWindowsNow(); }
    void CleanClipboard() override { form_.CleanClipboard(); }

  private:
    frmDeskBroom& form_;
};

}  // namespace

bool frmDeskBroom::RestoreHotkeys() {
    // The component comes with the main window, disarmed; start-up arms it if asked to.
    if (!WinHookHotKey) {
        WinHookHotKey.reset(WinHook::Create(
            instance_, [this](std::int32_t& keyCode, std::int16_t shift, std::int32_t scanCode,
                              std::int32_t flags, std::int32_t time, std::int16_t& handled) {
                WinHookHotKey_KeyEvent(keyCode, shift, scanCode, flags, time, handled);
            }));
        if (!WinHookHotKey)
            EndWithFailure(DescribeLastError());
    }
    frmHotkeys& hotkeys = HotkeysForm();
    hotkeys.RestoreGlobalsFromRegistry();
    return hotkeys.bMOdHotkeysActivated;
}

void frmDeskBroom::ActivateHotkey() {
    PutArming(*WinHookHotKey, WinHook::kArmed);
}

void frmDeskBroom::DeActivateHotkey() {
    PutArming(*WinHookHotKey, WinHook::kDisarmed);
}

void frmDeskBroom::WinHookHotKey_KeyEvent(std::int32_t& keyCode, std::int16_t shift, std::int32_t,
                                          std::int32_t, std::int32_t, std::int16_t& handled) {
    MainFormActions actions(*this);
    DispatchKeyEvent(HotkeysForm(), keyCode, shift, handled, actions);
}

void frmDeskBroom::mPopSetHotkeys_Click() {
    HotkeysForm().Show(*this, owner_.get());
}
