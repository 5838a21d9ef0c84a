// Resource identifiers of the Hotkeys dialog, shared by its resource script and its code.
#pragma once

#define IDD_HOTKEYS 100

// OK and Cancel are IDOK and IDCANCEL, so that Enter and Esc reach them.
#define IDC_APPLY 1001
#define IDC_CHK_DBR_CTRL 1002
#define IDC_CHK_DBR_SHIFT 1003
#define IDC_CHK_DBR_ALT 1004
#define IDC_CMB_DBR_HOTKEY_LETTER 1005
#define IDC_CHK_CC_CTRL 1006
#define IDC_CHK_CC_SHIFT 1007
#define IDC_CHK_CC_ALT 1008
#define IDC_CMB_CC_HOTKEY_LETTER 1009
#define IDC_CHK_HOTKEYS_ACTIVATED 1010
#define IDC_LBL_DESK_BROOM 1011
#define IDC_LBL_CLEAN_CLIPBOARD 1012
#define IDC_LBL_CTRL 1013
#define IDC_LBL_SHIFT 1014
#define IDC_LBL_ALT 1015
#define IDC_CHK_CC_PASTE 1016
