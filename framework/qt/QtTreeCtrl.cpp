#include "framework/qt/QtTreeCtrl.h"

#include <QTreeWidget>

namespace {
constexpr int kBytesRole = Qt::UserRole;

CString BytesOf(const QTreeWidgetItem* item) {
    const QByteArray b = item->data(0, kBytesRole).toByteArray();
    return CString(std::string(b.constData(), static_cast<size_t>(b.size())));
}
}  // namespace

int QtTreeCtrl::IndexOf(QTreeWidgetItem* parent, QTreeWidgetItem* item) const {
    if (parent == m_lastParent && m_lastIndex >= 0) {
        auto at = [&](int i) { return parent ? parent->child(i) : m_tree->topLevelItem(i); };
        if (at(m_lastIndex) == item) return m_lastIndex;
        if (at(m_lastIndex + 1) == item) return m_lastIndex + 1;
    }
    int i = parent ? parent->indexOfChild(item) : m_tree->indexOfTopLevelItem(item);
    m_lastParent = parent;
    m_lastIndex = i;
    return i;
}

HTREEITEM QtTreeCtrl::InsertRootItem(const CString& text) { return InsertItem(text, TVI_ROOT, TVI_LAST); }

HTREEITEM QtTreeCtrl::InsertItem(const CString& text, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    auto* item = new QTreeWidgetItem;
    item->setData(0, kBytesRole, QByteArray(text.GetString(), text.GetLength()));
    item->setText(0, QString::fromUtf8(text.GetString(), text.GetLength()));
    QTreeWidgetItem* parent = (hParent == TVI_ROOT || !hParent) ? nullptr : Item(hParent);
    const int count = parent ? parent->childCount() : m_tree->topLevelItemCount();
    int pos = count;
    if (hInsertAfter == TVI_SORT) {
        int lo = 0, hi = count;  // after any equal ones, as a stable sort would place it
        while (lo < hi) {
            int mid = (lo + hi) / 2;
            QTreeWidgetItem* m = parent ? parent->child(mid) : m_tree->topLevelItem(mid);
            if (CompareTreeItemText(BytesOf(m), text) <= 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        pos = lo;
    }
    if (parent)
        parent->insertChild(pos, item);
    else
        m_tree->insertTopLevelItem(pos, item);
    m_lastIndex = -1;
    return Handle(item);
}

// The new items go in runs between the siblings already there, each run in one call: the
// view hears of a whole level at once instead of item by item.
void QtTreeCtrl::InsertSortedItems(HTREEITEM hParent, std::vector<CString> texts, std::vector<HTREEITEM>* pInserted) {
    SortTreeItemTexts(texts);
    QTreeWidgetItem* parent = (hParent == TVI_ROOT || !hParent) ? nullptr : Item(hParent);
    auto at = [&](int i) { return parent ? parent->child(i) : m_tree->topLevelItem(i); };
    const int old = parent ? parent->childCount() : m_tree->topLevelItemCount();
    if (pInserted) pInserted->clear();
    int next = 0;  // the first old sibling not yet passed
    int added = 0;
    size_t i = 0;
    while (i < texts.size()) {
        // Equal texts go after the old ones, as TVI_SORT places them.
        while (next < old && CompareTreeItemText(BytesOf(at(next + added)), texts[i]) <= 0) ++next;
        const CString bound = next < old ? BytesOf(at(next + added)) : CString();
        QList<QTreeWidgetItem*> run;
        for (; i < texts.size() && (next == old || CompareTreeItemText(texts[i], bound) < 0); ++i) {
            auto* item = new QTreeWidgetItem;
            item->setData(0, kBytesRole, QByteArray(texts[i].GetString(), texts[i].GetLength()));
            item->setText(0, QString::fromUtf8(texts[i].GetString(), texts[i].GetLength()));
            run.append(item);
            if (pInserted) pInserted->push_back(Handle(item));
        }
        if (parent)
            parent->insertChildren(next + added, run);
        else
            m_tree->insertTopLevelItems(next + added, run);
        added += static_cast<int>(run.size());
    }
    m_lastIndex = -1;
}

CString QtTreeCtrl::GetItemText(HTREEITEM hItem) const { return hItem ? BytesOf(Item(hItem)) : CString(); }

BOOL QtTreeCtrl::ItemHasChildren(HTREEITEM hItem) const { return hItem && Item(hItem)->childCount() > 0; }

HTREEITEM QtTreeCtrl::GetChildItem(HTREEITEM hItem) const {
    if (!hItem) return GetRootItem();
    QTreeWidgetItem* item = Item(hItem);
    if (item->childCount() == 0) return nullptr;
    m_lastParent = item;
    m_lastIndex = 0;
    return Handle(item->child(0));
}

HTREEITEM QtTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const {
    if (!hItem) return nullptr;
    QTreeWidgetItem* item = Item(hItem);
    QTreeWidgetItem* parent = item->parent();
    int i = IndexOf(parent, item);
    const int count = parent ? parent->childCount() : m_tree->topLevelItemCount();
    if (i < 0 || i + 1 >= count) return nullptr;
    m_lastParent = parent;
    m_lastIndex = i + 1;
    return Handle(parent ? parent->child(i + 1) : m_tree->topLevelItem(i + 1));
}

HTREEITEM QtTreeCtrl::GetParentItem(HTREEITEM hItem) const { return hItem ? Handle(Item(hItem)->parent()) : nullptr; }

HTREEITEM QtTreeCtrl::GetRootItem() const { return Handle(m_tree->topLevelItem(0)); }

HTREEITEM QtTreeCtrl::GetSelectedItem() const {
    // The selection, not Qt's current item, which the view sets by itself on focus.
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    return selected.isEmpty() ? nullptr : Handle(selected.first());
}

BOOL QtTreeCtrl::SelectItem(HTREEITEM hItem) {
    if (!hItem) {
        m_tree->clearSelection();
        return TRUE;
    }
    QTreeWidgetItem* item = Item(hItem);
    for (QTreeWidgetItem* p = item->parent(); p; p = p->parent()) p->setExpanded(true);
    m_tree->setCurrentItem(item);
    item->setSelected(true);
    m_tree->scrollToItem(item);
    return TRUE;
}

BOOL QtTreeCtrl::Expand(HTREEITEM hItem) {
    if (!hItem) return FALSE;
    Item(hItem)->setExpanded(true);
    return TRUE;
}

BOOL QtTreeCtrl::IsExpanded(HTREEITEM hItem) const { return hItem && Item(hItem)->isExpanded(); }

BOOL QtTreeCtrl::DeleteItem(HTREEITEM hItem) {
    if (!hItem) return FALSE;
    m_lastIndex = -1;
    delete Item(hItem);  // takes its whole subtree with it
    return TRUE;
}
