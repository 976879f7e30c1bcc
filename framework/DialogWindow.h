// The window a CDialog drives: made by the toolkit backend from a template.
#pragma once
#include <memory>

#include "framework/CString.h"
#include "framework/DialogTemplate.h"
#include "framework/afxdefs.h"

class CTreeCtrl;
class CDialog;

class DialogWindow {
public:
    virtual ~DialogWindow() = default;

    virtual CString GetItemText(int id) const = 0;
    virtual void SetItemText(int id, const CString& text) = 0;
    virtual int GetCheck(int id) const = 0;
    virtual void SetCheck(int id, int state) = 0;
    virtual void LimitText(int id, int nChars) = 0;  // typing only, as EM_LIMITTEXT
    virtual void FocusAndSelectAll(int id) = 0;
    virtual int GetFocusId() const = 0;
    virtual HWND GetItemHandle(int id) const = 0;
    virtual void SetButtonBitmap(int id, int bitmapId) = 0;
    virtual void SetSmallIcon(int iconId) = 0;
    virtual bool HasSystemMenu() const = 0;
    // The context menu that stands in for the system menu; nCmd 0 appends a separator.
    virtual void AppendSystemMenuItem(UINT nCmd, const CString& text) = 0;
    virtual CTreeCtrl* GetTree(int id) = 0;
    virtual bool IsShown() const = 0;
    virtual int RunModal() = 0;  // shows the window and returns the EndDialog result
    virtual void EndDialog(int result) = 0;
};

// Provided by the toolkit backend.
std::unique_ptr<DialogWindow> AfxCreateDialogWindow(CDialog& owner, const DialogTemplate& tmpl);
// Replaces the backend's windows, for example with the in-memory model; nullptr puts the
// backend back. Returns the previous factory.
using DialogWindowFactory = std::unique_ptr<DialogWindow> (*)(CDialog& owner, const DialogTemplate& tmpl);
DialogWindowFactory AfxSetDialogWindowFactory(DialogWindowFactory factory);
// Returns the template registered for a resource id (the UI registers its templates).
const DialogTemplate* AfxFindDialogTemplate(int id);
void AfxRegisterDialogTemplate(const DialogTemplate* tmpl);
// A string from the string table; empty when missing.
CString AfxLoadString(int id);
void AfxRegisterString(int id, const char* text);
