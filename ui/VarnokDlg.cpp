#include "ui/VarnokDlg.h"

#include "framework/HtmlHelp.h"
#include "ui/AboutDlg.h"
#include "ui/HelpIds.h"
#include "ui/resource.h"

namespace {
std::unique_ptr<FileSystem> OwnIfMissing(FileSystem* fs) { return fs ? nullptr : CreatePlatformFileSystem(); }

const MessageMapEntry<CVarnokDlg> kMessageMap[] = {
    {WM_SYSCOMMAND, 0, 0,
     [](CVarnokDlg& d, WPARAM w, LPARAM l) -> LRESULT {
         d.OnSysCommand(static_cast<UINT>(w), l);
         return 0;
     }},
    {WM_PAINT, 0, 0,
     [](CVarnokDlg& d, WPARAM, LPARAM) -> LRESULT {
         d.OnPaint();
         return 0;
     }},
    {WM_QUERYDRAGICON, 0, 0,
     [](CVarnokDlg& d, WPARAM, LPARAM) -> LRESULT { return reinterpret_cast<LRESULT>(d.OnQueryDragIcon()); }},
    {WM_NOTIFY, NM_DBLCLK, IDC_FOLDERS,
     [](CVarnokDlg& d, WPARAM, LPARAM l) -> LRESULT {
         LRESULT result = 0;
         d.OnDblclkFolders(reinterpret_cast<NMHDR*>(l), &result);
         return result;
     }},
    {WM_COMMAND, BN_CLICKED, IDC_DELETE,
     [](CVarnokDlg& d, WPARAM, LPARAM) -> LRESULT {
         d.OnDelete();
         return 0;
     }},
    {WM_HELP, 0, 0,
     [](CVarnokDlg& d, WPARAM, LPARAM l) -> LRESULT { return d.OnHelpInfo(reinterpret_cast<HELPINFO*>(l)); }},
};
}  // namespace

CVarnokDlg::CVarnokDlg(CDialog* pParent, FileSystem* fs)
    : CDialog(IDD_MAIN, pParent), m_hIcon(AfxLoadIcon(IDR_MAINFRAME)), m_ownedFs(OwnIfMissing(fs)),
      m_fs(fs ? *fs : *m_ownedFs) {}

CVarnokDlg::~CVarnokDlg() { m_bmpDelete.DeleteObject(); }

bool CVarnokDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return DispatchMessageMap(*this, kMessageMap, message, wParam, lParam, pResult);
}

void CVarnokDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Check(pDX, IDC_SUBDIRS, m_bSubDirs);
    DDX_Check(pDX, IDC_PROMPT, m_bPrompt);
    DDX_Check(pDX, IDC_LASTACCESS, m_bLastAccess);
    DDX_Check(pDX, IDC_DELETEDIRS, m_bDeleteDirs);
    DDX_Text(pDX, IDC_DAYS, m_strDays);
    DDV_MaxChars(pDX, m_strDays, 4);
    DDX_Text(pDX, IDC_STATUS, m_strPath);
    DDX_Text(pDX, IDC_FILETYPE, m_strFileType);
    DDX_Check(pDX, IDC_READONLY, m_bReadOnly);
}

BOOL CVarnokDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    m_bmpDelete.LoadBitmap(IDB_DELETE);
    m_pWindow->SetButtonBitmap(IDC_DELETE, m_bmpDelete.GetResourceId());

    if (m_pWindow->HasSystemMenu()) {
        CString strAboutMenu = AfxLoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            m_pWindow->AppendSystemMenuItem(0, CString());
            m_pWindow->AppendSystemMenuItem(IDM_ABOUTBOX, strAboutMenu);
        }
    }

    m_pWindow->SetSmallIcon(IDI_SMALL);

    InitTree();

    return TRUE;  // the framework focuses the first control, the tree
}

void CVarnokDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    }
}

// A minimised window is drawn by the window manager here, from the window's icon.
void CVarnokDlg::OnPaint() {}

HICON CVarnokDlg::OnQueryDragIcon() { return m_hIcon; }

BOOL CVarnokDlg::OnHelpInfo(HELPINFO* pHelpInfo) {
    HtmlHelpA(pHelpInfo->hItemHandle, "varnok.chm::/varnokpopups.txt", HH_TP_HELP_WM_HELP,
              reinterpret_cast<std::uintptr_t>(kHelpIds));
    return TRUE;
}
