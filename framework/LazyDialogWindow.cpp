#include "framework/LazyDialogWindow.h"

#include <unordered_map>
#include <vector>

// The dialog's tree: the model's until the hand-over, then the toolkit's. Items that
// existed at the hand-over keep the handles the dialog knows them by (the model's).
class LazyTreeCtrl : public CTreeCtrl {
public:
    explicit LazyTreeCtrl(ModelTreeCtrl* model) : m_model(model) {}

    // Copies the model's items into the toolkit's tree, level by level, with their
    // expansion and the selection.
    void HandOver(CTreeCtrl* real) {
        m_real = real;
        CopyLevel(nullptr, TVI_ROOT);
        if (HTREEITEM selected = m_model->GetSelectedItem()) m_real->SelectItem(ToReal(selected));
    }

    HTREEITEM InsertRootItem(const CString& text) override {
        return m_real ? m_real->InsertRootItem(text) : m_model->InsertRootItem(text);
    }
    HTREEITEM InsertItem(const CString& text, HTREEITEM hParent, HTREEITEM hInsertAfter) override {
        return m_real ? m_real->InsertItem(text, ToReal(hParent), ToReal(hInsertAfter))
                      : m_model->InsertItem(text, hParent, hInsertAfter);
    }
    void InsertSortedItems(HTREEITEM hParent, std::vector<CString> texts, std::vector<HTREEITEM>* pInserted) override {
        if (m_real)
            m_real->InsertSortedItems(ToReal(hParent), std::move(texts), pInserted);
        else
            m_model->InsertSortedItems(hParent, std::move(texts), pInserted);
    }
    CString GetItemText(HTREEITEM hItem) const override { return Tree()->GetItemText(ToReal(hItem)); }
    BOOL ItemHasChildren(HTREEITEM hItem) const override { return Tree()->ItemHasChildren(ToReal(hItem)); }
    HTREEITEM GetChildItem(HTREEITEM hItem) const override { return FromReal(Tree()->GetChildItem(ToReal(hItem))); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const override {
        return FromReal(Tree()->GetNextSiblingItem(ToReal(hItem)));
    }
    HTREEITEM GetParentItem(HTREEITEM hItem) const override { return FromReal(Tree()->GetParentItem(ToReal(hItem))); }
    HTREEITEM GetRootItem() const override { return FromReal(Tree()->GetRootItem()); }
    HTREEITEM GetSelectedItem() const override { return FromReal(Tree()->GetSelectedItem()); }
    BOOL SelectItem(HTREEITEM hItem) override { return Tree()->SelectItem(ToReal(hItem)); }
    BOOL Expand(HTREEITEM hItem) override { return Tree()->Expand(ToReal(hItem)); }
    BOOL IsExpanded(HTREEITEM hItem) const override { return Tree()->IsExpanded(ToReal(hItem)); }
    BOOL DeleteItem(HTREEITEM hItem) override {
        // A handle of a deleted item must not stand for one that reuses its address.
        const HTREEITEM real = ToReal(hItem);
        if (m_real && !m_toModel.empty() && real) Forget(real);
        return Tree()->DeleteItem(real);
    }

private:
    CTreeCtrl* Tree() const { return m_real ? m_real : static_cast<CTreeCtrl*>(m_model); }
    HTREEITEM ToReal(HTREEITEM h) const {
        if (!m_real || !h) return h;
        auto it = m_toReal.find(h);
        return it == m_toReal.end() ? h : it->second;
    }
    HTREEITEM FromReal(HTREEITEM h) const {
        if (!m_real || !h) return h;
        auto it = m_toModel.find(h);
        return it == m_toModel.end() ? h : it->second;
    }
    void Forget(HTREEITEM real) {
        for (HTREEITEM child = m_real->GetChildItem(real); child; child = m_real->GetNextSiblingItem(child))
            Forget(child);
        auto it = m_toModel.find(real);
        if (it == m_toModel.end()) return;
        m_toReal.erase(it->second);
        m_toModel.erase(it);
    }
    void CopyLevel(HTREEITEM modelParent, HTREEITEM realParent) {
        std::vector<HTREEITEM> items;
        std::vector<CString> texts;
        bool sorted = true;
        for (HTREEITEM h = m_model->GetChildItem(modelParent); h; h = m_model->GetNextSiblingItem(h)) {
            texts.push_back(m_model->GetItemText(h));
            if (texts.size() > 1 && CompareTreeItemText(texts[texts.size() - 2], texts.back()) > 0) sorted = false;
            items.push_back(h);
        }
        if (items.empty()) return;
        std::vector<HTREEITEM> copies;
        if (sorted) {  // a level read from a folder: one batch, and the order stays
            m_real->InsertSortedItems(realParent, texts, &copies);
        } else {
            for (const CString& text : texts) copies.push_back(m_real->InsertItem(text, realParent, TVI_LAST));
        }
        for (size_t i = 0; i < items.size(); ++i) {
            m_toReal[items[i]] = copies[i];
            m_toModel[copies[i]] = items[i];
        }
        for (size_t i = 0; i < items.size(); ++i) {
            CopyLevel(items[i], copies[i]);
            if (m_model->IsExpanded(items[i])) m_real->Expand(copies[i]);
        }
    }

    ModelTreeCtrl* m_model;
    CTreeCtrl* m_real = nullptr;
    std::unordered_map<HTREEITEM, HTREEITEM> m_toReal;
    std::unordered_map<HTREEITEM, HTREEITEM> m_toModel;
};

LazyDialogWindow::LazyDialogWindow(CDialog& owner, const DialogTemplate& tmpl, Realizer realize)
    : m_model(owner, tmpl), m_realize(std::move(realize)) {}

LazyDialogWindow::~LazyDialogWindow() {
    m_trees.clear();
    m_real.reset();
}

CTreeCtrl* LazyDialogWindow::GetTree(int id) {
    auto it = m_trees.find(id);
    if (it != m_trees.end()) return it->second.get();
    auto* model = static_cast<ModelTreeCtrl*>(m_model.GetTree(id));
    if (!model) return nullptr;
    if (m_real && !m_real->GetTree(id)) return nullptr;
    auto tree = std::make_unique<LazyTreeCtrl>(model);
    if (m_real) tree->HandOver(m_real->GetTree(id));
    return (m_trees[id] = std::move(tree)).get();
}

DialogWindow* LazyDialogWindow::Realize() {
    if (m_real) return m_real.get();
    std::unique_ptr<DialogWindow> real = m_realize ? m_realize() : nullptr;
    if (!real) return nullptr;

    // In the order the dialog set them: a text before its limit, the button's text before
    // its bitmap.
    const DialogTemplate& tmpl = m_model.Template();
    for (const DialogControl& c : tmpl.controls) {
        if (c.id == -1) continue;
        if (c.kind == ControlKind::CheckBox) real->SetCheck(c.id, m_model.GetCheck(c.id));
        if (c.kind == ControlKind::Icon || c.kind == ControlKind::TreeView) continue;
        const CString text = m_model.GetItemText(c.id);
        if (!(text == c.text)) real->SetItemText(c.id, text);
    }
    for (const DialogControl& c : tmpl.controls) {
        if (c.id == -1) continue;
        if (int limit = m_model.GetTextLimit(c.id)) real->LimitText(c.id, limit);
        if (int bitmap = m_model.GetButtonBitmap(c.id)) real->SetButtonBitmap(c.id, bitmap);
    }
    for (const auto& [cmd, text] : m_model.SystemMenu()) real->AppendSystemMenuItem(cmd, text);
    if (m_model.GetSmallIcon()) real->SetSmallIcon(m_model.GetSmallIcon());
    m_real = std::move(real);
    for (auto& [id, tree] : m_trees)
        if (CTreeCtrl* realTree = m_real->GetTree(id)) tree->HandOver(realTree);

    // The focus moves only when the dialog moved it (a refused exchange); otherwise the
    // toolkit's window gives it to the first control, as the model did.
    int firstTabStop = 0;
    for (const DialogControl& c : tmpl.controls)
        if (c.id != -1 && (c.style & WS_TABSTOP)) {
            firstTabStop = c.id;
            break;
        }
    if (m_model.GetFocusId() != firstTabStop) m_real->FocusAndSelectAll(m_model.GetFocusId());
    return m_real.get();
}

int LazyDialogWindow::RunModal() {
    if (!m_real && m_model.IsEnded()) return m_model.GetResult();  // ended while it initialised: never shown
    DialogWindow* real = Realize();
    return real ? real->RunModal() : -1;
}
