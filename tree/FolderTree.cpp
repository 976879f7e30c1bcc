// The folder tree: drives under two root groups, folders read one level at a time.
#include "framework/AfxMessageBox.h"
#include "framework/WaitCursor.h"
#include "ui/VarnokDlg.h"
#include "ui/resource.h"

void CVarnokDlg::InitTree() {
    m_pTree = m_pWindow->GetTree(IDC_FOLDERS);
    BeginWaitCursor();

    m_hLocalDrives = m_pTree->InsertRootItem("Local Drives");
    m_hNetworkDrives = m_pTree->InsertRootItem("Network Drives");

    for (const CString& drive : m_fs.GetLogicalDriveStrings())
        m_pTree->InsertItem(drive, m_fs.IsRemoteDrive(drive) ? m_hNetworkDrives : m_hLocalDrives, TVI_SORT);

    if (m_bPathGiven) SelectStartFolder();

    EndWaitCursor();
}

bool CVarnokDlg::IsDriveItem(HTREEITEM hItem) const { return IsRootGroup(m_pTree->GetParentItem(hItem)); }

// A drive is read from its text and one more separator (runs of separators read as one),
// a folder from its item path.
CString CVarnokDlg::FillPattern(HTREEITEM hItem) {
    if (IsDriveItem(hItem)) return m_pTree->GetItemText(hItem) + m_fs.Separator() + "*.*";
    return GetItemPath(hItem) + "*.*";
}

void CVarnokDlg::OnDblclkFolders(NMHDR*, LRESULT* pResult) {
    HTREEITEM hItem = m_pTree->GetSelectedItem();
    BeginWaitCursor();
    if (hItem && !IsRootGroup(hItem) && !m_pTree->ItemHasChildren(hItem)) AddSubfolders(hItem, FillPattern(hItem));
    EndWaitCursor();
    *pResult = 0;  // the control then opens or closes the item itself
}

BOOL CVarnokDlg::AddSubfolders(HTREEITEM hParent, CString strPattern) {
    std::unique_ptr<Folder> folder = m_fs.OpenFolder(strPattern);
    if (!folder) return TRUE;
    FindData entry;
    std::vector<CString> names;
    while (folder->Next(entry))
        if (entry.bDirectory && !(entry.strName == ".") && !(entry.strName == "..")) names.push_back(entry.strName);
    // One batch for the level: each folder still lands at its TVI_SORT place.
    m_pTree->InsertSortedItems(hParent, std::move(names));
    return TRUE;
}

CString CVarnokDlg::GetItemPath(HTREEITEM hItem) {
    const char sep = m_fs.Separator();
    CString strPath = m_pTree->GetItemText(hItem);
    HTREEITEM hParent = m_pTree->GetParentItem(hItem);
    if (IsRootGroup(hParent)) return strPath;

    HTREEITEM hCurrent = hParent;
    while (!IsRootGroup(m_pTree->GetParentItem(hCurrent))) {
        strPath = m_pTree->GetItemText(hCurrent) + sep + strPath;
        hCurrent = m_pTree->GetParentItem(hCurrent);
    }
    return m_pTree->GetItemText(hCurrent) + strPath + sep;
}

int CVarnokDlg::RefreshItem(HTREEITEM hItem) {
    if (!hItem) return 0;
    if (IsRootGroup(hItem)) {
        AfxMessageBox("Cannot refresh root", MB_ICONERROR | MB_OK);
        return 0;
    }
    HTREEITEM hChild = m_pTree->GetChildItem(hItem);
    while (hChild) {
        HTREEITEM hNext = m_pTree->GetNextSiblingItem(hChild);
        m_pTree->DeleteItem(hChild);
        hChild = hNext;
    }
    AddSubfolders(hItem, FillPattern(hItem));
    return 0;
}

BOOL CVarnokDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F5) RefreshItem(m_pTree->GetSelectedItem());
    return CDialog::PreTranslateMessage(pMsg);  // the key is not consumed
}
