// The tree-view operations the program relies on, over whatever tree the toolkit has.
#pragma once
#include <vector>

#include "framework/CString.h"
#include "framework/afxdefs.h"

class CTreeCtrl {
public:
    virtual ~CTreeCtrl() = default;

    // TVM_INSERTITEM without parent: a top-level item after those already there.
    virtual HTREEITEM InsertRootItem(const CString& text) = 0;
    // InsertItem with TVI_SORT (its alphabetical place) or TVI_LAST.
    virtual HTREEITEM InsertItem(const CString& text, HTREEITEM hParent, HTREEITEM hInsertAfter = TVI_SORT) = 0;
    // A whole level at once: the same tree as InsertItem(text, hParent, TVI_SORT) for each
    // text in the given order. Trees override it to insert in one batch, since a folder
    // may hold 100,000 sub-folders. The new items' handles go to *pInserted, in tree order.
    virtual void InsertSortedItems(HTREEITEM hParent, std::vector<CString> texts,
                                   std::vector<HTREEITEM>* pInserted = nullptr);
    virtual CString GetItemText(HTREEITEM hItem) const = 0;
    virtual BOOL ItemHasChildren(HTREEITEM hItem) const = 0;
    virtual HTREEITEM GetChildItem(HTREEITEM hItem) const = 0;
    virtual HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const = 0;
    virtual HTREEITEM GetParentItem(HTREEITEM hItem) const = 0;
    virtual HTREEITEM GetRootItem() const = 0;
    // The program's selection (TVGN_CARET): none until an item is selected.
    virtual HTREEITEM GetSelectedItem() const = 0;
    // Selects the item and opens its closed ancestors.
    virtual BOOL SelectItem(HTREEITEM hItem) = 0;
    virtual BOOL Expand(HTREEITEM hItem) = 0;
    virtual BOOL IsExpanded(HTREEITEM hItem) const = 0;
    // Removes the item with its whole subtree.
    virtual BOOL DeleteItem(HTREEITEM hItem) = 0;
};

// Ordering of TVI_SORT: case-insensitive (ASCII), ties broken by the bytes, the same in
// every locale. Returns <0, 0 or >0.
int CompareTreeItemText(const CString& a, const CString& b);
// Sorts texts into TVI_SORT order; equal texts keep their order.
void SortTreeItemTexts(std::vector<CString>& texts);
