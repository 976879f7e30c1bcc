// Names and texts are UTF-8 bytes inside the program and UTF-16 at the Win32 API, so that
// every name the file system holds reaches the program unchanged, whatever the system's
// ANSI code page. Only the Win32 layers (platform/win32, framework/win32) include this.
#pragma once
#include <string>

std::wstring Utf8ToWide(const std::string& s);
std::string WideToUtf8(const wchar_t* s, size_t n);
inline std::string WideToUtf8(const std::wstring& s) { return WideToUtf8(s.data(), s.size()); }
