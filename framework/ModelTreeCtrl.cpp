#include "framework/ModelTreeCtrl.h"

#include <algorithm>
#include <iterator>

struct ModelTreeCtrl::Item {
    CString text;
    Item* parent = nullptr;
    bool expanded = false;
    std::vector<std::unique_ptr<Item>> children;
};

namespace {
ModelTreeCtrl::Item* ItemOf(HTREEITEM h) { return reinterpret_cast<ModelTreeCtrl::Item*>(h); }
HTREEITEM HandleOf(const ModelTreeCtrl::Item* i) {
    return reinterpret_cast<HTREEITEM>(const_cast<ModelTreeCtrl::Item*>(i));
}
bool IsSpecial(HTREEITEM h) { return h == TVI_ROOT || h == TVI_LAST || h == TVI_SORT; }
}  // namespace

ModelTreeCtrl::ModelTreeCtrl() = default;
ModelTreeCtrl::~ModelTreeCtrl() = default;

std::vector<std::unique_ptr<ModelTreeCtrl::Item>>& ModelTreeCtrl::ChildrenOf(Item* parent) {
    return parent ? parent->children : m_roots;
}

const std::vector<std::unique_ptr<ModelTreeCtrl::Item>>& ModelTreeCtrl::ChildrenOf(const Item* parent) const {
    return parent ? parent->children : m_roots;
}

size_t ModelTreeCtrl::IndexOf(const Item* item) const {
    const auto& siblings = ChildrenOf(item->parent);
    if (m_lastItem == item && m_lastIndex < siblings.size() && siblings[m_lastIndex].get() == item) return m_lastIndex;
    auto it = std::find_if(siblings.begin(), siblings.end(), [item](const auto& p) { return p.get() == item; });
    return static_cast<size_t>(it - siblings.begin());
}

HTREEITEM ModelTreeCtrl::InsertRootItem(const CString& text) { return InsertItem(text, TVI_ROOT, TVI_LAST); }

HTREEITEM ModelTreeCtrl::InsertItem(const CString& text, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    Item* parent = (!hParent || hParent == TVI_ROOT) ? nullptr : ItemOf(hParent);
    auto& siblings = ChildrenOf(parent);
    auto item = std::make_unique<Item>();
    item->text = text;
    item->parent = parent;
    auto pos = siblings.end();
    if (hInsertAfter == TVI_SORT) {  // after any equal ones, as a stable sort would place it
        pos = std::upper_bound(siblings.begin(), siblings.end(), text,
                               [](const CString& t, const auto& p) { return CompareTreeItemText(t, p->text) < 0; });
    } else if (hInsertAfter && !IsSpecial(hInsertAfter)) {
        auto after = std::find_if(siblings.begin(), siblings.end(),
                                  [hInsertAfter](const auto& p) { return HandleOf(p.get()) == hInsertAfter; });
        if (after != siblings.end()) pos = after + 1;
    }
    Item* raw = item.get();
    siblings.insert(pos, std::move(item));
    m_lastItem = nullptr;
    return HandleOf(raw);
}

void ModelTreeCtrl::InsertSortedItems(HTREEITEM hParent, std::vector<CString> texts,
                                      std::vector<HTREEITEM>* pInserted) {
    Item* parent = (!hParent || hParent == TVI_ROOT) ? nullptr : ItemOf(hParent);
    auto& siblings = ChildrenOf(parent);
    SortTreeItemTexts(texts);
    std::vector<std::unique_ptr<Item>> added;
    added.reserve(texts.size());
    if (pInserted) pInserted->clear();
    for (CString& text : texts) {
        auto item = std::make_unique<Item>();
        item->text = std::move(text);
        item->parent = parent;
        if (pInserted) pInserted->push_back(HandleOf(item.get()));
        added.push_back(std::move(item));
    }
    // One merge: among equal texts the items already there stay first, as with TVI_SORT.
    std::vector<std::unique_ptr<Item>> merged;
    merged.reserve(siblings.size() + added.size());
    std::merge(std::make_move_iterator(siblings.begin()), std::make_move_iterator(siblings.end()),
               std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()), std::back_inserter(merged),
               [](const auto& a, const auto& b) { return CompareTreeItemText(a->text, b->text) < 0; });
    siblings = std::move(merged);
    m_lastItem = nullptr;
}

CString ModelTreeCtrl::GetItemText(HTREEITEM hItem) const { return hItem ? ItemOf(hItem)->text : CString(); }

BOOL ModelTreeCtrl::ItemHasChildren(HTREEITEM hItem) const { return hItem && !ItemOf(hItem)->children.empty(); }

HTREEITEM ModelTreeCtrl::GetChildItem(HTREEITEM hItem) const {
    const auto& children = ChildrenOf(hItem ? ItemOf(hItem) : nullptr);
    if (children.empty()) return nullptr;
    m_lastItem = children.front().get();
    m_lastIndex = 0;
    return HandleOf(children.front().get());
}

HTREEITEM ModelTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const {
    if (!hItem) return nullptr;
    const Item* item = ItemOf(hItem);
    const auto& siblings = ChildrenOf(item->parent);
    const size_t i = IndexOf(item);
    if (i + 1 >= siblings.size()) return nullptr;
    m_lastItem = siblings[i + 1].get();
    m_lastIndex = i + 1;
    return HandleOf(siblings[i + 1].get());
}

HTREEITEM ModelTreeCtrl::GetParentItem(HTREEITEM hItem) const {
    return hItem ? HandleOf(ItemOf(hItem)->parent) : nullptr;
}

HTREEITEM ModelTreeCtrl::GetRootItem() const { return m_roots.empty() ? nullptr : HandleOf(m_roots.front().get()); }

HTREEITEM ModelTreeCtrl::GetSelectedItem() const { return HandleOf(m_selected); }

BOOL ModelTreeCtrl::SelectItem(HTREEITEM hItem) {
    m_selected = hItem ? ItemOf(hItem) : nullptr;
    if (m_selected)
        for (Item* p = m_selected->parent; p; p = p->parent) p->expanded = true;
    return TRUE;
}

BOOL ModelTreeCtrl::Expand(HTREEITEM hItem) {
    if (!hItem) return FALSE;
    ItemOf(hItem)->expanded = true;
    return TRUE;
}

BOOL ModelTreeCtrl::IsExpanded(HTREEITEM hItem) const { return hItem && ItemOf(hItem)->expanded; }

BOOL ModelTreeCtrl::DeleteItem(HTREEITEM hItem) {
    if (!hItem || IsSpecial(hItem)) return FALSE;
    Item* item = ItemOf(hItem);
    // The selection goes when the selected item or one of its ancestors does.
    for (Item* s = m_selected; s; s = s->parent)
        if (s == item) {
            m_selected = nullptr;
            break;
        }
    auto& siblings = ChildrenOf(item->parent);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(IndexOf(item)));
    m_lastItem = nullptr;
    return TRUE;
}
