// The framework on Qt: AfxWinMain (declared in framework/CWinApp.h) starts the toolkit and
// the presenters, then InitInstance; these are the Qt-only services around it.
#pragma once

void AfxSetNoDisplay(bool noDisplay);
// The display that was named but could not be opened; nullptr when none.
const char* AfxUnreachableDisplay();

// Installs the Qt presenter, wait cursor, URL opener and help engine (tests call it too).
void AfxInstallQtServices();
