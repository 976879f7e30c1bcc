#include "framework/win32/Win32Api.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "framework/win32/Win32Dialog.h"
#include "platform/win32/Utf8.h"

namespace {
struct StartupInfo {
    int newMode;
};

// The executable's path; empty when it cannot be had.
std::wstring ProgramPath() {
    std::wstring module(MAX_PATH, L'\0');
    DWORD n;
    while ((n = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()))) >= module.size())
        module.resize(module.size() * 2);
    module.resize(n);
    return module;
}

std::string AnsiProgramFolder() {
    std::wstring module = ProgramPath();
    module.resize(module.find_last_of(L'\\') + 1);
    std::wstring shortForm(module.size() + 1, L'\0');
    const DWORD m = GetShortPathNameW(module.c_str(), shortForm.data(), static_cast<DWORD>(shortForm.size()));
    if (m > 0 && m < shortForm.size()) module.assign(shortForm.data(), m);
    const int size =
        WideCharToMultiByte(CP_ACP, 0, module.data(), static_cast<int>(module.size()), nullptr, 0, nullptr, nullptr);
    std::string folder(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, module.data(), static_cast<int>(module.size()), folder.data(), size, nullptr,
                            nullptr);
    return folder;
}
}  // namespace

// msvcrt's own splitting of the UTF-16 command line, the one wmain() would get.
extern "C" int __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** env, int doWildCard, StartupInfo* info);

std::vector<std::string> Win32CommandLineArguments() {
    std::vector<std::string> args;
    int argc = 0;
    wchar_t** wargv = nullptr;
    wchar_t** wenv = nullptr;
    StartupInfo si{0};
    if (__wgetmainargs(&argc, &wargv, &wenv, 0, &si) == 0 && wargv)
        for (int i = 0; i < argc; ++i) args.push_back(WideToUtf8(wargv[i], wcslen(wargv[i])));
    // The application's name is the executable's file name, whatever argv[0] says.
    const std::wstring module = ProgramPath();
    std::string self = module.empty() ? std::string("varnok.exe") : WideToUtf8(module);
    self = self.substr(self.find_last_of("\\/") + 1);
    if (args.empty())
        args.push_back(self);
    else
        args[0] = self;
    return args;
}

int Win32MessageBox(const std::string& text, const std::string& caption, unsigned style) {
    // Over the running dialog, which it disables while it is up; without one, over every
    // window of the program.
    HWND owner = static_cast<HWND>(Win32RunningDialog());
    return MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(),
                       style | (owner ? MB_APPLMODAL : MB_TASKMODAL) | MB_SETFOREGROUND);
}

namespace {
bool g_waitCursor = false;
}  // namespace

void Win32SetWaitCursor(bool on) {
    g_waitCursor = on;
    SetCursor(LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

bool Win32WaitCursorOn() { return g_waitCursor; }

void* Win32LoadHtmlHelp() {
    HMODULE library = nullptr;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", 0, KEY_READ,
                      &key) == ERROR_SUCCESS) {
        char path[MAX_PATH] = {};
        DWORD size = sizeof path - 1;  // room for the terminating null the value may lack
        DWORD type = 0;
        if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path), &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ))
            library = LoadLibraryA(path);
        RegCloseKey(key);
    }
    if (!library) library = LoadLibraryA("hhctrl.ocx");
    if (!library) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(14)));
}

void* Win32CallHtmlHelp(void* entry, void* hwndCaller, const char* file, unsigned command, std::uintptr_t data) {
    using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    return reinterpret_cast<HtmlHelpFunction>(entry)(static_cast<HWND>(hwndCaller), file, command, data);
}

std::string Win32HelpFileBesideProgram(const std::string& file) {
    const std::string name = file.substr(0, file.find("::"));
    if (name.empty() || name.find_first_of("\\/:") != std::string::npos) return file;
    return AnsiProgramFolder() + file;
}

bool Win32OpenUrl(const std::string& url) {
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", Utf8ToWide(url).c_str(), nullptr, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
