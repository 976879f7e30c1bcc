// The folder sweep: what is deleted, in which order, and what the user is asked.
#include <algorithm>
#include <deque>
#include <functional>

#include "framework/AfxMessageBox.h"
#include "platform/TerminationHold.h"
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
// The question before one deletion; kind is "file" or "directory".
int AskBeforeDeleting(const char* kind, const CString& path, const EntryTimes& times, bool bLastAccess) {
    CString strMsg = CString("Are you sure you want to delete\n") + kind + " " + AfxMessageName(path) +
                     ",\nlast modified " + TimeText(times.lastWrite);
    if (bLastAccess) strMsg += "last accessed " + TimeText(times.lastAccess);
    return AfxMessageBox(strMsg, MB_YESNOCANCEL | MB_ICONQUESTION);
}

}  // namespace

// A worker thread of a parallel sweep hands its messages to the thread that shows them.
thread_local std::function<void(const CString&)>* t_sweepMessages = nullptr;

void CVarnokDlg::ReportUnlistable(const CString& strPattern) {
    const CString text = "Unable to locate any files at\n" + AfxMessageName(strPattern);
    if (t_sweepMessages)
        (*t_sweepMessages)(text);
    else
        AfxMessageBox(text, MB_ICONERROR | MB_OK);
}

namespace {

// One folder of the sweep's chain: its listing and, while a sub-folder of it is being
// swept, what is needed to finish that sub-folder's entry afterwards. Only the folders
// nearest the current one stay open; a folder further up keeps the rest of its listing
// here and is opened again by name, and checked to be the same folder, when the sweep
// climbs back to it.
struct SweepLevel {
    std::unique_ptr<Folder> folder;  // null while closed to save descriptors
    FolderId id;
    CString name;                 // its name in the folder above
    std::deque<FindData> rest;    // the listing's remaining entries, once closed
    bool listingInFolder = true;  // false: the listing continues from rest
    CString prefix;               // the folder's pattern less "*.*"
    CTime cutoff;
    bool cancel = false;
    bool swapped = false;  // re-opened and found to be another folder: passed over
    bool inChild = false;
    CString childName;
    CString childDir;
    EntryTimes childTimes;
    bool childHaveTimes = false;

    bool Next(FindData& entry) {
        if (listingInFolder) return folder->Next(entry);
        if (rest.empty()) return false;
        entry = std::move(rest.front());
        rest.pop_front();
        return true;
    }
    // Closes the folder, keeping what is left of its listing.
    void Close() {
        id = folder->Id();
        if (listingInFolder) {
            FindData entry;
            while (folder->Next(entry)) rest.push_back(entry);
            listingInFolder = false;
        }
        folder.reset();
    }
};
}  // namespace

bool CVarnokDlg::SweepFolder(CString strPattern, int nDays, bool bPrompt, bool bSubDirs, bool bLastAccess,
                             bool bDeleteDirs) {
    std::unique_ptr<Folder> folder;
    if (m_pStartFolder && strPattern == m_strStartPattern)
        folder = std::move(m_pStartFolder);  // the very folder the start path named
    else
        folder = m_fs.OpenFolder(strPattern);
    if (!folder) {
        ReportUnlistable(strPattern);
        return false;
    }
    const SweepOptions options{nDays, bPrompt, bSubDirs, bLastAccess, bDeleteDirs};
    // Without questions nothing depends on the order of deletions: sub-folders are swept
    // on every core. With questions, one thread keeps their order and Cancel exact.
    const int threads = bPrompt || !bSubDirs ? 1 : m_fs.SweepThreads();
    if (threads > 1) return SweepInParallel(std::move(folder), strPattern, options, threads);
    return SweepFrom(std::move(folder), strPattern, options, m_fs.MaxOpenFolders());
}

