// Texts read back from windows and controls whole, however long: a path
// cut at a fixed buffer size would name another file.
#pragma once

#include <windows.h>

#include "foundation/String.h"

Core::CString ReadWindowText(HWND hWnd);
Core::CString ReadDialogItemText(HWND hDlg, int id);
// The text of a list view cell (row, column).
Core::CString ReadListText(HWND list, int row, int column);
