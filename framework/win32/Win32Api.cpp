#include "framework/win32/Win32Api.h"

#include <windows.h>

#include "platform/win32/Utf8.h"

namespace {
struct StartupInfo {
    int newMode;
};
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
    std::wstring module(MAX_PATH, L'\0');
    DWORD n;
    while ((n = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()))) >= module.size())
        module.resize(module.size() * 2);
    std::string self = n > 0 ? WideToUtf8(module.data(), n) : std::string("varnok.exe");
    self = self.substr(self.find_last_of("\\/") + 1);
    if (args.empty())
        args.push_back(self);
    else
        args[0] = self;
    return args;
}

int Win32MessageBox(const std::string& text, const std::string& caption, unsigned style) {
    return MessageBoxW(nullptr, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(),
                       style | MB_TASKMODAL | MB_SETFOREGROUND);
}

void Win32SetWaitCursor(bool on) { SetCursor(LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW)); }
