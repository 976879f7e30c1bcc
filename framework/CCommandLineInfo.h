#pragma once
#include "framework/CString.h"
#include "framework/afxdefs.h"

// The framework's run-options record; ParseCommandLine hands it each argument in turn.
class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };

    virtual ~CCommandLineInfo() = default;
    // pszParam: the argument without its option marker; bFlag: it carried one; bLast: final argument.
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    int m_nShellCommand = FileNew;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;
};
