// A dialog window held in memory: the template's controls with their texts, check
// states, limits and trees, and the focus, but no window on any screen. The dialog
// initialises and exchanges data with it exactly as with a shown window, so a run that
// never shows the window (a quiet run) needs no toolkit.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "framework/DialogWindow.h"
#include "framework/ModelTreeCtrl.h"

class ModelDialogWindow : public DialogWindow {
public:
    // Called by RunModal, which returns its result: what it takes to really show the
    // window (a toolkit's), or a refusal. Without one, RunModal ends at once with IDCANCEL.
    using ShowHandler = std::function<int(ModelDialogWindow&)>;

    ModelDialogWindow(CDialog& owner, const DialogTemplate& tmpl, ShowHandler onShow = nullptr);
    ~ModelDialogWindow() override;

    CString GetItemText(int id) const override;
    void SetItemText(int id, const CString& text) override;
    int GetCheck(int id) const override;
    void SetCheck(int id, int state) override;
    void LimitText(int id, int nChars) override;
    void FocusAndSelectAll(int id) override;
    int GetFocusId() const override { return m_focusId; }
    HWND GetItemHandle(int id) const override;
    void SetButtonBitmap(int id, int bitmapId) override;
    void SetSmallIcon(int iconId) override { m_smallIcon = iconId; }
    bool HasSystemMenu() const override { return (m_tmpl.style & WS_SYSMENU) != 0; }
    void AppendSystemMenuItem(UINT nCmd, const CString& text) override { m_menu.push_back({nCmd, text}); }
    CTreeCtrl* GetTree(int id) override;
    bool IsShown() const override { return m_shown; }
    int RunModal() override;
    void EndDialog(int result) override;

    // What the dialog set, for whoever shows the window later (and for tests).
    const DialogTemplate& Template() const { return m_tmpl; }
    CDialog& Owner() const { return m_owner; }
    int GetTextLimit(int id) const;  // 0: none set
    int GetButtonBitmap(int id) const;
    int GetSmallIcon() const { return m_smallIcon; }
    const std::vector<std::pair<UINT, CString>>& SystemMenu() const { return m_menu; }
    int GetResult() const { return m_result; }
    bool IsEnded() const { return m_ended; }

    // Typing into an edit control: refused past its limit, as EM_LIMITTEXT refuses it.
    void TypeText(int id, const CString& text);

private:
    struct Control {
        ControlKind kind;
        CString text;
        int check = 0;
        int limit = 0;
        int bitmap = 0;
        std::unique_ptr<ModelTreeCtrl> tree;
    };
    Control* Find(int id);
    const Control* Find(int id) const;

    CDialog& m_owner;
    const DialogTemplate& m_tmpl;
    ShowHandler m_onShow;
    std::map<int, Control> m_controls;
    std::vector<std::pair<UINT, CString>> m_menu;
    int m_focusId = 0;
    int m_smallIcon = 0;
    bool m_shown = false;
    bool m_ended = false;
    int m_result = IDCANCEL;
};
