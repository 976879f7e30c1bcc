#pragma once
#include "framework/CTreeCtrl.h"

class QTreeWidget;
class QTreeWidgetItem;

// CTreeCtrl over a QTreeWidget. Items keep their texts as bytes; the display shows them
// decoded, invalid sequences as replacement characters.
class QtTreeCtrl : public CTreeCtrl {
public:
    explicit QtTreeCtrl(QTreeWidget* tree) : m_tree(tree) {}

    HTREEITEM InsertRootItem(const CString& text) override;
    HTREEITEM InsertItem(const CString& text, HTREEITEM hParent, HTREEITEM hInsertAfter) override;
    void InsertSortedItems(HTREEITEM hParent, std::vector<CString> texts,
                           std::vector<HTREEITEM>* pInserted = nullptr) override;
    CString GetItemText(HTREEITEM hItem) const override;
    BOOL ItemHasChildren(HTREEITEM hItem) const override;
    HTREEITEM GetChildItem(HTREEITEM hItem) const override;
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const override;
    HTREEITEM GetParentItem(HTREEITEM hItem) const override;
    HTREEITEM GetRootItem() const override;
    HTREEITEM GetSelectedItem() const override;
    BOOL SelectItem(HTREEITEM hItem) override;
    BOOL Expand(HTREEITEM hItem) override;
    BOOL IsExpanded(HTREEITEM hItem) const override;
    BOOL DeleteItem(HTREEITEM hItem) override;

    static QTreeWidgetItem* Item(HTREEITEM h) { return reinterpret_cast<QTreeWidgetItem*>(h); }
    static HTREEITEM Handle(QTreeWidgetItem* i) { return reinterpret_cast<HTREEITEM>(i); }

private:
    int IndexOf(QTreeWidgetItem* parent, QTreeWidgetItem* item) const;

    QTreeWidget* m_tree;
    // Walking siblings in order is the common case: remember where the last one stood.
    mutable QTreeWidgetItem* m_lastParent = nullptr;
    mutable int m_lastIndex = -1;
};
