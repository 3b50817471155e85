// Resource and command ids, shared by Tovi.rc and the C++ code.
#pragma once

#define IDR_MAINMENU 102
#define IDR_ACCELERATORS 103
#define IDI_TOVI 104
#define IDD_ITEM 105
#define IDR_CONTEXTMENU 107
#define IDC_SPLIT 108
#define IDD_COMMONSETTINGS 109
#define IDD_PROJECTSETTINGS 110

// Child window id of the item list.
#define IDC_ITEMLIST 100

// Commands of menus 102 and 107 and of the accelerators.
#include "app/core/CommandIds.h"

// Item dialog (105).
#define IDC_SOURCE_PATH 1002
#define IDC_DESTINATION_PATH 1003
#define IDC_BROWSE_SOURCE 1004
#define IDC_BROWSE_DESTINATION 1007
#define IDC_ITEM_HINT 1020
// Project settings dialog (110).
#define IDC_RELATIVE_PATHS 1009
#define IDC_ABSOLUTE_PATHS 1010
#define IDC_DIRECTIVES_REMOVE 1011
#define IDC_DIRECTIVES_COMMENT_BEFORE 1012
#define IDC_DIRECTIVES_COMMENT_AFTER 1013
#define IDC_SOURCE_CP932 1021
#define IDC_SOURCE_UTF8 1022
// Common settings dialog (109).
#define IDC_RESTORE_WINDOW 1014
#define IDC_ASSOCIATE 1015
#define IDC_HISTORY_SPIN 1018
#define IDC_HISTORY_COUNT 1019

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
