// The one application object, the process's name and the ways a process ends.
#pragma once
#include <string>
#include <vector>

#include "framework/CCommandLineInfo.h"
#include "framework/CString.h"
#include "framework/afxdefs.h"

class CDialog;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();

    virtual BOOL InitInstance() { return FALSE; }
    // ID_HELP from a window without a help handler of its own: the help file's default topic.
    virtual void OnHelp();

    // Walks the arguments: a leading option marker is removed and flags the argument.
    void ParseCommandLine(CCommandLineInfo& info);

    // Called by main(): records the arguments and the application name (the file name
    // of argv[0] without its extension).
    void SetCommandLine(int argc, char** argv);
    const std::vector<std::string>& Arguments() const { return m_args; }

    BOOL Enable3dControlsStatic() { return TRUE; }  // nothing to do on this platform

    CString m_strOptionMarkers = "-";  // set from the platform's rules
    CDialog* m_pMainWnd = nullptr;
    CString m_pszAppName;
    CString m_pszHelpFilePath = "varnok.chm";

private:
    std::vector<std::string> m_args;
};

CWinApp* AfxGetApp();
// True when there is no display (none named, or the one named cannot be opened) and the
// window cannot be shown.
bool AfxHasNoDisplay();
const CString& AfxGetAppName();
void AfxEnableControlContainer();

// The framework's entry point, defined by the toolkit backend the build picks: the toolkit,
// the presenters, then InitInstance. Returns the process's exit code after the main window
// closes.
int AfxWinMain(int argc, char** argv, CWinApp& app);

// The run time's exit. Tests may replace it to observe the code instead of dying.
using ExitHandler = void (*)(int code);
[[noreturn]] void AfxExitProcess(int code);
ExitHandler AfxSetExitHandler(ExitHandler handler);
