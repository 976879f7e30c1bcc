// The file system of Windows, on the Win32 API. Names are UTF-8 bytes in the program and
// UTF-16 at the API (the W functions), so every name reaches the program unchanged
// whatever the ANSI code page. Reparse points (junctions, symbolic links, mounted volumes)
// below an open folder are entries of their own and never entered.
// clang-format off
#include "platform/FileSystem.h"
#include <windows.h>
// clang-format on

#include <string>

#include "platform/win32/Utf8.h"

// The interface's names, not windows.h's A/W macros; the W functions are called by name.
#undef DeleteFile
#undef RemoveDirectory
#undef GetLogicalDriveStrings
#undef GetShortPathName
#undef GetCurrentTime

namespace {

// FILETIME counts 100 ns from 1601; CTime seconds from 1970. Exact, rounding down, so a
// time before 1970 keeps its true (negative) second.
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kEpochDifference = 11'644'473'600LL * kTicksPerSecond;

CTime FromFileTime(const FILETIME& ft) {
    const std::int64_t ticks =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    std::int64_t since1970 = ticks - kEpochDifference;
    std::int64_t seconds = since1970 / kTicksPerSecond;
    if (since1970 % kTicksPerSecond < 0) --seconds;
    return CTime(seconds);
}

bool IsDotOrDotDot(const std::string& n) { return n == "." || n == ".."; }

// A path as the W functions take it. Paths past MAX_PATH get the "\\?\" prefix, which
// lifts the limit; the program builds such paths from listed names only, so they hold no
// "." or ".." that the prefix would stop the system from reading.
std::wstring WidePath(const std::string& path) {
    std::wstring w = Utf8ToWide(path);
    if (w.size() >= MAX_PATH - 12 && w.size() >= 3 && w[1] == L':' && w[2] == L'\\') return L"\\\\?\\" + w;
    if (w.size() >= MAX_PATH - 12 && w.rfind(L"\\\\", 0) == 0 && w.rfind(L"\\\\?\\", 0) != 0)
        return L"\\\\?\\UNC\\" + w.substr(2);
    return w;
}

DWORD AttributesOf(const std::string& path) { return GetFileAttributesW(WidePath(path).c_str()); }

// A real folder: a directory that is not a reparse point.
bool IsRealFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void FillEntry(FindData& entry, const std::string& name, DWORD attributes) {
    entry.strName = CString(name);
    entry.bDirectory = IsRealFolder(attributes);
    entry.bReadOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool IsDriveRoot(const std::string& prefix) { return prefix.size() == 3 && prefix[1] == ':' && prefix[2] == '\\'; }

// Which folder a path names now: volume serial number and file index. Reparse points are
// not followed: a link's id is the link's own.
bool IdOf(const std::string& path, FolderId& id, DWORD* pAttributes = nullptr, bool follow = false) {
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    HANDLE h =
        CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (!ok) return false;
    id = FolderId{info.dwVolumeSerialNumber,
                  (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    if (pAttributes) *pAttributes = info.dwFileAttributes;
    return true;
}

// A folder reparse point that names a volume rather than a path.
bool IsMountedVolume(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return true;  // cannot tell: leave it
    FILE_ATTRIBUTE_TAG_INFO tag{};
    const bool known = GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag);
    CloseHandle(h);
    if (!known) return true;
    if (tag.ReparseTag != IO_REPARSE_TAG_MOUNT_POINT) return false;
    // Junctions and mounted volumes share the tag; a volume's target is a volume name.
    wchar_t target[MAX_PATH];
    const std::wstring withSlash = path + L"\\";
    return GetVolumeNameForVolumeMountPointW(withSlash.c_str(), target, MAX_PATH) != 0;
}

class Win32Folder : public Folder {
public:
    Win32Folder(HANDLE find, const WIN32_FIND_DATAW& first, std::string prefix, FolderId id)
        : m_find(find), m_pending(first), m_prefix(std::move(prefix)), m_id(id) {}
    ~Win32Folder() override { FindClose(m_find); }

    bool Next(FindData& entry) override {
        for (;;) {
            if (!m_hasPending) {
                if (!FindNextFileW(m_find, &m_pending)) return false;
            }
            m_hasPending = false;
            const std::string name = WideToUtf8(m_pending.cFileName, wcslen(m_pending.cFileName));
            if (m_driveRoot && IsDotOrDotDot(name)) continue;
            FillEntry(entry, name, m_pending.dwFileAttributes);
            entry.bReadOnly = false;  // as on every system: only Lookup fills it
            return true;
        }
    }

    bool Lookup(const CString& name, FindData& entry) override {
        const DWORD a = AttributesOf(PathOf(name));
        if (a == INVALID_FILE_ATTRIBUTES) return false;
        FillEntry(entry, name.str(), a);
        return true;
    }

    bool GetTimes(const CString& name, EntryTimes& times) override {
        // The entry's own times: a reparse point's, never its target's.
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(WidePath(PathOf(name)).c_str(), GetFileExInfoStandard, &data)) return false;
        times.lastAccess = FromFileTime(data.ftLastAccessTime);
        times.lastWrite = FromFileTime(data.ftLastWriteTime);
        times.bMountPoint = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                            (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                            IsMountedVolume(WidePath(PathOf(name)));
        return true;
    }

    FolderId Id() override { return m_id; }

    std::unique_ptr<Folder> OpenSubfolder(const CString& name) override;

    bool SetNormalAttributes(const CString& name, unsigned* pOldAttributes) override {
        const std::string path = PathOf(name);
        const DWORD a = AttributesOf(path);
        if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) return false;
        if (!SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_NORMAL)) return false;
        if (pOldAttributes) *pOldAttributes = a;
        return true;
    }

    bool RestoreAttributes(const CString& name, unsigned oldAttributes) override {
        // Only the attributes SetFileAttributes can set back.
        const DWORD settable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                               FILE_ATTRIBUTE_TEMPORARY;
        DWORD a = oldAttributes & settable;
        if (a == 0) a = FILE_ATTRIBUTE_NORMAL;
        return SetFileAttributesW(WidePath(PathOf(name)).c_str(), a) != 0;
    }

    bool DeleteFile(const CString& name) override {
        const std::wstring path = WidePath(PathOf(name));
        const DWORD a = GetFileAttributesW(path.c_str());
        if (a == INVALID_FILE_ATTRIBUTES) return false;
        if (a & FILE_ATTRIBUTE_READONLY) {  // refused, as DeleteFile refuses it
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
        if (a & FILE_ATTRIBUTE_DIRECTORY) {
            // A junction or a link to a folder: removing it removes the link only. A
            // mounted volume is never removed.
            if (!(a & FILE_ATTRIBUTE_REPARSE_POINT) || IsMountedVolume(path)) return false;
            return RemoveDirectoryW(path.c_str()) != 0;
        }
        return DeleteFileW(path.c_str()) != 0;
    }

    bool RemoveDirectory(const CString& name) override {
        const std::wstring path = WidePath(PathOf(name));
        const DWORD a = GetFileAttributesW(path.c_str());
        // A read-only folder stays, as a read-only file does; a reparse point is no folder.
        if (!IsRealFolder(a) || (a & FILE_ATTRIBUTE_READONLY)) return false;
        return RemoveDirectoryW(path.c_str()) != 0;
    }

    void SetDriveRoot(bool driveRoot) { m_driveRoot = driveRoot; }

private:
    std::string PathOf(const CString& name) const { return m_prefix + name.str(); }

    HANDLE m_find;
    WIN32_FIND_DATAW m_pending;
    bool m_hasPending = true;
    bool m_driveRoot = false;
    std::string m_prefix;  // the folder's path, ending in a backslash
    FolderId m_id;         // read when the listing began
};

std::unique_ptr<Folder> OpenListing(const std::string& prefix) {
    FolderId id;
    DWORD attributes = 0;
    if (!IdOf(prefix, id, &attributes) || !IsRealFolder(attributes)) return nullptr;
    WIN32_FIND_DATAW data;
    HANDLE find =
        FindFirstFileExW(WidePath(prefix + "*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return nullptr;
    auto folder = std::make_unique<Win32Folder>(find, data, prefix, id);
    folder->SetDriveRoot(IsDriveRoot(prefix));
    return folder;
}

// True when a folder below the drive root on the way to prefix is a reparse point: the
// folders the program names come from listings and are never reached through a link.
bool ThroughReparsePoint(const std::string& prefix) {
    size_t pos = prefix.rfind("\\\\", 0) == 0 ? prefix.find('\\', prefix.find('\\', 2) + 1) : prefix.find('\\');
    while (pos != std::string::npos && (pos = prefix.find('\\', pos + 1)) != std::string::npos) {
        const DWORD a = AttributesOf(prefix.substr(0, pos));
        if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    }
    return false;
}

std::unique_ptr<Folder> Win32Folder::OpenSubfolder(const CString& name) {
    const std::string path = PathOf(name);
    if (!IsRealFolder(AttributesOf(path))) return nullptr;  // a reparse point is never entered
    return OpenListing(path + "\\");
}

class Win32FileSystem : public FileSystem {
public:
    char Separator() const override { return '\\'; }
    const char* OptionMarkers() const override { return "/-"; }
    bool NamesCompareUpperCased() const override { return true; }

    std::unique_ptr<Folder> OpenFolder(const CString& pattern) override {
        const std::string& p = pattern.str();
        if (p.size() < 4 || p.compare(p.size() - 3, 3, "*.*") != 0) return nullptr;
        // Runs of separators read as one (a drive's text followed by one more separator).
        std::string prefix;
        for (size_t i = 0; i + 3 < p.size(); ++i) {
            const char c = p[i] == '/' ? '\\' : p[i];
            if (c == '\\' && i > 1 && prefix.back() == '\\') continue;  // a share's leading "\\" stays
            prefix += c;
        }
        if (prefix.back() != '\\' || ThroughReparsePoint(prefix)) return nullptr;
        return OpenListing(prefix);
    }

    bool Exists(const CString& path) override {
        const std::string& p = path.str();
        if (p.empty() || p.find_first_of("*?") != std::string::npos) return false;
        HANDLE h = CreateFileW(WidePath(p).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        const bool ok = GetFileTime(h, nullptr, nullptr, nullptr) != 0;
        CloseHandle(h);
        return ok;
    }

    std::vector<CString> GetLogicalDriveStrings() override {
        std::vector<CString> drives;
        const DWORD size = GetLogicalDriveStringsW(0, nullptr);
        if (size == 0) return drives;
        std::wstring buf(size + 1, L'\0');
        const DWORD used = GetLogicalDriveStringsW(size, buf.data());
        if (used == 0 || used > size) return drives;
        for (const wchar_t* d = buf.c_str(); *d; d += wcslen(d) + 1) drives.emplace_back(WideToUtf8(d, wcslen(d)));
        return drives;
    }

    bool IsRemoteDrive(const CString& root) override {
        return GetDriveTypeW(Utf8ToWide(root.str()).c_str()) == DRIVE_REMOTE;
    }

    bool GetShortPathName(const CString& longPath, CString& shortPath) override {
        const std::wstring in = Utf8ToWide(longPath.str());
        DWORD size = GetShortPathNameW(in.c_str(), nullptr, 0);
        if (size == 0) return false;
        std::wstring out(size, L'\0');
        const DWORD n = GetShortPathNameW(in.c_str(), out.data(), size);
        if (n == 0 || n >= size) return false;
        shortPath = CString(WideToUtf8(out.data(), n));
        return true;
    }

    // The start path made full as the system reads it (the drive's current folder for
    // "C:x", the process's for "x"). A last component with a wildcard is a file type and
    // stays as typed: the system would drop its trailing dots ("*." would become "*").
    CString AbsolutePath(const CString& path) override {
        std::string p = path.str();
        if (p.empty()) return path;
        std::string tail;
        size_t split = p.find_last_of("\\/");
        if (split == std::string::npos && p.size() >= 2 && p[1] == ':') split = 1;  // "C:*.tmp"
        const std::string last = split == std::string::npos ? p : p.substr(split + 1);
        if (last.find_first_of("*?") != std::string::npos) {
            tail = last;
            p = split == std::string::npos ? std::string(".") : p.substr(0, split + 1);
            if (p.back() == ':') p += '.';  // the drive's current folder
        }
        const std::wstring in = Utf8ToWide(p);
        const DWORD size = GetFullPathNameW(in.c_str(), 0, nullptr, nullptr);
        if (size == 0) return path;
        std::wstring out(size, L'\0');
        const DWORD n = GetFullPathNameW(in.c_str(), size, out.data(), nullptr);
        if (n == 0 || n >= size) return path;
        std::string full = WideToUtf8(out.data(), n);
        if (!tail.empty() && full.back() != '\\') full += '\\';
        return CString(full + tail);
    }

    bool ResolveFolder(const CString& path, CString& realPath, FolderId& id) override {
        if (path.IsEmpty()) return false;
        DWORD attributes = 0;
        if (!IdOf(path.str(), id, &attributes, true) || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
        // The path with every link and junction in it followed, as the system names it.
        HANDLE h = CreateFileW(WidePath(path.str()).c_str(), FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        std::wstring out(MAX_PATH, L'\0');
        DWORD n = GetFinalPathNameByHandleW(h, out.data(), static_cast<DWORD>(out.size()), VOLUME_NAME_DOS);
        if (n >= out.size()) {
            out.resize(n + 1);
            n = GetFinalPathNameByHandleW(h, out.data(), static_cast<DWORD>(out.size()), VOLUME_NAME_DOS);
        }
        CloseHandle(h);
        if (n == 0 || n >= out.size()) return false;
        out.resize(n);
        if (out.rfind(L"\\\\?\\UNC\\", 0) == 0)
            out = L"\\\\" + out.substr(8);
        else if (out.rfind(L"\\\\?\\", 0) == 0)
            out = out.substr(4);
        realPath = CString(WideToUtf8(out));
        return true;
    }

    CTime GetCurrentTime() override {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        return FromFileTime(now);
    }
};

}  // namespace

std::unique_ptr<FileSystem> CreatePlatformFileSystem() { return std::make_unique<Win32FileSystem>(); }
