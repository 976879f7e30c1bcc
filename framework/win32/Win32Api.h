// The Win32 calls the framework's Win32 backend makes, behind plain C++ types: the
// framework's own Windows names (afxdefs.h) and <windows.h> never meet in one file.
#pragma once
#include <string>
#include <vector>

// The arguments as the C run time splits the command line (blanks separate, double
// quotes group and are removed, its backslash rules), as UTF-8; no wildcard expansion.
// The first is the executable's file name without its folder.
std::vector<std::string> Win32CommandLineArguments();
// MessageBoxW, task-modal, in the foreground; style holds the MB_ buttons and icon.
int Win32MessageBox(const std::string& text, const std::string& caption, unsigned style);
// The wait cursor or the arrow.
void Win32SetWaitCursor(bool on);
