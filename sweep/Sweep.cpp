// The folder sweep: what is deleted, in which order, and what the user is asked.
#include <deque>

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

namespace {
// One folder of the sweep's chain: its open listing and, while a sub-folder of it is
// being swept, what is needed to finish that sub-folder's entry afterwards.
// The question before one deletion; kind is "file" or "directory".
int AskBeforeDeleting(const char* kind, const CString& path, const EntryTimes& times, bool bLastAccess) {
    CString strMsg = CString("Are you sure you want to delete\n") + kind + " " + path + ",\nlast modified " +
                     TimeText(times.lastWrite);
    if (bLastAccess) strMsg += "last accessed " + TimeText(times.lastAccess);
    return AfxMessageBox(strMsg, MB_YESNOCANCEL | MB_ICONQUESTION);
}

struct SweepLevel {
    std::unique_ptr<Folder> folder;
    CString prefix;
    CTime cutoff;
    bool cancel = false;
    bool inChild = false;
    CString childName;
    CString childDir;
    EntryTimes childTimes;
    bool childHaveTimes = false;
};
}  // namespace

bool CVarnokDlg::SweepFolder(CString strPattern, int nDays, bool bPrompt, bool bSubDirs, bool bLastAccess,
                             bool bDeleteDirs) {
    const SweepOptions options{nDays, bPrompt, bSubDirs, bLastAccess, bDeleteDirs};
    std::unique_ptr<Folder> folder = m_fs.OpenFolder(strPattern);
    if (!folder) {
        AfxMessageBox("Unable to locate any files at\n" + strPattern, MB_ICONERROR | MB_OK);
        return false;
    }

    // Depth-first, with the chain of open folders kept here rather than on the call
    // stack, so that a tree thousands of folders deep is swept like any other.
    const char sep = m_fs.Separator();
    std::deque<SweepLevel> levels;
    auto enter = [&](std::unique_ptr<Folder> f, const CString& pattern) {
        SweepLevel& level = levels.emplace_back();
        level.folder = std::move(f);
        level.prefix = pattern.Left(pattern.GetLength() - 3);
        level.cutoff = CutoffFor(m_fs.GetCurrentTime(), nDays);
    };
    enter(std::move(folder), strPattern);

    bool bResult = false;
    while (!levels.empty()) {
        SweepLevel& level = levels.back();
        if (level.inChild) {
            level.inChild = false;
            FinishSubfolder(*level.folder, level.childName, level.childDir, level.childTimes, level.childHaveTimes,
                            level.cutoff, options, level.cancel);
        }
        bool bDescended = false;
        FindData entry;
        while (!level.cancel && level.folder->Next(entry)) {
            const CString& strName = entry.strName;
            if (entry.bDirectory) {
                if (strName == "." || strName == "..") continue;
                const CString strChildPattern = level.prefix + strName + sep + "*.*";
                const CString strDir = strChildPattern.Left(strChildPattern.GetLength() - 4);
                // The removal rests on the times from before the contents were swept.
                EntryTimes times;
                const bool bHaveTimes = level.folder->GetTimes(strName, times);
                if (bSubDirs) {
                    if (std::unique_ptr<Folder> child = level.folder->OpenSubfolder(strName)) {
                        level.inChild = true;
                        level.childName = strName;
                        level.childDir = strDir;
                        level.childTimes = times;
                        level.childHaveTimes = bHaveTimes;
                        enter(std::move(child), strChildPattern);
                        bDescended = true;
                        break;
                    }
                    AfxMessageBox("Unable to locate any files at\n" + strChildPattern, MB_ICONERROR | MB_OK);
                }
                FinishSubfolder(*level.folder, strName, strDir, times, bHaveTimes, level.cutoff, options, level.cancel);
            } else {
                SweepFile(*level.folder, strName, level.prefix + strName, level.cutoff, options, level.cancel);
            }
        }
        if (bDescended) continue;
        const bool bCancel = level.cancel;
        levels.pop_back();
        if (levels.empty())
            bResult = bCancel;
        else
            levels.back().cancel = bCancel;  // a Cancel travels up through every enclosing folder
    }
    return bResult;
}

// After a sub-folder was swept (or at once without sub-folders): remove it when it is
// old and empty, asking first when prompting is on.
void CVarnokDlg::FinishSubfolder(Folder& folder, const CString& strName, const CString& strDir, const EntryTimes& times,
                                 bool bHaveTimes, CTime cutoff, const SweepOptions& o, bool& bCancel) {
    if (!o.bDeleteDirs || !bHaveTimes) return;  // unreadable times: never removed
    if (!IsOld(times, cutoff, o.bLastAccess)) return;
    if (CountFolderEntries(folder.OpenSubfolder(strName)) != 0) return;
    if (!o.bPrompt) {
        folder.RemoveDirectory(strName);
        return;
    }
    switch (AskBeforeDeleting("directory", strDir, times, o.bLastAccess)) {
    case IDYES: folder.RemoveDirectory(strName); break;
    case IDCANCEL: bCancel = true; break;
    default: break;
    }
}

void CVarnokDlg::SweepFile(Folder& folder, const CString& strName, const CString& strFile, CTime cutoff,
                           const SweepOptions& o, bool& bCancel) {
    if (!MatchesFileType(strName)) return;  // before any file-system work
    EntryTimes times;
    if (!folder.GetTimes(strName, times)) return;  // unreadable times: passed over
    if (!IsOld(times, cutoff, o.bLastAccess)) return;
    if (!o.bPrompt) {
        RemoveFileIn(folder, strName);
        return;
    }
    switch (AskBeforeDeleting("file", strFile, times, o.bLastAccess)) {
    case IDYES: RemoveFileIn(folder, strName); break;
    case IDCANCEL: bCancel = true; break;
    default: break;
    }
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
