// The dialog's window on the Win32 API: a real dialog made from the template data, its
// tree a common-controls tree view.
#pragma once
#include <memory>

#include "framework/DialogWindow.h"

// Null when Windows cannot make the window.
std::unique_ptr<DialogWindow> CreateWin32DialogWindow(CDialog& owner, const DialogTemplate& tmpl);
// The message boxes, wait cursor, help engine and shell of Win32 (AfxWinMain's set-up).
void AfxUseWin32Services();
