// The framework on Qt: AfxWinMain (declared in framework/CWinApp.h) runs InitInstance and
// starts the toolkit on first need; these are the Qt-only services around it.
#pragma once
#include <memory>

#include "framework/DialogWindow.h"

void AfxSetNoDisplay(bool noDisplay);
// The display that was named but could not be opened; nullptr when none.
const char* AfxUnreachableDisplay();

// Installs the Qt presenter, wait cursor, URL opener, help engine and windows, once the
// application object exists (tests call it too).
void AfxInstallQtServices();
// The toolkit's windows: from then on AfxCreateDialogWindow builds them directly.
void AfxSetToolkitWindowFactory(DialogWindowFactory factory);
std::unique_ptr<DialogWindow> AfxCreateQtDialogWindow(CDialog& owner, const DialogTemplate& tmpl);
