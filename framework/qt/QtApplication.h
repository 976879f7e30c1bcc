// The framework on Qt: AfxWinMain (declared in framework/CWinApp.h) starts the toolkit and
// the presenters, then InitInstance; these are the Qt-only services around it.
#pragma once

// True when there is no display and the window cannot be shown.
bool AfxHasNoDisplay();
void AfxSetNoDisplay(bool noDisplay);

// Installs the Qt presenter, wait cursor, URL opener and help engine (tests call it too).
void AfxInstallQtServices();
