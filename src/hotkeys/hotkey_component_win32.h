// The hotkey component: the two configured hotkeys registered with the system while armed, armed
// and disarmed through IDispatch.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <cstdint>
#include <functional>

#include "hotkeys/hotkey_settings.h"
#include "win32/unique_handle.h"

// While armed, each distinct combination of the two hotkeys is registered for the component's
// window (RegisterHotKey); WM_HOTKEY, posted to the thread that created the component, raises
// KeyEvent there. A combination another program holds cannot be registered: the user is told,
// and the other hotkey works on. The desktop's keyboard never waits for the program.
class WinHook final : public IDispatch {
  public:
    // keyCode: virtual-key code (by reference); shift: Shift 1, Ctrl 2, Alt 4; handled: -1 when
    // a hotkey matched.
    using KeyEventHandler =
        std::function<void(std::int32_t& keyCode, std::int16_t shift, std::int16_t& handled)>;

    // The arming property: put 2 to arm, 0 to disarm.
    static constexpr DISPID kDispidArming = 22;
    static constexpr LONG kArmed = 2;
    static constexpr LONG kDisarmed = 0;

    // Puts into `component` a disarmed component holding one reference, or returns why its
    // window cannot be made. While armed it registers the combinations that `settings` holds,
    // which must outlive it.
    static HRESULT Create(HINSTANCE instance, const HotkeySettings& settings,
                          KeyEventHandler keyEvent, WinHookRef& component);

    // While armed, registers the combinations anew where the settings changed since.
    void FollowSettings();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override;

    // The message window's binding (see win32/window_binding.h).
    void Bind(HWND window) { window_ = window; }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    // A key code and mask in the settings' encoding; key code 0 names no key.
    struct Combination {
        std::int16_t keyCode = 0;
        std::int16_t mask = 0;
        friend bool operator==(const Combination&, const Combination&) = default;
    };
    // One registration: close-all's, and clean-clipboard's unless both hotkeys are the same.
    struct Slot {
        Combination wanted;
        bool registered = false;
        bool untold = false;  // held by another program, and the user not told yet
    };

    WinHook(const HotkeySettings& settings, KeyEventHandler keyEvent);
    ~WinHook();

    HRESULT PutArming(LONG value);
    // Registers what the settings ask for: the slots whose combination changed, and with
    // `retry` those that failed before. The user hears of the ones another program holds.
    HRESULT Register(bool retry);
    void TellUser();
    void PostTellUser();
    void UnregisterAll();
    void OnHotkey(int id, LPARAM lParam);
    void OnReleaseCheck();

    std::atomic<ULONG> refs_{1};
    HWND window_ = nullptr;  // message-only: where WM_HOTKEY arrives
    UniqueHwnd ownWindow_;   // the same window, destroyed with the component
    const HotkeySettings& settings_;
    KeyEventHandler keyEvent_;
    bool armed_ = false;
    Slot slots_[2];
    bool tellPosted_ = false;
    bool telling_ = false;  // while the message is open: armings meanwhile add no second one
    int heldId_ = 0;        // the hotkey raised last while its key is still down; 0 when none
    std::uint8_t heldKey_ = 0;
};

// Puts the component's arming property (WinHook::kArmed or kDisarmed) through IDispatch; a
// failure ends the program with its description.
void PutArming(IDispatch& component, LONG value);
