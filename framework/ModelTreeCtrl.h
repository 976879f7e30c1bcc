// A tree control held in memory: items, texts, selection and expansion, no window.
// It stands in for the toolkit's tree wherever the dialog runs without being shown.
#pragma once
#include <memory>
#include <vector>

#include "framework/CTreeCtrl.h"

class ModelTreeCtrl : public CTreeCtrl {
public:
    ModelTreeCtrl();
    ~ModelTreeCtrl() override;

    HTREEITEM InsertRootItem(const CString& text) override;
    HTREEITEM InsertItem(const CString& text, HTREEITEM hParent, HTREEITEM hInsertAfter = TVI_SORT) override;
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

    struct Item;

private:
    std::vector<std::unique_ptr<Item>>& ChildrenOf(Item* parent);
    const std::vector<std::unique_ptr<Item>>& ChildrenOf(const Item* parent) const;
    size_t IndexOf(const Item* item) const;

    std::vector<std::unique_ptr<Item>> m_roots;
    Item* m_selected = nullptr;
    // Walking siblings in order is the common case: remember where the last one stood.
    mutable const Item* m_lastItem = nullptr;
    mutable size_t m_lastIndex = 0;
};
