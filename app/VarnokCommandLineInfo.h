// The run options: six switches, an age and a start path, from the command line.
#pragma once
#include "framework/CCommandLineInfo.h"
#include "framework/CString.h"

class CVarnokCommandLineInfo : public CCommandLineInfo {
public:
    CVarnokCommandLineInfo() = default;
    ~CVarnokCommandLineInfo() override = default;

    // Only the first character after the marker selects an option; "-x" negates x.
    void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast) override;

    BOOL m_bReadOnly = FALSE;
    BOOL m_bPathGiven = FALSE;
    BOOL m_bSubDirs = FALSE;
    BOOL m_bLastAccess = FALSE;
    BOOL m_bDeleteDirs = FALSE;
    BOOL m_bConfirm = TRUE;
    BOOL m_bQuiet = FALSE;
    BOOL m_bDaysGiven = FALSE;
    CString m_strPath;
    CString m_strDays;
};

// The thirteen lines of the usage box, each ending in a line feed, with the given option
// marker.
CString UsageText(char marker);
// Shows the usage box and ends the process with exit code 1, whichever button.
[[noreturn]] void ShowUsageAndExit();
