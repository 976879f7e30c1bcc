// The framework's entry point on Qt: the toolkit, the presenters, then InitInstance.
#pragma once
class CWinApp;

// Runs the application; returns the process's exit code after the main window closes.
int AfxWinMain(int argc, char** argv, CWinApp& app);

void AfxSetNoDisplay(bool noDisplay);
// The display that was named but could not be opened; nullptr when none.
const char* AfxUnreachableDisplay();

// Installs the Qt presenter, wait cursor, URL opener and help engine (tests call it too).
void AfxInstallQtServices();
