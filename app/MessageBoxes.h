// Dialogs and message boxes placed over the window that owns them.
#pragma once

#include <windows.h>

// Moves a top-level window to the middle of its owner, kept on the owner's
// screen; a window without an owner stays where it is.
void CentreOnOwner(HWND hWnd);

// MessageBoxA, shown centred on its owner.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);
