// Asking the clipboard's owner whether it answers, before anything is read from the clipboard.
#include "clipboard/clipboard_owner_win32.h"

#include "clipboard/clipboard_owner.h"

namespace {

class SystemClipboardOwner final : public ClipboardOwnerProbe {
  public:
    SystemClipboardOwner() : owner_(::GetClipboardOwner()) {}
    HWND Window() const { return owner_; }

    bool OwnedElsewhere() override {
        DWORD process = 0;
        return owner_ && ::GetWindowThreadProcessId(owner_, &process) != 0 &&
               process != ::GetCurrentProcessId();
    }
    bool OwnerHangs() override { return ::IsHungAppWindow(owner_) != FALSE; }
    OwnerReply AskOwner(unsigned timeoutMs) override {
        // SMTO_BLOCK: a tray click or Exit handled inside the wait would start work in the
        // middle of a cleaning; after at most the timeout they run as usual.
        DWORD_PTR result = 0;
        ::SetLastError(ERROR_SUCCESS);
        if (::SendMessageTimeoutW(owner_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs,
                                  &result)) {
            return OwnerReply::Answered;
        }
        // User interface privilege isolation refuses messages to a program that runs at a
        // higher integrity level; a timeout or a hung owner reports something else.
        return ::GetLastError() == ERROR_ACCESS_DENIED ? OwnerReply::Refused : OwnerReply::Silent;
    }

  private:
    HWND owner_;
};

}  // namespace

bool ClipboardOwnerAnswersInTime(HWND* asked) {
    SystemClipboardOwner owner;
    if (asked)
        *asked = owner.Window();
    return ClipboardOwnerAnswers(owner);
}
