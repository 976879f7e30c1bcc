// The start folder from the command line: opened in the tree and selected; a wildcard
// last component is the file type; a quiet run deletes there and ends the process.
//
// A tool that deletes must never sweep a folder the user did not name: the path is
// resolved on the real file system first, the walk must match every component of it,
// and the folder a quiet run sweeps is opened without following links and checked to be
// the one the path named.
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

// Opens the tree from the drive down along the real path, reading each level on the way.
// Returns the start folder's item, or nullptr unless every component matched a folder.
HTREEITEM CVarnokDlg::WalkToStartFolder(const CString& realPath) {
    const char sep = m_fs.Separator();
    const bool upper = m_fs.NamesCompareUpperCased();
    HTREEITEM hCurrent = nullptr;
    const CString strKey = FindDriveKey(realPath, &hCurrent);
    if (!hCurrent) return nullptr;
    AddSubfolders(hCurrent, strKey + "*.*");

    const CString strWalk = realPath + sep;
    int nSearch = strKey.GetLength() + 1;
    for (int nSep; (nSep = strWalk.Find(sep, nSearch)) >= 0; nSearch = nSep + 2) {
        CString strComponent = strWalk.Mid(nSearch - 1, nSep - nSearch + 1);
        if (strComponent.IsEmpty()) continue;  // the separator that closes the path
        if (upper) strComponent.MakeUpper();
        HTREEITEM hMatch = nullptr;
        for (HTREEITEM hChild = m_pTree->GetChildItem(hCurrent); hChild && !hMatch;
             hChild = m_pTree->GetNextSiblingItem(hChild)) {
            CString strText = m_pTree->GetItemText(hChild);
            if (upper) strText.MakeUpper();
            if (strText == strComponent) {
                hMatch = hChild;
                break;
            }
            CString strShort;
            if (m_fs.GetShortPathName(GetItemPath(hChild), strShort)) {
                strShort = strShort.Left(strShort.GetLength() - 1);
                strShort = strShort.Mid(strShort.ReverseFind(sep) + 1);
                if (upper) strShort.MakeUpper();
                if (strShort == strComponent) hMatch = hChild;
            }
        }
        if (!hMatch) return nullptr;  // never the last folder matched: that is not what was named
        AddSubfolders(hMatch, GetItemPath(hMatch) + "*.*");
        hCurrent = hMatch;
    }
    return hCurrent;
}

// As for a missing folder: a message outside quiet runs; a quiet run sweeps nothing and
// goes on to open the window. Without a display that cannot happen, so it says first
// which start folder was not found.
void CVarnokDlg::StartFolderNotFound() {
    if (!m_bQuiet)
        AfxMessageBox("Folder not found!", MB_ICONERROR | MB_OK);
    else if (AfxHasNoDisplay())
        AfxMessageBox("Folder not found: " + AfxMessageName(m_strPath), MB_ICONERROR | MB_OK);
}

void CVarnokDlg::SelectStartFolder() {
    const char sep = m_fs.Separator();
    const CString strTyped = m_strPath;
    if (strTyped.IsEmpty()) {  // an unset variable in a script: never the current folder
        StartFolderNotFound();
        return;
    }
    CString path = m_fs.AbsolutePath(strTyped);

    if (!m_fs.Exists(path)) {
        const int pos = path.ReverseFind(sep);
        const CString strCandidate = path.Right(path.GetLength() - pos - 1);
        const CString strFolder = path.Left(pos);
        const CString strFolderToTest = strFolder.IsEmpty() && pos == 0 ? CString(std::string(1, sep)) : strFolder;
        if (!HoldsWildcard(strCandidate) || !m_fs.Exists(strFolderToTest)) {
            StartFolderNotFound();
            return;
        }
        m_strPath = strFolder + sep;
        path = m_strPath;
        m_strFileType = strCandidate;
        SetDlgItemText(IDC_FILETYPE, m_strFileType);
    }

    // The walk runs on the path as the file system has it, links in it followed.
    CString strReal;
    FolderId id;
    HTREEITEM hStart = m_fs.ResolveFolder(path, strReal, id) ? WalkToStartFolder(strReal) : nullptr;
    if (hStart && m_bQuiet) {
        // The folder swept is the one just opened without following links; it must be the
        // folder the path named, or someone swapped it meanwhile.
        m_strStartPattern = GetItemPath(hStart) + "*.*";
        m_pStartFolder = m_fs.OpenFolder(m_strStartPattern);  // when it cannot be listed, the sweep says so
        if (m_pStartFolder && !(m_pStartFolder->Id() == id)) {
            m_pStartFolder.reset();
            hStart = nullptr;
        }
    }
    if (!hStart) {
        StartFolderNotFound();
        return;
    }
    m_pTree->SelectItem(hStart);
    m_pTree->Expand(hStart);

    if (m_bQuiet) {
        OnDelete();
        AfxExitProcess(1);
    }
}
