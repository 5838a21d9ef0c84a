// The keyboard-hook component: a system-wide key watcher armed and disarmed through IDispatch.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "hotkeys/key_press.h"
#include "win32/unique_handle.h"

// While armed, a low-level keyboard hook on the thread that created the component records
// each key press and posts it to the component's window; KeyEvent is raised from the message
// loop. The hook procedure never waits for the handler: a close-all run started by a hotkey can
// take minutes, and a hook that blocked that long would stall the whole desktop's keyboard and
// be dropped by the system's hook timeout. For the same reason that thread must never wait
// without answering sent messages (the system calls the hook through them). One component per
// process can be armed at a time.
class WinHook final : public IDispatch {
  public:
    // keyCode: virtual-key code (by reference); shift: Shift 1, Ctrl 2, Alt 4 held at the press;
    // scanCode, flags and time of the low-level event; handled: -1 when a hotkey matched.
    using KeyEventHandler =
        std::function<void(std::int32_t& keyCode, std::int16_t shift, std::int32_t scanCode,
                           std::int32_t flags, std::int32_t time, std::int16_t& handled)>;

    // The arming property: put 2 to arm, 0 to disarm.
    static constexpr DISPID kDispidArming = 22;
    static constexpr LONG kArmed = 2;
    static constexpr LONG kDisarmed = 0;

    // A disarmed component holding one reference; null when its window cannot be made.
    static WinHook* Create(HINSTANCE instance, KeyEventHandler keyEvent);

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
    explicit WinHook(KeyEventHandler keyEvent);
    ~WinHook();

    HRESULT PutArming(LONG value);
    HRESULT Arm();
    void Disarm();
    void Record(const KeyPress& press);
    void RaiseKeyEvents();

    static LRESULT CALLBACK LowLevelKeyboardProc(int code, WPARAM wParam, LPARAM lParam);

    std::atomic<ULONG> refs_{1};
    HWND window_ = nullptr;  // message-only: where presses are posted
    UniqueHwnd ownWindow_;   // the same window, destroyed with the component
    KeyEventHandler keyEvent_;
    UniqueHhook hook_;  // installed while armed
    KeyPressTracker tracker_;
    std::deque<KeyPress> pending_;  // recorded, not yet raised
    bool notifyPosted_ = false;
};

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
using WinHookRef = std::unique_ptr<WinHook, ComRelease>;

// Puts the component's arming property (WinHook::kArmed or kDisarmed) through IDispatch; a
// failure ends the program with its description.
void PutArming(IDispatch& component, LONG value);
