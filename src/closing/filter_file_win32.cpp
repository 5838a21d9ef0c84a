// The window filter file beside the program: loading it and editing it in Notepad.
#include "app/frm_desk_broom_win32.h"

void frmDeskBroom::LoadWindowsFilter() {
    // The filter file is not read yet.
}

void frmDeskBroom::mSetWindowsFilter_Click() {
    // Editing the filter file is not built yet.
}
