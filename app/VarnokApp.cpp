#include "app/VarnokApp.h"

#include "app/Presets.h"
#include "app/VarnokCommandLineInfo.h"
#include "ui/VarnokDlg.h"

void PresetMainDialog(CVarnokDlg& dlg, const CVarnokCommandLineInfo& info) {
    dlg.m_strDays = info.m_bDaysGiven ? info.m_strDays : CString("120");
    if (info.m_bPathGiven) dlg.m_strPath = info.m_strPath;
    dlg.m_bSubDirs = info.m_bSubDirs;
    dlg.m_bPrompt = info.m_bConfirm;
    dlg.m_bLastAccess = info.m_bLastAccess;
    dlg.m_bDeleteDirs = info.m_bDeleteDirs;
    dlg.m_bReadOnly = info.m_bReadOnly;
    dlg.m_bPathGiven = info.m_bPathGiven != 0;
    dlg.m_bQuiet = info.m_bQuiet != 0;
    dlg.m_strFileType = "*.tmp";  // no option sets it; a start path may replace it
}

BOOL CVarnokApp::InitInstance() {
    CVarnokCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);

    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CVarnokDlg dlg(nullptr, m_pFileSystem);
    m_pMainWnd = &dlg;
    PresetMainDialog(dlg, cmdInfo);
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
