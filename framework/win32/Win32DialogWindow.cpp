#include "framework/win32/Win32DialogWindow.h"

#include <map>

#include "framework/CBitmap.h"
#include "framework/CDialog.h"
#include "framework/CTreeCtrl.h"
#include "framework/win32/DialogTemplateEx.h"
#include "framework/win32/Win32Dialog.h"

namespace {

constexpr unsigned TVGN_ROOT = 0x0, TVGN_NEXT = 0x1, TVGN_PARENT = 0x3, TVGN_CHILD = 0x4, TVGN_CARET = 0x9;
#define TVI_FIRST (reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF)))

void* Raw(HTREEITEM h) { return reinterpret_cast<void*>(h); }
HTREEITEM Tv(void* h) { return static_cast<HTREEITEM>(h); }

class Win32TreeCtrl : public CTreeCtrl {
public:
    explicit Win32TreeCtrl(void* hwnd) : m_hwnd(hwnd) {}

    HTREEITEM InsertRootItem(const CString& text) override {
        return Tv(win32tree::InsertItem(m_hwnd, text.str(), nullptr, Raw(TVI_LAST)));
    }
    // TVI_SORT in the order every tree of the program keeps (CompareTreeItemText), so that
    // a tree built in memory and handed over keeps its order item for item.
    HTREEITEM InsertItem(const CString& text, HTREEITEM hParent, HTREEITEM hInsertAfter) override {
        if (hInsertAfter == TVI_SORT) {
            hInsertAfter = TVI_FIRST;
            for (HTREEITEM h = GetChildItem(hParent); h; h = GetNextSiblingItem(h)) {
                if (CompareTreeItemText(GetItemText(h), text) > 0) break;
                hInsertAfter = h;
            }
        }
        return Tv(win32tree::InsertItem(m_hwnd, text.str(), Raw(hParent), Raw(hInsertAfter)));
    }
    void InsertSortedItems(HTREEITEM hParent, std::vector<CString> texts, std::vector<HTREEITEM>* pInserted) override {
        if (GetChildItem(hParent)) {
            CTreeCtrl::InsertSortedItems(hParent, std::move(texts), pInserted);
            return;
        }
        // A level read into an empty item: sorted once, each appended.
        SortTreeItemTexts(texts);
        if (pInserted) pInserted->clear();
        for (const CString& text : texts) {
            HTREEITEM h = Tv(win32tree::InsertItem(m_hwnd, text.str(), Raw(hParent), Raw(TVI_LAST)));
            if (pInserted) pInserted->push_back(h);
        }
    }
    CString GetItemText(HTREEITEM hItem) const override {
        return CString(win32tree::GetItemText(m_hwnd, Raw(hItem)).c_str());
    }
    BOOL ItemHasChildren(HTREEITEM hItem) const override { return GetChildItem(hItem) != nullptr; }
    HTREEITEM GetChildItem(HTREEITEM hItem) const override {
        return hItem ? Next(hItem, TVGN_CHILD) : Next(nullptr, TVGN_ROOT);
    }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const override { return Next(hItem, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM hItem) const override { return Next(hItem, TVGN_PARENT); }
    HTREEITEM GetRootItem() const override { return Next(nullptr, TVGN_ROOT); }
    HTREEITEM GetSelectedItem() const override { return Next(nullptr, TVGN_CARET); }
    BOOL SelectItem(HTREEITEM hItem) override { return win32tree::SelectItem(m_hwnd, Raw(hItem)); }
    BOOL Expand(HTREEITEM hItem) override { return win32tree::Expand(m_hwnd, Raw(hItem)); }
    BOOL IsExpanded(HTREEITEM hItem) const override { return win32tree::IsExpanded(m_hwnd, Raw(hItem)); }
    BOOL DeleteItem(HTREEITEM hItem) override { return win32tree::DeleteItem(m_hwnd, Raw(hItem)); }

private:
    HTREEITEM Next(HTREEITEM h, unsigned code) const { return Tv(win32tree::GetNextItem(m_hwnd, Raw(h), code)); }

    void* m_hwnd;
};

class Win32DialogWindow : public DialogWindow, private Win32DialogHost {
public:
    Win32DialogWindow(CDialog& owner, const DialogTemplate& tmpl)
        : m_owner(owner), m_tmpl(tmpl), m_dialog(*this, BuildDialogTemplateEx(tmpl)) {}

