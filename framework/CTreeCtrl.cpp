#include "framework/CTreeCtrl.h"

#include <algorithm>

int CompareTreeItemText(const CString& a, const CString& b) {
    const std::string& x = a.str();
    const std::string& y = b.str();
    const size_t n = x.size() < y.size() ? x.size() : y.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char cx = static_cast<unsigned char>(x[i]);
        unsigned char cy = static_cast<unsigned char>(y[i]);
        if (cx >= 'A' && cx <= 'Z') cx = static_cast<unsigned char>(cx - 'A' + 'a');
        if (cy >= 'A' && cy <= 'Z') cy = static_cast<unsigned char>(cy - 'A' + 'a');
        if (cx != cy) return cx < cy ? -1 : 1;
    }
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    return x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
}

void SortTreeItemTexts(std::vector<CString>& texts) {
    std::stable_sort(texts.begin(), texts.end(),
                     [](const CString& a, const CString& b) { return CompareTreeItemText(a, b) < 0; });
}

void CTreeCtrl::InsertSortedItems(HTREEITEM hParent, std::vector<CString> texts, std::vector<HTREEITEM>* pInserted) {
    // Sorted first, each lands after the one before: the handles come out in tree order.
    SortTreeItemTexts(texts);
    if (pInserted) pInserted->clear();
    for (const CString& text : texts) {
        HTREEITEM h = InsertItem(text, hParent, TVI_SORT);
        if (pInserted) pInserted->push_back(h);
    }
}
