// The Help and About commands of the tray menu.
#include "app/frm_desk_broom_win32.h"

#include "app/ui_text.h"
#include "win32/ui_win32.h"

void frmDeskBroom::mPopHelp_Click() {
    // Opening the help document is not built yet.
}

void frmDeskBroom::mPopAbout_Click() {
    ShowMessage(UiText.AboutText);
}
