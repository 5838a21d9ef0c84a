// The clean-clipboard action: the clipboard's text without control characters, and nothing else.
#include "app/frm_desk_broom_win32.h"

void frmDeskBroom::CleanClipboard() {
    // Clipboard cleaning is not built yet.
}
