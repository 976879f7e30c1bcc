// The framework's entry point on Win32: the arguments as the run time splits them, the
// message boxes, the wait cursor, the help engine and the shell, then InitInstance. A
// dialog is held in memory until it is shown, so that a quiet run never makes a window.
#include <string>
#include <vector>

#include "framework/AfxMessageBox.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/HtmlHelp.h"
#include "framework/LazyDialogWindow.h"
#include "framework/WaitCursor.h"
#include "framework/win32/Win32Api.h"
#include "framework/win32/Win32DialogWindow.h"
#include "framework/win32/Win32MessagePresenter.h"

namespace {

// HTML Help through the help library's entry point. A help file named without a folder
// is the one beside the program: the help library would otherwise look in the current
// folder first, and read whatever file of that name lies there.
class Win32HelpEngine : public HelpEngine {
public:
    explicit Win32HelpEngine(void* entry) : m_entry(entry) {}
    HWND Invoke(HWND hwndCaller, const char* pszFile, UINT uCommand, std::uintptr_t dwData) override {
        const std::string file = pszFile ? Win32HelpFileBesideProgram(pszFile) : std::string();
        return static_cast<HWND>(
            Win32CallHtmlHelp(m_entry, hwndCaller, pszFile ? file.c_str() : nullptr, uCommand, dwData));
    }

private:
    void* m_entry;
};

bool OpenUrl(const char* url) { return Win32OpenUrl(url); }

// The message boxes, wait cursor, help engine and shell of Win32.
void UseWin32Services() {
    static Win32MessagePresenter presenter;
    AfxSetMessagePresenter(&presenter);
    AfxSetWaitCursorHook(&Win32SetWaitCursor);
    AfxSetHelpEngineLoader(&LoadWin32HelpEngine);
    AfxSetUrlOpener(&OpenUrl);
}

}  // namespace

std::unique_ptr<HelpEngine> LoadWin32HelpEngine() {
    void* entry = Win32LoadHtmlHelp();
    return entry ? std::make_unique<Win32HelpEngine>(entry) : nullptr;
}

// Windows always has a desktop to show message boxes on.
bool AfxHasNoDisplay() { return false; }

std::unique_ptr<DialogWindow> AfxCreateDialogWindow(CDialog& owner, const DialogTemplate& tmpl) {
    return std::make_unique<LazyDialogWindow>(owner, tmpl,
                                              [&owner, &tmpl] { return CreateWin32DialogWindow(owner, tmpl); });
}

int AfxWinMain(int, char**, CWinApp& app) {
    // The run time's argv is in the ANSI code page: take the UTF-16 command line instead.
    std::vector<std::string> args = Win32CommandLineArguments();
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    app.SetCommandLine(static_cast<int>(args.size()), argv.data());

    UseWin32Services();
    app.InitInstance();
    return 0;
}
