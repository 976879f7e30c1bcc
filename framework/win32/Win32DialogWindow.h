// The dialog's window on the Win32 API: a real dialog made from the template data, its
// tree a common-controls tree view.
#pragma once
#include <memory>

#include "framework/DialogWindow.h"
#include "framework/HtmlHelp.h"

// Null when Windows cannot make the window.
std::unique_ptr<DialogWindow> CreateWin32DialogWindow(CDialog& owner, const DialogTemplate& tmpl);
// The system's HTML Help engine (hhctrl.ocx); null when it cannot be loaded.
std::unique_ptr<HelpEngine> LoadWin32HelpEngine();
