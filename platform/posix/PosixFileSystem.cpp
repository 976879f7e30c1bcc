// The file system of a POSIX system, with the stand-ins for Windows notions:
// "/" and the network mounts are the drives, the owner's write permission is the
// read-only attribute, and links below an open folder are never followed.
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "platform/FileSystem.h"

namespace {

bool IsDotOrDotDot(const char* n) { return n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')); }

std::string CollapseSeparators(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path)
        if (c != '/' || out.empty() || out.back() != '/') out += c;
    return out;
}

// Opens path one component at a time from "/" (or the current folder): the folders on the
// way with dirFlags, the last component with lastFlags. Works past PATH_MAX.
int WalkPath(const std::string& path, int dirFlags, int lastFlags) {
    int dir = ::open(!path.empty() && path[0] == '/' ? "/" : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    size_t pos = 0;
    while (dir >= 0) {
        while (pos < path.size() && path[pos] == '/') ++pos;
        if (pos >= path.size()) return dir;
        size_t end = path.find('/', pos);
        if (end == std::string::npos) end = path.size();
        size_t rest = end;
        while (rest < path.size() && path[rest] == '/') ++rest;
        const bool last = rest >= path.size();
        const std::string part = path.substr(pos, end - pos);
        int next = ::openat(dir, part.c_str(), (last ? lastFlags : dirFlags) | O_CLOEXEC);
        int saved = errno;
        ::close(dir);
        errno = saved;
        if (last) return next;
        dir = next;
        pos = end;
    }
    return -1;
}

// Opens a folder given by path, also past PATH_MAX.
int OpenPath(const std::string& path, int flags) {
    if (path.size() < PATH_MAX) return ::open(path.c_str(), flags | O_CLOEXEC);
    return WalkPath(path, O_RDONLY | O_DIRECTORY, flags);
}

// Opens a folder without following any link on the way, so a folder swapped for a link
// is not opened through it.
int OpenFolderNoFollow(const std::string& path) {
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW;
    return WalkPath(path, kFlags, kFlags);
}

// The root of a mount: another device, or a bind mount of the same one.
bool IsMountRoot(const struct statx& stx, dev_t parentDevice) {
    if ((stx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) && (stx.stx_attributes & STATX_ATTR_MOUNT_ROOT)) return true;
    return makedev(stx.stx_dev_major, stx.stx_dev_minor) != parentDevice;
}

const std::set<std::string>& NetworkFileSystemTypes() {
    static const std::set<std::string> types = {
        "nfs",       "nfs4",           "cifs", "smb3",   "smbfs", "fuse.sshfs",  "9p",          "ceph",
        "glusterfs", "fuse.glusterfs", "afs",  "lustre", "davfs", "fuse.davfs2", "fuse.rclone", "ncpfs"};
    return types;
}

std::string UnescapeMountField(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Network mount points, each ending in "/", in mount order.
std::vector<std::string> NetworkMounts() {
    std::vector<std::string> mounts;
    std::ifstream in("/proc/self/mountinfo");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string f, mountPoint;
        for (int i = 0; i < 5 && fields >> f; ++i)
            if (i == 4) mountPoint = f;
        while (fields >> f && f != "-") {}
        std::string fsType;
        fields >> fsType;
        if (NetworkFileSystemTypes().count(fsType)) {
            std::string m = UnescapeMountField(mountPoint);
            if (m.empty() || m.back() != '/') m += '/';
            if (m != "/") mounts.push_back(m);
        }
    }
    return mounts;
}

class PosixFolder : public Folder {
public:
    PosixFolder(DIR* dir, bool driveRoot) : m_dir(dir), m_fd(::dirfd(dir)), m_driveRoot(driveRoot) {}
    ~PosixFolder() override { ::closedir(m_dir); }

    // Reads the first entry ahead, so that an empty drive root can report that it lists nothing.
    bool Prime() {
        m_hasPending = Read(m_pending);
        return m_hasPending;
    }

    bool Next(FindData& entry) override {
        if (m_hasPending) {
            entry = m_pending;
            m_hasPending = false;
            return true;
        }
        return Read(entry);
    }

    bool Lookup(const CString& name, FindData& entry) override {
        struct stat st;
        if (::fstatat(m_fd, name.GetString(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
        entry.strName = name;
        entry.bDirectory = S_ISDIR(st.st_mode);
        entry.bReadOnly = !S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR);
        return true;
    }

    bool GetTimes(const CString& name, EntryTimes& times) override {
        struct statx stx;
        if (::statx(m_fd, name.GetString(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS, &stx) != 0)
            return false;
        times.lastAccess = CTime(stx.stx_atime.tv_sec);
        times.lastWrite = CTime(stx.stx_mtime.tv_sec);
        times.bMountPoint = S_ISDIR(stx.stx_mode) && IsMountRoot(stx, Device());
        // The deletion that usually follows needs the mode: keep it for that one call.
        m_statName = name;
        m_statMode = stx.stx_mode;
        return true;
    }

    void Forget() override { m_statName.Empty(); }

    std::unique_ptr<Folder> OpenSubfolder(const CString& name) override {
        int fd = ::openat(m_fd, name.GetString(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return nullptr;
        struct statx stx;
        if (::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS, &stx) != 0 || IsMountRoot(stx, Device())) {
            ::close(fd);  // another file system is never entered
            return nullptr;
        }
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            ::close(fd);
            return nullptr;
        }
        auto folder = std::make_unique<PosixFolder>(dir, false);
        folder->m_id = FolderId{makedev(stx.stx_dev_major, stx.stx_dev_minor), stx.stx_ino};
        folder->m_haveId = true;
        return folder;
    }

    FolderId Id() override {
        if (!m_haveId) {
            struct stat st;
            if (::fstat(m_fd, &st) == 0) m_id = FolderId{st.st_dev, st.st_ino};
            m_haveId = true;
        }
        return m_id;
    }

    bool SetNormalAttributes(const CString& name, unsigned* pOldAttributes) override {
        m_statName.Empty();
        return ChangeMode(
            name, [](mode_t m) { return m | S_IWUSR; }, pOldAttributes);
    }

    bool RestoreAttributes(const CString& name, unsigned oldAttributes) override {
        return ChangeMode(
            name, [oldAttributes](mode_t) { return static_cast<mode_t>(oldAttributes); }, nullptr);
    }

    bool DeleteFile(const CString& name) override {
        mode_t mode;
        if (m_statName == name) {
            mode = m_statMode;
        } else {
            struct stat st;
            if (::fstatat(m_fd, name.GetString(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
            mode = st.st_mode;
        }
        m_statName.Empty();
        if (S_ISDIR(mode)) return false;
        if (!S_ISLNK(mode) && !(mode & S_IWUSR)) {  // read-only: refused, as on Windows
            errno = EACCES;
            return false;
        }
        return ::unlinkat(m_fd, name.GetString(), 0) == 0;
    }

    bool RemoveDirectory(const CString& name) override {
        // rmdir ignores the folder's own mode; Windows refuses a read-only folder.
        struct stat st;
        if (::fstatat(m_fd, name.GetString(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
        if (S_ISDIR(st.st_mode) && !(st.st_mode & S_IWUSR)) {
            errno = EACCES;
            return false;
        }
        return ::unlinkat(m_fd, name.GetString(), AT_REMOVEDIR) == 0;
    }

private:
    dev_t Device() { return static_cast<dev_t>(Id().device); }

    bool Read(FindData& entry) {
        for (;;) {
            errno = 0;
            struct dirent* d = ::readdir(m_dir);
            if (!d) return false;
            if (m_driveRoot && IsDotOrDotDot(d->d_name)) continue;
            entry.strName = CString(d->d_name);
            entry.bReadOnly = false;
            if (d->d_type == DT_UNKNOWN) {
                struct stat st;
                entry.bDirectory = ::fstatat(m_fd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
            } else {
                entry.bDirectory = d->d_type == DT_DIR;
            }
            return true;
        }
    }

    // Changes an entry's permission bits without following a link that may have been
    // swapped in: the entry is pinned by an O_PATH descriptor and changed through it.
    template <class F>
    bool ChangeMode(const CString& name, F newMode, unsigned* pOld) {
        int fd = ::openat(m_fd, name.GetString(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return false;
        struct stat st;
        bool ok = false;
        if (::fstat(fd, &st) == 0 && !S_ISLNK(st.st_mode)) {
            if (pOld) *pOld = st.st_mode & 07777;
            std::string proc = "/proc/self/fd/" + std::to_string(fd);
            ok = ::chmod(proc.c_str(), newMode(st.st_mode & 07777)) == 0;
        }
        ::close(fd);
        return ok;
    }

    DIR* m_dir;
    int m_fd;
    bool m_driveRoot;
    bool m_hasPending = false;
    FindData m_pending;
    CString m_statName;  // the entry GetTimes last read, and its mode
    mode_t m_statMode = 0;
    FolderId m_id;
    bool m_haveId = false;
};

class PosixFileSystem : public FileSystem {
public:
    char Separator() const override { return '/'; }
    const char* OptionMarkers() const override { return "-"; }
    bool NamesCompareUpperCased() const override { return false; }

    std::unique_ptr<Folder> OpenFolder(const CString& pattern) override {
        const std::string& p = pattern.str();
        if (p.size() < 3 || p.compare(p.size() - 3, 3, "*.*") != 0) return nullptr;
        std::string prefix = p.substr(0, p.size() - 3);
        if (prefix.empty()) return nullptr;
        int fd = OpenFolderNoFollow(prefix);
        if (fd < 0) return nullptr;
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            ::close(fd);
            return nullptr;
        }
        auto folder = std::make_unique<PosixFolder>(dir, IsDriveRoot(prefix));
        if (!folder->Prime()) return nullptr;
        return folder;
    }

    bool Exists(const CString& path) override {
        const std::string& p = path.str();
        if (p.empty()) return false;
        size_t slash = p.find_last_of('/');
        std::string last = slash == std::string::npos ? p : p.substr(slash + 1);
        if (last.find_first_of("*?") != std::string::npos) return false;  // a wildcard never names a file
        int fd = OpenPath(p, O_RDONLY | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) return false;
        ::close(fd);
        return true;
    }

    std::vector<CString> GetLogicalDriveStrings() override {
        std::vector<CString> drives{CString("/")};
        for (const std::string& m : NetworkMounts()) drives.emplace_back(m);
        return drives;
    }

    bool IsRemoteDrive(const CString& root) override {
        for (const std::string& m : NetworkMounts())
            if (m == root.str()) return true;
        return false;
    }

    bool GetShortPathName(const CString& longPath, CString& shortPath) override {
        shortPath = longPath;  // no 8.3 names here
        return true;
    }

    CString AbsolutePath(const CString& path) override {
        std::string p = path.str();
        if (p.empty() || p[0] != '/') {
            std::string cwd;
            std::vector<char> buf(PATH_MAX);
            while (!::getcwd(buf.data(), buf.size())) {
                if (errno != ERANGE) return CString(CollapseSeparators(p));
                buf.resize(buf.size() * 2);
            }
            p = std::string(buf.data()) + "/" + p;
        }
        return CString(CollapseSeparators(p));
    }

    bool ResolveFolder(const CString& path, CString& realPath, FolderId& id) override {
        if (path.IsEmpty()) return false;
        int fd = OpenPath(path.str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) return false;
        struct stat st;
        const bool ok = ::fstat(fd, &st) == 0;
        ::close(fd);
        if (!ok) return false;
        char* real = ::realpath(path.GetString(), nullptr);
        if (!real) return false;
        realPath = real;
        std::free(real);
        id = FolderId{st.st_dev, st.st_ino};
        return true;
    }

    // Half of what the descriptor limit leaves after the process's own, at most 64.
    int MaxOpenFolders() const override {
        struct rlimit rl;
        if (::getrlimit(RLIMIT_NOFILE, &rl) != 0 || rl.rlim_cur == RLIM_INFINITY) return 64;
        const long spare = (static_cast<long>(rl.rlim_cur) - 24) / 2;
        return static_cast<int>(spare < 4 ? 4 : spare > 64 ? 64 : spare);
    }

    // One per core; VARNOK_THREADS chooses another number (benchmarks, tests).
    int SweepThreads() const override {
        if (const char* env = std::getenv("VARNOK_THREADS")) {
            const int n = std::atoi(env);
            if (n >= 1 && n <= 64) return n;
        }
        const unsigned cores = std::thread::hardware_concurrency();
        return cores == 0 ? 1 : static_cast<int>(cores > 16 ? 16 : cores);
    }

    CTime GetCurrentTime() override { return CTime::GetCurrentTime(); }

private:
    bool IsDriveRoot(const std::string& prefix) {
        std::string p = CollapseSeparators(prefix);
        if (p == "/") return true;
        for (const std::string& m : NetworkMounts())
            if (m == p) return true;
        return false;
    }
};

}  // namespace

std::unique_ptr<FileSystem> CreatePlatformFileSystem() {
    // A sweep holds a bounded chain of open folders; more room costs nothing.
    struct rlimit rl;
    if (::getrlimit(RLIMIT_NOFILE, &rl) == 0 && rl.rlim_cur < rl.rlim_max) {
        rl.rlim_cur = rl.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &rl);
    }
    return std::make_unique<PosixFileSystem>();
}
