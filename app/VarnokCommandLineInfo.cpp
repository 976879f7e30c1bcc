#include "app/VarnokCommandLineInfo.h"

#include <cstring>

#include "framework/AfxMessageBox.h"
#include "framework/CWinApp.h"
#include "ui/resource.h"

// Lines 5 to 13 show the option marker of the platform: "/" on Windows, where the box
// comes from, and "-" where "/" begins a path.
CString UsageText(char marker) {
    std::string options = "varnok [/q] [/c] [/l] [/s] [/d] [/r] [n:/<days> [/?] [<path>]\n"
                          "/q quiet mode\n"
                          "/c confirm\n"
                          "/l check last access\n"
                          "/s check sub directories\n"
                          "/d delete directories\n"
                          "/r delete read-only files\n"
                          "/n:<days> number of days to delete\n"
                          "/? this help\n";
    for (char& c : options)
        if (c == '/') c = marker;
    return CString(VARNOK_VERSION_TEXT "\n" VARNOK_COMPANY ", " VARNOK_WEB_ADDRESS "\n\nUsage\n") + options.c_str();
}

void ShowUsageAndExit() {
    const CWinApp* app = AfxGetApp();
    const CString& markers = app ? app->m_strOptionMarkers : CString("-");
    AfxMessageBox(UsageText(markers.IsEmpty() ? '-' : markers[0]), MB_OKCANCEL);
    AfxExitProcess(1);
}

void CVarnokCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL) {
    if (!bFlag) {
        if (!m_bPathGiven) {
            m_strPath = pszParam;
            m_bPathGiven = TRUE;
        }
        return;
    }
    switch (pszParam[0]) {
    case 'n':
        m_bDaysGiven = TRUE;
        // The character after "n" (":" in the usage text) is skipped whatever it is;
        // "n" alone gives an empty age.
        m_strDays = pszParam[1] == '\0' ? "" : pszParam + 2;
        break;
    case 'q': m_bQuiet = TRUE; break;
    case 'c': m_bConfirm = TRUE; break;
    case 'l': m_bLastAccess = TRUE; break;
    case 's': m_bSubDirs = TRUE; break;
    case 'd': m_bDeleteDirs = TRUE; break;
    case 'r': m_bReadOnly = TRUE; break;
    case '?':
    case 'h':  // -h and --help, as usual here
        ShowUsageAndExit();
    case '-':
        switch (pszParam[1]) {
        case 'q': m_bQuiet = FALSE; break;
        case 'c': m_bConfirm = FALSE; break;
        case 'l': m_bLastAccess = FALSE; break;
        case 's': m_bSubDirs = FALSE; break;
        case 'd': m_bDeleteDirs = FALSE; break;
        case 'r': m_bReadOnly = FALSE; break;
        default:
            if (std::strcmp(pszParam, "-help") == 0) ShowUsageAndExit();
            break;
        }
        break;
    default: break;
    }
}
