// The main window. Its members live with the subsystem that owns them: the dialog's own
// code in ui/, the sweep and the Delete command in sweep/, the folder tree in tree/.
#pragma once
#include <memory>
#include <vector>

#include "framework/CBitmap.h"
#include "framework/CDialog.h"
#include "framework/CString.h"
#include "framework/CTreeCtrl.h"
#include "platform/FileSystem.h"

class CVarnokDlg : public CDialog {
public:
    // fs: the file system and clock to work on; nullptr for the platform's own.
    explicit CVarnokDlg(CDialog* pParent = nullptr, FileSystem* fs = nullptr);
    ~CVarnokDlg() override;

    int m_nPatterns = 0;
    std::vector<CString> m_strPatterns;  // grows with the file type: every pattern is kept
    bool m_bPathGiven = false;
    bool m_bQuiet = false;
    BOOL m_bSubDirs = FALSE;
    BOOL m_bPrompt = FALSE;
    BOOL m_bLastAccess = FALSE;
    BOOL m_bDeleteDirs = FALSE;
    CString m_strDays;
    CString m_strPath;
    CString m_strFileType;
    BOOL m_bReadOnly = FALSE;
    HICON m_hIcon;
    CBitmap m_bmpDelete;
    HTREEITEM m_hLocalDrives = nullptr;
    HTREEITEM m_hNetworkDrives = nullptr;
    CTreeCtrl* m_pTree = nullptr;

    // ui/
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HICON OnQueryDragIcon();
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);

    // sweep/
    void SplitFileType();
    bool MatchesFileType(CString strName);
    bool SweepFolder(CString strPattern, int nDays, bool bPrompt, bool bSubDirs, bool bLastAccess, bool bDeleteDirs);
    BOOL RemoveFile(CString strFile);
    int CountEntries(CString strPattern);
    void OnDelete();

    // tree/
    void InitTree();
    void OnDblclkFolders(NMHDR* pNMHDR, LRESULT* pResult);
    BOOL AddSubfolders(HTREEITEM hParent, CString strPattern);
    CString GetItemPath(HTREEITEM hItem);
    int RefreshItem(HTREEITEM hItem);
    void SelectStartFolder();

    FileSystem& GetFileSystem() { return m_fs; }

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    struct SweepOptions {
        int nDays;
        bool bPrompt, bSubDirs, bLastAccess, bDeleteDirs;
    };
    bool SweepFrom(std::unique_ptr<Folder> folder, const CString& strPattern, const SweepOptions& options,
                   int nMaxOpen);
    bool SweepInParallel(std::unique_ptr<Folder> folder, const CString& strPattern, const SweepOptions& options,
                         int nThreads);
    void ReportUnlistable(const CString& strPattern);
    void FinishSubfolder(Folder& folder, const CString& strName, const CString& strDir, const EntryTimes& times,
                         bool bHaveTimes, CTime cutoff, const SweepOptions& o, bool& bCancel);
    void SweepFile(Folder& folder, const CString& strName, const CString& strFile, CTime cutoff, const SweepOptions& o,
                   bool& bCancel);
    BOOL RemoveFileIn(Folder& folder, const CString& strName);
    int CountFolderEntries(std::unique_ptr<Folder> folder);
    bool IsRootGroup(HTREEITEM hItem) const { return hItem == m_hLocalDrives || hItem == m_hNetworkDrives; }
    bool IsDriveItem(HTREEITEM hItem) const;
    CString FillPattern(HTREEITEM hItem);
    CString FindDriveKey(const CString& path, HTREEITEM* phDrive);
    HTREEITEM WalkToStartFolder(const CString& realPath);
    void StartFolderNotFound();

    std::unique_ptr<FileSystem> m_ownedFs;
    FileSystem& m_fs;
    // The start folder of a quiet run, opened and checked when it was found: the sweep
    // lists this very folder, whatever has been put in its place by name since.
    std::unique_ptr<Folder> m_pStartFolder;
    CString m_strStartPattern;
};
