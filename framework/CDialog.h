// A modal dialog built from a template, with data exchange and a message map.
#pragma once
#include <memory>

#include "framework/CString.h"
#include "framework/DialogWindow.h"
#include "framework/afxdefs.h"

class CDialog;

// Data exchange between the dialog's members and its controls.
class CDataExchange {
public:
    CDataExchange(CDialog* pDlg, BOOL bSaveAndValidate) : m_pDlgWnd(pDlg), m_bSaveAndValidate(bSaveAndValidate) {}
    [[noreturn]] void Fail();  // focuses the last control and stops the exchange
    void PrepareEditCtrl(int id) {
        m_idLastControl = id;
        m_bEditLastControl = TRUE;
    }
    void PrepareCtrl(int id) {
        m_idLastControl = id;
        m_bEditLastControl = FALSE;
    }

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;
};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

// One entry of a message map: which message (and, for commands and notifications, which
// code from which control) goes to which handler.
template <class T>
struct MessageMapEntry {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    LRESULT (*pfn)(T& self, WPARAM wParam, LPARAM lParam);
};

template <class T, size_t N>
bool DispatchMessageMap(T& self, const MessageMapEntry<T> (&map)[N], UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* pResult) {
    for (const MessageMapEntry<T>& e : map) {
        bool hit = e.nMessage == message;
        if (hit && message == WM_COMMAND) hit = e.nID == LOWORD(wParam) && e.nCode == HIWORD(wParam);
        if (hit && message == WM_NOTIFY) {
            const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
            hit = e.nID == hdr->idFrom && e.nCode == hdr->code;
        }
        if (hit) {
            *pResult = e.pfn(self, wParam, lParam);
            return true;
        }
    }
    return false;
}

class CDialog {
public:
    explicit CDialog(int nIDTemplate, CDialog* pParent = nullptr);
    virtual ~CDialog();

    // Creates the window, initialises it and runs it until EndDialog.
    virtual int DoModal();
    // Creates the window and runs OnInitDialog without showing it (DoModal's first half).
    BOOL Create();
    void EndDialog(int nResult);

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange*) {}
    virtual BOOL OnInitDialog();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual void OnOK();
    virtual void OnCancel();

    // Every message from the window arrives here.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    CString GetDlgItemText(int nID) const;
    void SetDlgItemText(int nID, const CString& text);
    DialogWindow* GetWindow() const { return m_pWindow.get(); }
    int GetTemplateId() const { return m_nIDTemplate; }

protected:
    // Handles a message from the derived class's map; false when it has no entry.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    void DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    int m_nIDTemplate;
    CDialog* m_pParentWnd;
    std::unique_ptr<DialogWindow> m_pWindow;
};
