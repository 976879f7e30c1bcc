// The start folder from the command line: opened in the tree and selected; a wildcard
// last component is the file type; a quiet run deletes there and ends the process.
#include "framework/AfxMessageBox.h"
#include "framework/CWinApp.h"
#include "ui/VarnokDlg.h"
#include "ui/resource.h"

namespace {
bool HoldsWildcard(const CString& s) { return s.Find('*') >= 0 || s.Find('?') >= 0; }
}  // namespace

// The drive whose item the walk starts from. With upper-cased names (Windows) it is the
// first three characters, upper-cased, compared exactly; elsewhere the drive item whose
// text is the longest prefix of the path.
CString CVarnokDlg::FindDriveKey(const CString& path, HTREEITEM* phDrive) {
    *phDrive = nullptr;
    if (m_fs.NamesCompareUpperCased()) {
        CString key = path.Left(3);
        key.MakeUpper();
        for (HTREEITEM hGroup : {m_hLocalDrives, m_hNetworkDrives})
            for (HTREEITEM h = m_pTree->GetChildItem(hGroup); h; h = m_pTree->GetNextSiblingItem(h))
                if (m_pTree->GetItemText(h) == key) {
                    *phDrive = h;
                    return key;
                }
        return key;
    }
    const CString closed = path + m_fs.Separator();
    CString best;
    for (HTREEITEM hGroup : {m_hLocalDrives, m_hNetworkDrives})
        for (HTREEITEM h = m_pTree->GetChildItem(hGroup); h; h = m_pTree->GetNextSiblingItem(h)) {
            const CString text = m_pTree->GetItemText(h);
            if (text.GetLength() > best.GetLength() && closed.Left(text.GetLength()) == text) {
                best = text;
                *phDrive = h;
            }
        }
    return best;
}

void CVarnokDlg::SelectStartFolder() {
    const char sep = m_fs.Separator();
    const bool upper = m_fs.NamesCompareUpperCased();
    CString path = m_fs.AbsolutePath(m_strPath);

    if (!m_fs.Exists(path)) {
        const int pos = path.ReverseFind(sep);
        const CString strCandidate = path.Right(path.GetLength() - pos - 1);
        const CString strFolder = path.Left(pos);
        const CString strFolderToTest = strFolder.IsEmpty() && pos == 0 ? CString(std::string(1, sep)) : strFolder;
        if (!HoldsWildcard(strCandidate) || !m_fs.Exists(strFolderToTest)) {
            if (!m_bQuiet) AfxMessageBox("Folder not found!", MB_ICONERROR | MB_OK);
            return;
        }
        m_strPath = strFolder + sep;
        path = m_strPath;
        m_strFileType = strCandidate;
        SetDlgItemText(IDC_FILETYPE, m_strFileType);
    }

    HTREEITEM hCurrent = nullptr;
    const CString strKey = FindDriveKey(path, &hCurrent);
    if (hCurrent) {
        m_pTree->SelectItem(hCurrent);
        AddSubfolders(hCurrent, strKey + "*.*");

        const CString strWalk = path + sep;
        int nSearch = strKey.GetLength() + 1;
        for (int nSep; (nSep = strWalk.Find(sep, nSearch)) >= 0; nSearch = nSep + 2) {
            CString strComponent = strWalk.Mid(nSearch - 1, nSep - nSearch + 1);
            if (upper) strComponent.MakeUpper();
            for (HTREEITEM hChild = m_pTree->GetChildItem(hCurrent); hChild;
                 hChild = m_pTree->GetNextSiblingItem(hChild)) {
                CString strText = m_pTree->GetItemText(hChild);
                if (upper) strText.MakeUpper();
                bool bMatch = strText == strComponent;
                if (!bMatch) {
                    CString strShort;
                    if (m_fs.GetShortPathName(GetItemPath(hChild), strShort)) {
                        strShort = strShort.Left(strShort.GetLength() - 1);
                        strShort = strShort.Mid(strShort.ReverseFind(sep) + 1);
                        if (upper) strShort.MakeUpper();
                        bMatch = strShort == strComponent;
                    }
                }
                if (bMatch) {
                    m_pTree->SelectItem(hChild);
                    AddSubfolders(hChild, GetItemPath(hChild) + "*.*");
                    hCurrent = hChild;
                    break;
                }
            }
        }
        m_pTree->Expand(hCurrent);
    }

    if (m_bQuiet) {
        OnDelete();
        AfxExitProcess(1);
    }
}