bool CVarnokDlg::SweepFrom(std::unique_ptr<Folder> folder, const CString& strPattern, const SweepOptions& options,
                           int nMaxOpen) {
    // Depth-first, with the chain of folders kept here rather than on the call stack,
    // so that a tree thousands of folders deep is swept like any other.
    const char sep = m_fs.Separator();
    // Open folders are bounded: the start folder, a window of the deepest levels, and
    // checkpoints every `stride` levels above it, thinned out as the chain grows. Climbing
    // back into a closed level re-opens it from the checkpoint above, never far away.
    const size_t maxOpen = static_cast<size_t>(std::max(4, nMaxOpen));
    const size_t window = maxOpen / 2;
    size_t stride = 1;
    std::deque<SweepLevel> levels;
    auto isCheckpoint = [&](size_t i) { return i % stride == 0; };
    size_t nOpen = 0;
    auto close = [&](size_t i) {
        if (i > 0 && levels[i].folder) {
            levels[i].Close();
            --nOpen;
        }
    };
    auto enter = [&](std::unique_ptr<Folder> f, const CString& pattern, const CString& name) {
        SweepLevel& level = levels.emplace_back();
        level.folder = std::move(f);
        level.name = name;
        level.prefix = pattern.Left(pattern.GetLength() - 3);
        level.cutoff = CutoffFor(m_fs.GetCurrentTime(), options.nDays);
        ++nOpen;
        const size_t top = levels.size() - 1;
        if (top < window) return;
        const size_t left = top - window;  // the level that just left the window
        if (!isCheckpoint(left)) close(left);
        if (left / stride > maxOpen - window - 1) {  // too many checkpoints: keep every other one
            for (size_t i = stride; i <= left; i += 2 * stride) close(i);
            stride *= 2;
        }
        // Folders kept open by earlier climbs give way first.
        for (size_t i = 1; nOpen > maxOpen && i <= left; ++i)
            if (!isCheckpoint(i)) close(i);
    };
    // Opens the current folder again by name from the nearest open one above it; each
    // folder on the way must be the one that was swept there before. Returns the level
    // found swapped, or 0 when all are the same.
    auto reopen = [&]() -> size_t {
        const size_t current = levels.size() - 1;
        size_t i = current;
        while (!levels[i].folder) --i;
        // Folders re-opened on the way stay open at even steps, so that the next climb
        // starts close by: the cost stays near one opening per level.
        const size_t first = i + 1, half = std::max<size_t>(1, window / 2);
        const size_t step = std::max<size_t>(1, (current - i + half - 1) / half);
        for (++i; i <= current; ++i) {
            SweepLevel& level = levels[i];
            level.folder = levels[i - 1].folder->OpenSubfolder(level.name);
            if (!level.folder || !(level.folder->Id() == level.id)) {
                level.folder.reset();
                return i;
            }
            ++nOpen;
            const size_t previous = i - 1;
            const bool bStep = (previous - first) % step == 0 && nOpen + half < maxOpen;
            if (previous >= first && previous + half <= current && !isCheckpoint(previous) && !bStep) close(previous);
        }
        return 0;
    };
    enter(std::move(folder), strPattern, CString());

    bool bResult = false;
    while (!levels.empty()) {
        SweepLevel& level = levels.back();
        if (!level.folder && !level.swapped) {
            if (const size_t swapped = reopen()) {
                // Someone put another folder in its place: nothing more in it is touched.
                for (size_t i = swapped; i < levels.size(); ++i) levels[i].swapped = true;
                ReportUnlistable(levels[swapped].prefix + "*.*");
            }
        }
        bool bDescended = false;
        if (!level.swapped) {
            if (level.inChild) {
                level.inChild = false;
                FinishSubfolder(*level.folder, level.childName, level.childDir, level.childTimes, level.childHaveTimes,
                                level.cutoff, options, level.cancel);
            }
            FindData entry;
            while (!level.cancel && level.Next(entry)) {
                const CString& strName = entry.strName;
                if (entry.bDirectory) {
                    if (strName == "." || strName == "..") continue;
                    const CString strChildPattern = level.prefix + strName + sep + "*.*";
                    const CString strDir = strChildPattern.Left(strChildPattern.GetLength() - 4);
                    // The removal rests on the times from before the contents were swept.
                    EntryTimes times;
                    const bool bHaveTimes = level.folder->GetTimes(strName, times);
                    if (bHaveTimes && times.bMountPoint) continue;  // another file system: an entry of its own
                    if (options.bSubDirs) {
                        if (std::unique_ptr<Folder> child = level.folder->OpenSubfolder(strName)) {
                            level.inChild = true;
                            level.childName = strName;
                            level.childDir = strDir;
                            level.childTimes = times;
                            level.childHaveTimes = bHaveTimes;
                            enter(std::move(child), strChildPattern, strName);
                            bDescended = true;
                            break;
                        }
                        ReportUnlistable(strChildPattern);
                    }
                    FinishSubfolder(*level.folder, strName, strDir, times, bHaveTimes, level.cutoff, options,
                                    level.cancel);
                } else {
                    SweepFile(*level.folder, strName, level.prefix + strName, level.cutoff, options, level.cancel);
                }
            }
        }
        if (bDescended) continue;
        const bool bCancel = level.cancel;
        const bool bSwapped = level.swapped;
        if (level.folder) --nOpen;
        levels.pop_back();
        if (levels.empty()) {
            bResult = bCancel;
        } else {
            levels.back().cancel = bCancel;               // a Cancel travels up through every enclosing folder
            if (bSwapped) levels.back().inChild = false;  // what is there now is not what was swept
        }
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
    case IDYES:
        folder.Forget();  // the file may have changed while the question was open
        RemoveFileIn(folder, strName);
        break;
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
    if (!m_bReadOnly) {
        folder.DeleteFile(strName);  // refused for a read-only file; not reported
        return TRUE;
    }
    FindData found;
    if (!folder.Lookup(strName, found) || !found.bReadOnly) {
        folder.DeleteFile(strName);
        return TRUE;
    }
    // Grant, delete and, on failure, restore: never cut short by a signal, so a file is
    // never left with its permissions changed.
    TerminationHold hold;
    unsigned oldAttributes = 0;
    const bool bReset = folder.SetNormalAttributes(strName, &oldAttributes);
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
