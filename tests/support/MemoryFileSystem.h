// An in-memory file system with Windows rules, for unit tests of the logic: drive
// letters, backslashes, upper-cased name comparison, 8.3 short names, the read-only
// attribute, remote drives, "." and ".." in every folder but a drive root, a settable clock.
#pragma once
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

class MemoryFileSystem : public FileSystem {
public:
    struct Node {
        std::string name;
        std::string shortName;  // empty: the long name is already 8.3
        bool directory = false;
        bool readOnly = false;
        bool hidden = false;
        bool timesUnreadable = false;
        bool undeletable = false;  // in use: deleting fails
        bool unlistable = false;   // access denied for listing
        bool mountPoint = false;   // a mounted volume: another file system
        CTime lastAccess;
        CTime lastWrite;
        Node* parent = nullptr;
        std::vector<std::unique_ptr<Node>> children;  // listing order: creation order
    };

    MemoryFileSystem();

    void AddDrive(char letter, bool remote = false);
    // Creates a folder (and its parents) / a file; times default to the clock's now.
    Node* AddFolder(const std::string& path, CTime written = CTime(-1));
    Node* AddFile(const std::string& path, CTime written = CTime(-1));
    Node* Find(const std::string& path);  // nullptr when absent
    bool Has(const std::string& path) { return Find(path) != nullptr; }

    void SetNow(CTime now) { m_now = now; }
    // Each reading of the clock moves it on by this many seconds.
    void SetTick(std::int64_t seconds) { m_tick = seconds; }
    int ClockReads() const { return m_clockReads; }
    const std::vector<std::string>& Log() const { return m_log; }  // "delete X", "rmdir X", "attrib X"

    char Separator() const override { return '\\'; }
    const char* OptionMarkers() const override { return "/-"; }
    bool NamesCompareUpperCased() const override { return true; }
    std::unique_ptr<Folder> OpenFolder(const CString& pattern) override;
    bool Exists(const CString& path) override;
    std::vector<CString> GetLogicalDriveStrings() override;
    bool IsRemoteDrive(const CString& root) override;
    bool GetShortPathName(const CString& longPath, CString& shortPath) override;
    CString AbsolutePath(const CString& path) override { return path; }
    // Full paths only: "." and ".." taken away, short names made long.
    bool ResolveFolder(const CString& path, CString& realPath, FolderId& id) override;
    int MaxOpenFolders() const override { return m_maxOpen; }
    void SetMaxOpenFolders(int n) { m_maxOpen = n; }
    int OpenFolders() const { return m_openFolders; }
    int PeakOpenFolders() const { return m_peakOpen; }
    void FolderOpened() { m_peakOpen = std::max(m_peakOpen, ++m_openFolders); }
    void FolderClosed() { --m_openFolders; }
    CTime GetCurrentTime() override;

    std::string PathOf(const Node* node) const;
    void Record(const std::string& what) { m_log.push_back(what); }

private:
    Node* Resolve(const std::string& path);
    Node* Create(const std::string& path, bool directory, CTime written);

    std::map<char, std::unique_ptr<Node>> m_drives;
    std::map<char, bool> m_remote;
    CTime m_now{975664800};  // Fri Dec 01 2000 10:00:00 UTC
    std::int64_t m_tick = 0;
    int m_clockReads = 0;
    std::vector<std::string> m_log;
    int m_maxOpen = 64;
    int m_openFolders = 0;
    int m_peakOpen = 0;
};
