// A dialog window that lives in memory until it is first needed, then becomes the
// toolkit's window: a run that never shows the window (a quiet run) never starts the
// toolkit. The toolkit's window takes over everything the dialog set: texts, check
// states, text limits, focus, the bitmap, the icon, the system menu and the tree with
// its expansion and selection; tree handles the dialog already holds stay valid.
#pragma once
#include <functional>
#include <map>
#include <memory>

#include "framework/DialogWindow.h"
#include "framework/ModelDialogWindow.h"

class LazyTreeCtrl;

class LazyDialogWindow : public DialogWindow {
public:
    // Builds the toolkit's window (starting the toolkit); nullptr when it cannot.
    using Realizer = std::function<std::unique_ptr<DialogWindow>()>;

    LazyDialogWindow(CDialog& owner, const DialogTemplate& tmpl, Realizer realize);
    ~LazyDialogWindow() override;

    CString GetItemText(int id) const override { return Target()->GetItemText(id); }
    void SetItemText(int id, const CString& text) override { Target()->SetItemText(id, text); }
    int GetCheck(int id) const override { return Target()->GetCheck(id); }
    void SetCheck(int id, int state) override { Target()->SetCheck(id, state); }
    void LimitText(int id, int nChars) override { Target()->LimitText(id, nChars); }
    void FocusAndSelectAll(int id) override { Target()->FocusAndSelectAll(id); }
    int GetFocusId() const override { return Target()->GetFocusId(); }
    HWND GetItemHandle(int id) const override { return Target()->GetItemHandle(id); }
    void SetButtonBitmap(int id, int bitmapId) override { Target()->SetButtonBitmap(id, bitmapId); }
    void SetSmallIcon(int iconId) override { Target()->SetSmallIcon(iconId); }
    bool HasSystemMenu() const override { return Target()->HasSystemMenu(); }
    void AppendSystemMenuItem(UINT nCmd, const CString& text) override { Target()->AppendSystemMenuItem(nCmd, text); }
    CTreeCtrl* GetTree(int id) override;
    bool IsShown() const override { return Target()->IsShown(); }
    // Shows the toolkit's window, unless the dialog ended while it initialised.
    int RunModal() override;
    void EndDialog(int result) override { Target()->EndDialog(result); }

    // The window that answers now: the one in memory until realised, then the toolkit's.
    DialogWindow* Target() const { return m_real ? m_real.get() : const_cast<ModelDialogWindow*>(&m_model); }
    // Builds the toolkit's window and hands it the state; nullptr when it cannot be built.
    DialogWindow* Realize();
    const ModelDialogWindow& Model() const { return m_model; }

private:
    ModelDialogWindow m_model;  // kept after the hand-over: the dialog may hold its tree handles
    Realizer m_realize;
    std::unique_ptr<DialogWindow> m_real;
    std::map<int, std::unique_ptr<LazyTreeCtrl>> m_trees;
};
