#include "tests/support/win32/WinTempDir.h"

#include <windows.h>

#include <stdexcept>

#include "platform/win32/Utf8.h"

namespace {
FILETIME ToFileTime(std::int64_t seconds) {
    const std::uint64_t ticks = static_cast<std::uint64_t>((seconds + 11'644'473'600LL) * 10'000'000LL);
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

void MakeFolders(const std::wstring& path) {
    for (size_t pos = 3; (pos = path.find(L'\\', pos)) != std::wstring::npos; ++pos)
        CreateDirectoryW(path.substr(0, pos).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
}

// Removes a tree we made (it holds no links): read-only attributes are cleared first.
void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &d);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = d.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(child);
            else if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(child.c_str());
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(h, &d));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}
}  // namespace

WinTempDir::WinTempDir() {
    wchar_t base[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, base);
    if (n == 0 || n > MAX_PATH) throw std::runtime_error("no temporary folder");
    std::wstring root(base, n);
    if (root.back() == L'\\') root.pop_back();
    for (unsigned i = GetTickCount() ^ GetCurrentProcessId();; ++i) {
        const std::wstring candidate = root + L"\\varnok-" + std::to_wstring(i % 1000000);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            m_path = WideToUtf8(candidate);
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot make a temporary folder");
    }
}

WinTempDir::~WinTempDir() {
    if (!m_keepRoot) RemoveTree(Utf8ToWide(m_path));
}

bool WinTempDir::TryFile(const std::string& rel, std::int64_t written) {
    try {
        File(rel, written);
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

void WinTempDir::Remove(const std::string& rel) { DeleteFileW(Utf8ToWide(*this / rel).c_str()); }

void WinTempDir::File(const std::string& rel, std::int64_t written, std::int64_t accessed) {
    const std::wstring path = Utf8ToWide(*this / rel);
    MakeFolders(path.substr(0, path.find_last_of(L'\\')));
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + rel);
    DWORD done;
    WriteFile(h, "x", 1, &done, nullptr);
    CloseHandle(h);
    SetTimes(rel, written, accessed);
}

void WinTempDir::Folder(const std::string& rel, std::int64_t written) {
    MakeFolders(Utf8ToWide(*this / rel));
    if (written) SetTimes(rel, written);
}

void WinTempDir::SetTimes(const std::string& rel, std::int64_t written, std::int64_t accessed) {
    HANDLE h = CreateFileW(Utf8ToWide(*this / rel).c_str(), FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + rel);
    const FILETIME w = ToFileTime(written), a = ToFileTime(accessed ? accessed : written);
    SetFileTime(h, nullptr, &a, &w);
    CloseHandle(h);
}

void WinTempDir::SetReadOnly(const std::string& rel, bool readOnly) {
    SetFileAttributesW(Utf8ToWide(*this / rel).c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

bool WinTempDir::IsReadOnly(const std::string& rel) const {
    const DWORD a = GetFileAttributesW(Utf8ToWide(*this / rel).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

bool WinTempDir::Exists(const std::string& rel) const {
    return GetFileAttributesW(Utf8ToWide(*this / rel).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string SystemDriveRoot() {
    wchar_t buf[MAX_PATH];
    const UINT n = GetSystemWindowsDirectoryW(buf, MAX_PATH);
    return n >= 3 && n < MAX_PATH ? WideToUtf8(buf, 3) : std::string("C:\\");
}

std::string ShortPathOf(const std::string& path) {
    wchar_t buf[1024];
    const DWORD n = GetShortPathNameW(Utf8ToWide(path).c_str(), buf, 1024);
    return n == 0 || n >= 1024 ? std::string() : WideToUtf8(buf, n);
}

std::string CurrentFolder() {
    wchar_t buf[1024];
    const DWORD n = GetCurrentDirectoryW(1024, buf);
    return n == 0 || n >= 1024 ? std::string() : WideToUtf8(buf, n);
}

bool SetCurrentFolder(const std::string& path) { return SetCurrentDirectoryW(Utf8ToWide(path).c_str()) != 0; }

int RunCommandLine(const std::string& commandLine, unsigned timeoutMs) {
    std::wstring cmd = Utf8ToWide(commandLine);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    CloseHandle(pi.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(pi.hProcess, &code);
    } else {
        TerminateProcess(pi.hProcess, 99);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

std::string OwnFolder() {
    wchar_t buf[1024];
    const DWORD n = GetModuleFileNameW(nullptr, buf, 1024);
    std::string self = WideToUtf8(buf, n);
    return self.substr(0, self.find_last_of('\\'));
}

bool MakeFolderLink(const std::string& link, const std::string& target) {
    const DWORD flags = SYMBOLIC_LINK_FLAG_DIRECTORY | 0x2;  // unprivileged, in developer mode
    if (!CreateSymbolicLinkW(Utf8ToWide(link).c_str(), Utf8ToWide(target).c_str(), flags)) return false;
    const DWORD a = GetFileAttributesW(Utf8ToWide(link).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
