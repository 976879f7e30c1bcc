// A temporary folder on the Win32 file system, with helpers to lay out files, set their
// times and attributes, and run a program. Plain C++ types only: the tests that use it
// also include the framework's own Windows names, which <windows.h> would clash with.
#pragma once
#include <cstdint>
#include <string>

class WinTempDir {
public:
    WinTempDir();  // a new folder under the user's temporary folder
    // An existing folder (a drive such as "C:"), used as it is: nothing removed at the end.
    enum ExistingRoot { kExistingRoot };
    WinTempDir(const std::string& existing, ExistingRoot) : m_path(existing), m_keepRoot(true) {}
    ~WinTempDir();
    const std::string& path() const { return m_path; }  // no trailing backslash
    std::string operator/(const std::string& rel) const { return m_path + "\\" + rel; }

    // Creates a file (and its folders) with the given last-write and last-access times
    // (seconds since 1970; access 0: the same as written).
    void File(const std::string& rel, std::int64_t written, std::int64_t accessed = 0);
    bool TryFile(const std::string& rel, std::int64_t written);  // false when it cannot be made
    void Remove(const std::string& rel);
    void Folder(const std::string& rel, std::int64_t written = 0);
    void SetTimes(const std::string& rel, std::int64_t written, std::int64_t accessed = 0);
    void SetReadOnly(const std::string& rel, bool readOnly);
    bool IsReadOnly(const std::string& rel) const;
    bool Exists(const std::string& rel) const;

private:
    std::string m_path;
    bool m_keepRoot = false;
};

// The root of the drive Windows is on, such as C:\.
std::string SystemDriveRoot();
// Any path's 8.3 form as the system gives it; empty when it has none.
std::string ShortPathOf(const std::string& path);
// The current folder, and changing it.
std::string CurrentFolder();
bool SetCurrentFolder(const std::string& path);
// Runs a command line and waits at most timeoutMs; the exit code, or -1 when it could not
// start or did not end in time (it is then ended).
int RunCommandLine(const std::string& commandLine, unsigned timeoutMs = 60000);
// This test program's own folder.
std::string OwnFolder();
// A symbolic link to a folder; false when it cannot be made (or was not really made).
bool MakeFolderLink(const std::string& link, const std::string& target);
// True when running under Wine.
bool RunningUnderWine();
