// One owner per handle: a small move-only wrapper whose traits name the invalid value and the close
// call.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <memory>
#include <utility>

template <typename Traits>
class UniqueAny {
  public:
    using pointer = typename Traits::pointer;

    UniqueAny() noexcept = default;
    explicit UniqueAny(pointer value) noexcept : value_(value) {}
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~UniqueAny() { reset(); }

    pointer get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }
    pointer release() noexcept { return std::exchange(value_, Traits::invalid()); }
    // The last error outlives the close: a failure path may let an owner go before it reads why.
    void reset(pointer value = Traits::invalid()) noexcept {
        pointer old = std::exchange(value_, value);
        if (old != Traits::invalid()) {
            const DWORD error = ::GetLastError();
            Traits::close(old);
            ::SetLastError(error);
        }
    }
    // For out-parameters: closes what is held and hands out the slot.
    pointer* put() noexcept {
        reset();
        return &value_;
    }

  private:
    pointer value_ = Traits::invalid();
};

template <typename T, auto Close>
struct HandleTraits {
    using pointer = T;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer value) noexcept { Close(value); }
};

// Files are the kernel handles whose invalid value is INVALID_HANDLE_VALUE rather than null.
struct FileHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer value) noexcept { ::CloseHandle(value); }
};

using UniqueHandle = UniqueAny<HandleTraits<HANDLE, ::CloseHandle>>;
using UniqueFile = UniqueAny<FileHandleTraits>;
using UniqueHlocal = UniqueAny<HandleTraits<HLOCAL, ::LocalFree>>;
using UniqueHglobal = UniqueAny<HandleTraits<HGLOBAL, ::GlobalFree>>;
using UniqueHkey = UniqueAny<HandleTraits<HKEY, ::RegCloseKey>>;
using UniqueHwnd = UniqueAny<HandleTraits<HWND, ::DestroyWindow>>;
using UniqueHicon = UniqueAny<HandleTraits<HICON, ::DestroyIcon>>;
using UniqueHmenu = UniqueAny<HandleTraits<HMENU, ::DestroyMenu>>;

// A COM object's reference, released when its owner goes.
struct ComRelease {
    void operator()(IUnknown* object) const noexcept { object->Release(); }
};
class WinHook;  // the hotkey component
using WinHookRef = std::unique_ptr<WinHook, ComRelease>;

// An open clipboard, closed when the guard goes.
class ClipboardGuard {
  public:
    explicit ClipboardGuard(HWND owner) noexcept : open_(::OpenClipboard(owner) != FALSE) {}
    ClipboardGuard(const ClipboardGuard&) = delete;
    ClipboardGuard& operator=(const ClipboardGuard&) = delete;
    ~ClipboardGuard() {
        if (open_)
            ::CloseClipboard();
    }
    bool IsOpen() const noexcept { return open_; }

  private:
    bool open_;
};

// A locked global memory block, unlocked when the guard goes.
class GlobalLockGuard {
  public:
    explicit GlobalLockGuard(HGLOBAL memory) noexcept
        : memory_(memory), data_(memory ? ::GlobalLock(memory) : nullptr) {}
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    ~GlobalLockGuard() {
        if (data_)
            ::GlobalUnlock(memory_);
    }
    void* data() const noexcept { return data_; }
    SIZE_T size() const noexcept { return data_ ? ::GlobalSize(memory_) : 0; }

  private:
    HGLOBAL memory_;
    void* data_;
};
