// The folder sweep: what is deleted, in which order, and what the user is asked.
#include "framework/AfxMessageBox.h"
#include "sweep/Age.h"
#include "sweep/FilePatterns.h"
#include "ui/VarnokDlg.h"

void CVarnokDlg::SplitFileType() {
    std::vector<CString> patterns = SplitFileTypeText(m_strFileType);
    m_nPatterns = static_cast<int>(patterns.size());
    // Slots beyond the new count keep what an earlier split left; they are never read.
    if (m_strPatterns.size() < patterns.size()) m_strPatterns.resize(patterns.size());
    for (size_t i = 0; i < patterns.size(); ++i) m_strPatterns[i] = std::move(patterns[i]);
}

bool CVarnokDlg::MatchesFileType(CString strName) {
    for (int i = 0; i < m_nPatterns; ++i)
        if (MatchesPattern(m_strPatterns[static_cast<size_t>(i)], strName)) return true;
    return false;
}

bool CVarnokDlg::SweepFolder(CString strPattern, int nDays, bool bPrompt, bool bSubDirs, bool bLastAccess,
                             bool bDeleteDirs) {
    std::unique_ptr<Folder> folder = m_fs.OpenFolder(strPattern);
    if (!folder) {
        AfxMessageBox("Unable to locate any files at\n" + strPattern, MB_ICONERROR | MB_OK);
        return false;
    }
    return SweepOpenFolder(*folder, strPattern, nDays, bPrompt, bSubDirs, bLastAccess, bDeleteDirs);
}

// Sweeps a folder that is already open. Sub-folders are opened relative to it, so the
// sweep stays inside the start folder even when a link is swapped in meanwhile.
bool CVarnokDlg::SweepOpenFolder(Folder& folder, const CString& strPattern, int nDays, bool bPrompt, bool bSubDirs,
                                 bool bLastAccess, bool bDeleteDirs) {
    bool bCancel = false;
    const CTime cutoff = CutoffFor(m_fs.GetCurrentTime(), nDays);
    const CString strPrefix = strPattern.Left(strPattern.GetLength() - 3);
    const char sep = m_fs.Separator();

    FindData entry;
    while (!bCancel && folder.Next(entry)) {
        const CString& strName = entry.strName;
        if (entry.bDirectory) {
            if (strName == "." || strName == "..") continue;
            const CString strChildPattern = strPrefix + strName + sep + "*.*";
            const CString strDir = strChildPattern.Left(strChildPattern.GetLength() - 4);

            // The times decide the removal as they were before the contents were swept.
            EntryTimes times;
            const bool bHaveTimes = folder.GetTimes(strName, times);

            if (bSubDirs) {
                std::unique_ptr<Folder> child = folder.OpenSubfolder(strName);
                if (child) {
                    bCancel = SweepOpenFolder(*child, strChildPattern, nDays, bPrompt, bSubDirs, bLastAccess,
                                              bDeleteDirs);
                } else {
                    AfxMessageBox("Unable to locate any files at\n" + strChildPattern, MB_ICONERROR | MB_OK);
                    bCancel = false;
                }
            }
            if (!bDeleteDirs || !bHaveTimes) continue;  // unreadable times: never removed
            if (!IsOld(times, cutoff, bLastAccess)) continue;
            if (CountFolderEntries(folder.OpenSubfolder(strName)) != 0) continue;

            if (bPrompt) {
                CString strMsg = "Are you sure you want to delete\ndirectory " + strDir + ",\nlast modified " +
                                 TimeText(times.lastWrite);
                if (bLastAccess) strMsg += "last accessed " + TimeText(times.lastAccess);
                switch (AfxMessageBox(strMsg, MB_YESNOCANCEL | MB_ICONQUESTION)) {
                case IDYES: folder.RemoveDirectory(strName); break;
                case IDCANCEL: bCancel = true; break;
                default: break;
                }
            } else {
                folder.RemoveDirectory(strName);
            }
        } else {
            if (!MatchesFileType(strName)) continue;
            const CString strFile = strPrefix + strName;
            EntryTimes times;
            if (!folder.GetTimes(strName, times)) continue;  // unreadable times: passed over
            if (!IsOld(times, cutoff, bLastAccess)) continue;

            if (bPrompt) {
                CString strMsg = "Are you sure you want to delete\nfile " + strFile + ",\nlast modified " +
                                 TimeText(times.lastWrite);
                if (bLastAccess) strMsg += "last accessed " + TimeText(times.lastAccess);
                switch (AfxMessageBox(strMsg, MB_YESNOCANCEL | MB_ICONQUESTION)) {
                case IDYES: RemoveFileIn(folder, strName); break;
                case IDCANCEL: bCancel = true; break;
                default: break;
                }
            } else {
                RemoveFileIn(folder, strName);
            }
        }
    }
    return bCancel;
}

BOOL CVarnokDlg::RemoveFile(CString strFile) {
    const char sep = m_fs.Separator();
    const int slash = strFile.ReverseFind(sep);
    std::unique_ptr<Folder> folder = m_fs.OpenFolder(strFile.Left(slash + 1) + "*.*");
    if (folder) RemoveFileIn(*folder, strFile.Mid(slash + 1));
    return TRUE;
}

BOOL CVarnokDlg::RemoveFileIn(Folder& folder, const CString& strName) {
    unsigned oldAttributes = 0;
    bool bReset = false;
    if (m_bReadOnly) {  // the lookup matters only when read-only files may be reset
        FindData found;
        if (folder.Lookup(strName, found) && found.bReadOnly)
            bReset = folder.SetNormalAttributes(strName, &oldAttributes);
    }
    // A failed deletion is not reported; a file whose attributes were reset for it gets
    // them back, so a failure leaves it as it was.
    if (!folder.DeleteFile(strName) && bReset) folder.RestoreAttributes(strName, oldAttributes);
    return TRUE;
}

int CVarnokDlg::CountEntries(CString strPattern) { return CountFolderEntries(m_fs.OpenFolder(strPattern)); }

int CVarnokDlg::CountFolderEntries(std::unique_ptr<Folder> folder) {
    if (!folder) return -2;
    int count = 0;
    FindData entry;
    while (folder->Next(entry)) ++count;
    return count - 2;
}
