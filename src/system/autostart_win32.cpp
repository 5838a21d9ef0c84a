// Starting with Windows: the "DeskBroom" value of the user's Run key and its menu check mark.
#include "app/frm_desk_broom_win32.h"

void frmDeskBroom::ShowAutostartState() {
    // The Run key is not read yet; the item stays unchecked.
}

void frmDeskBroom::mpopAutostart_Click() {
    // Switching autostart is not built yet.
}
