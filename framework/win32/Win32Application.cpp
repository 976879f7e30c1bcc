// The framework's entry point on Win32: the arguments as the run time splits them, the
// message-box presenter and the wait cursor, then InitInstance. The main window is the
// in-memory model until the real Win32 dialog exists: a run that has to show it says so.
#include <string>
#include <vector>

#include "framework/AfxMessageBox.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/ModelDialogWindow.h"
#include "framework/WaitCursor.h"
#include "framework/win32/Win32Api.h"
#include "framework/win32/Win32MessagePresenter.h"

namespace {

// The dialog cannot be shown yet: say so and end as a run without a display does.
int RefuseToShow(ModelDialogWindow&) {
    const CString name = AfxGetAppName();
    AfxMessageBox("This build of " + name +
                      " runs unattended only: its window is not available yet.\n"
                      "To run unattended, give /q, the options and a start folder, for example:\n" +
                      name + " /q /-c /s /n:30 C:\\Temp\\App\\*.tmp",
                  MB_ICONERROR | MB_OK);
    AfxExitProcess(2);
}

}  // namespace

// Windows always has a desktop to show message boxes on.
bool AfxHasNoDisplay() { return false; }

std::unique_ptr<DialogWindow> AfxCreateDialogWindow(CDialog& owner, const DialogTemplate& tmpl) {
    return std::make_unique<ModelDialogWindow>(owner, tmpl, &RefuseToShow);
}

int AfxWinMain(int, char**, CWinApp& app) {
    // The run time's argv is in the ANSI code page: take the UTF-16 command line instead.
    std::vector<std::string> args = Win32CommandLineArguments();
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    app.SetCommandLine(static_cast<int>(args.size()), argv.data());

    static Win32MessagePresenter presenter;
    AfxSetMessagePresenter(&presenter);
    AfxSetWaitCursorHook(&Win32SetWaitCursor);
    // Help and web links come with the real dialog; until then HtmlHelpA finds no engine.

    app.InitInstance();
    return 0;
}
