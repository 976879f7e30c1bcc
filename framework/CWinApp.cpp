#include "framework/CWinApp.h"

#include <cstdlib>

#include "framework/HtmlHelp.h"

namespace {
CWinApp* g_app = nullptr;
CString g_appName = "varnok";
ExitHandler g_exitHandler = nullptr;
}  // namespace

void CCommandLineInfo::ParseParam(const char*, BOOL, BOOL) {}

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

void CWinApp::SetCommandLine(int argc, char** argv) {
    m_args.assign(argv, argv + argc);
    std::string name = argc > 0 && argv[0] ? argv[0] : "varnok";
    size_t slash = name.find_last_of('/');
    if (slash != std::string::npos) name = name.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name = name.substr(0, dot);
    m_pszAppName = name;
    g_appName = name;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    for (size_t i = 1; i < m_args.size(); ++i) {
        const std::string& arg = m_args[i];
        const BOOL bLast = i + 1 == m_args.size();
        if (!arg.empty() && m_strOptionMarkers.Find(arg[0]) >= 0)
            info.ParseParam(arg.c_str() + 1, TRUE, bLast);
        else
            info.ParseParam(arg.c_str(), FALSE, bLast);
    }
}

void CWinApp::OnHelp() { HtmlHelpA(nullptr, m_pszHelpFilePath.GetString(), HH_DISPLAY_TOPIC, 0); }

CWinApp* AfxGetApp() { return g_app; }
const CString& AfxGetAppName() { return g_appName; }
void AfxEnableControlContainer() {}

void AfxExitProcess(int code) {
    if (g_exitHandler) g_exitHandler(code);
    std::exit(code);
}

ExitHandler AfxSetExitHandler(ExitHandler handler) {
    ExitHandler old = g_exitHandler;
    g_exitHandler = handler;
    return old;
}
