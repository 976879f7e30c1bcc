#include "framework/CDialog.h"

#include "framework/AfxMessageBox.h"
#include "framework/CWinApp.h"

namespace {
struct DataExchangeFailure {};
DialogWindowFactory g_windowFactory = nullptr;
}  // namespace

DialogWindowFactory AfxSetDialogWindowFactory(DialogWindowFactory factory) {
    DialogWindowFactory old = g_windowFactory;
    g_windowFactory = factory;
    return old;
}

void CDataExchange::Fail() {
    if (m_pDlgWnd && m_pDlgWnd->GetWindow() && m_idLastControl != 0 && m_bEditLastControl)
        m_pDlgWnd->GetWindow()->FocusAndSelectAll(m_idLastControl);
    throw DataExchangeFailure{};
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = pDX->m_pDlgWnd->GetDlgItemText(nIDC);
    else
        pDX->m_pDlgWnd->SetDlgItemText(nIDC, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value) {
    pDX->PrepareCtrl(nIDC);
    DialogWindow* w = pDX->m_pDlgWnd->GetWindow();
    if (pDX->m_bSaveAndValidate) {
        value = w->GetCheck(nIDC);
    } else {
        if (value < 0 || value > 2) value = 0;
        w->SetCheck(nIDC, value);
    }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
        AfxMessageBox(CString("Please enter no more than ") + std::to_string(nChars).c_str() + " characters.",
                      MB_ICONEXCLAMATION);
        pDX->Fail();
    } else if (!pDX->m_bSaveAndValidate && pDX->m_idLastControl != 0 && pDX->m_bEditLastControl) {
        pDX->m_pDlgWnd->GetWindow()->LimitText(pDX->m_idLastControl, nChars);
    }
}

CDialog::CDialog(int nIDTemplate, CDialog* pParent) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParent) {}
CDialog::~CDialog() = default;

BOOL CDialog::Create() {
    const DialogTemplate* tmpl = AfxFindDialogTemplate(m_nIDTemplate);
    if (!tmpl) return FALSE;
    m_pWindow = g_windowFactory ? g_windowFactory(*this, *tmpl) : AfxCreateDialogWindow(*this, *tmpl);
    if (!m_pWindow) return FALSE;
    OnInitDialog();
    return TRUE;
}

int CDialog::DoModal() {
    if (!m_pWindow && !Create()) return -1;
    int result = m_pWindow->RunModal();
    m_pWindow.reset();
    return result;
}

void CDialog::EndDialog(int nResult) {
    if (m_pWindow) m_pWindow->EndDialog(nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const DataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG*) { return FALSE; }

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) DefWindowProc(message, wParam, lParam);
    return result;
}

bool CDialog::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

void CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) OnOK();
        if (LOWORD(wParam) == IDCANCEL) OnCancel();
    } else if (message == WM_HELP || (message == WM_COMMAND && LOWORD(wParam) == ID_HELP)) {
        // No help handler of its own: the application's Help command.
        if (CWinApp* app = AfxGetApp()) app->OnHelp();
    }
}

CString CDialog::GetDlgItemText(int nID) const { return m_pWindow ? m_pWindow->GetItemText(nID) : CString(); }

void CDialog::SetDlgItemText(int nID, const CString& text) {
    if (m_pWindow) m_pWindow->SetItemText(nID, text);
}
