// Command ids of the window program's menus and accelerators. Plain
// defines: the resource script reads them too.
#pragma once

#define ID_FILE_NEW 40001
#define ID_FILE_OPEN 40002
#define ID_FILE_EXIT 40003
#define ID_FILE_SAVE 40004
#define ID_FILE_SAVEAS 40005
#define ID_HELP_VERSION 40006
#define ID_EDIT_ADDITEM 40007
#define ID_EDIT_EDITITEM 40008
#define ID_EDIT_DELETEITEMS 40009
#define ID_CONVERT_ALL 40010
#define ID_CONVERT_SELECTED 40011
#define ID_EDIT_SELECTALL 40012
#define ID_EDIT_DESELECTALL 40013
#define ID_HELP_README 40014
#define ID_ITEM_EDITSOURCE 40016
#define ID_ITEM_EDITDESTINATION 40017
#define ID_TOOLS_COMMONSETTINGS 40018
#define ID_TOOLS_PROJECTSETTINGS 40019
#define ID_CONVERT_CHANGED 40020
#define ID_CONVERT_AUTO 40021
// Recent projects in the File menu: entry k has id ID_HISTORY_FIRST + k.
#define ID_HISTORY_FIRST 2000
#define ID_HISTORY_LAST (ID_HISTORY_FIRST + 8)
