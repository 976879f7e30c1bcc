// The file-system, drive and clock services the program relies on.
//
// A folder is listed through an open Folder: the entries of one listing, and the
// operations on those entries by name, relative to the folder itself. A sweep holds the
// chain of folders it stands in, so nothing it does is redirected by a link that someone
// swaps in below the start folder while it runs.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/CString.h"
#include "framework/CTime.h"

struct FindData {
    bool bDirectory = false;
    bool bReadOnly = false;  // only filled by Folder::Lookup
    CString strName;         // the long name
};

struct EntryTimes {
    CTime lastAccess;
    CTime lastWrite;
    // The root of another file system (a mount point; a mounted volume on Windows):
    // the sweep never enters nor removes it.
    bool bMountPoint = false;
};

// Which folder an open folder is, whatever its name now: device and inode (volume and
// file index on Windows). A folder re-opened by name must be the same one.
struct FolderId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FolderId&, const FolderId&) = default;
};

class Folder {
public:
    virtual ~Folder() = default;
    // The next entry in listing order; false at the end. Deleting entries while a
    // listing is open does not disturb it.
    virtual bool Next(FindData& entry) = 0;
    // An entry's attributes by name (never following a link); false when it is not there.
    virtual bool Lookup(const CString& name, FindData& entry) = 0;
    // An entry's own times (a link's, not its target's); false when they cannot be read.
    virtual bool GetTimes(const CString& name, EntryTimes& times) = 0;
    // Forgets what was read about entries: a question may have been open for a long time,
    // and a deletion must act on the entry as it is now.
    virtual void Forget() {}
    // Opens a sub-folder for listing; nullptr when it is not a folder (a link is not) or
    // is the root of another file system.
    virtual std::unique_ptr<Folder> OpenSubfolder(const CString& name) = 0;
    virtual FolderId Id() = 0;
    // Clears the read-only attribute; on success *pOldAttributes can put it back.
    virtual bool SetNormalAttributes(const CString& name, unsigned* pOldAttributes) = 0;
    virtual bool RestoreAttributes(const CString& name, unsigned oldAttributes) = 0;
    // Deletes a file (a link itself, never its target); refused for a read-only file.
    virtual bool DeleteFile(const CString& name) = 0;
    // Removes an empty sub-folder; refused for a read-only one, as Windows does.
    virtual bool RemoveDirectory(const CString& name) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Platform rules.
    virtual char Separator() const = 0;
    virtual const char* OptionMarkers() const = 0;
    // Windows compares names upper-cased; POSIX names are case-sensitive.
    virtual bool NamesCompareUpperCased() const = 0;

    // Lists a folder given as its prefix followed by "*.*" (FindFirstFile); nullptr when
    // nothing can be listed. The first entry comes from the first Next(). The prefix is
    // followed one folder at a time without following any link: the folders the program
    // names come from listings, which never list a link as a folder.
    virtual std::unique_ptr<Folder> OpenFolder(const CString& pattern) = 0;
    // The existence test: an existing folder or file that can be opened for reading.
    virtual bool Exists(const CString& path) = 0;
    // Every drive root, in the system's order.
    virtual std::vector<CString> GetLogicalDriveStrings() = 0;
    virtual bool IsRemoteDrive(const CString& root) = 0;
    // The short (8.3) form; false when it cannot be had.
    virtual bool GetShortPathName(const CString& longPath, CString& shortPath) = 0;
    // A start path as the walk reads it: relative ones taken from the current folder.
    virtual CString AbsolutePath(const CString& path) = 0;
    // The real path of an existing folder, as realpath gives it (every link followed, "."
    // and ".." as the file system has them), and the folder's id at that moment; false
    // when it cannot be resolved or is no folder.
    virtual bool ResolveFolder(const CString& path, CString& realPath, FolderId& id) = 0;
    // How many folders a sweep may hold open at once; deeper ones are re-opened by name.
    virtual int MaxOpenFolders() const { return 64; }
    // How many threads a sweep without questions may use; 1 when the file system is not
    // to be used from several threads at once.
    virtual int SweepThreads() const { return 1; }
    virtual CTime GetCurrentTime() = 0;
};

// The real file system of the platform the program is built for.
std::unique_ptr<FileSystem> CreatePlatformFileSystem();