    bool IsCreated() const { return m_dialog.Handle() != nullptr; }

    CString GetItemText(int id) const override { return CString(m_dialog.GetItemText(id).c_str()); }
    void SetItemText(int id, const CString& text) override { m_dialog.SetItemText(id, text.str()); }
    int GetCheck(int id) const override { return m_dialog.GetCheck(id); }
    void SetCheck(int id, int state) override { m_dialog.SetCheck(id, state); }
    void LimitText(int id, int nChars) override { m_dialog.LimitText(id, nChars); }
    void FocusAndSelectAll(int id) override { m_dialog.FocusAndSelectAll(id); }
    int GetFocusId() const override { return m_dialog.GetFocusId(); }
    HWND GetItemHandle(int id) const override { return static_cast<HWND>(m_dialog.ItemHandle(id)); }
    void SetButtonBitmap(int id, int bitmapId) override { m_dialog.SetButtonBitmap(id, bitmapId); }
    void SetSmallIcon(int iconId) override { m_dialog.SetSmallIcon(iconId); }
    bool HasSystemMenu() const override { return m_dialog.HasSystemMenu(); }
    void AppendSystemMenuItem(UINT nCmd, const CString& text) override {
        m_dialog.AppendSystemMenuItem(nCmd, text.str());
    }
    CTreeCtrl* GetTree(int id) override {
        auto it = m_trees.find(id);
        if (it != m_trees.end()) return it->second.get();
        for (const DialogControl& c : m_tmpl.controls)
            if (c.id == id && c.kind == ControlKind::TreeView && m_dialog.ItemHandle(id))
                return (m_trees[id] = std::make_unique<Win32TreeCtrl>(m_dialog.ItemHandle(id))).get();
        return nullptr;
    }
    bool IsShown() const override { return m_dialog.IsShown(); }
    int RunModal() override { return m_dialog.RunModal(); }
    void EndDialog(int result) override { m_dialog.EndDialog(result); }

private:
    std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        if (message == WM_NOTIFY) {
            const auto* n = reinterpret_cast<const Notify*>(lParam);
            NMHDR hdr{static_cast<HWND>(n->hwndFrom), n->idFrom, n->code};
            return m_owner.SendMessage(message, wParam, reinterpret_cast<LPARAM>(&hdr));
        }
        if (message == WM_HELP) {
            const auto* h = reinterpret_cast<const Help*>(lParam);
            HELPINFO info{sizeof(HELPINFO), h->contextType, h->ctrlId, static_cast<HWND>(h->itemHandle),
                          h->contextId,     {h->x, h->y}};
            return m_owner.SendMessage(message, wParam, reinterpret_cast<LPARAM>(&info));
        }
        if (message == WM_QUERYDRAGICON)  // the dialog's icon, named by its resource number
            return AfxIconId(reinterpret_cast<HICON>(m_owner.SendMessage(message, wParam, lParam)));
        return m_owner.SendMessage(message, wParam, lParam);
    }
    bool PreTranslate(void* hwnd, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        MSG msg{static_cast<HWND>(hwnd), message, wParam, lParam};
        return m_owner.PreTranslateMessage(&msg) != FALSE;
    }

    CDialog& m_owner;
    const DialogTemplate& m_tmpl;
    std::map<int, std::unique_ptr<Win32TreeCtrl>> m_trees;
    Win32Dialog m_dialog;  // last: its window goes first
};

}  // namespace

std::unique_ptr<DialogWindow> CreateWin32DialogWindow(CDialog& owner, const DialogTemplate& tmpl) {
    auto window = std::make_unique<Win32DialogWindow>(owner, tmpl);
    if (!window->IsCreated()) return nullptr;
    return window;
}
