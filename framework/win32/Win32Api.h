// The Win32 calls the framework's Win32 backend makes, behind plain C++ types: the
// framework's own Windows names (afxdefs.h) and <windows.h> never meet in one file.
#pragma once
#include <cstdint>
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
// Whether the wait cursor is on: the dialogs keep it when the pointer moves over them.
bool Win32WaitCursorOn();
// HtmlHelpA's entry point (ordinal 14 of the help library, found through the registry's
// class entry, else hhctrl.ocx by name); null when it cannot be loaded.
void* Win32LoadHtmlHelp();
// Calls that entry point with the arguments unchanged.
void* Win32CallHtmlHelp(void* entry, void* hwndCaller, const char* file, unsigned command, std::uintptr_t data);
// A help file named without a folder (and the topic after "::", if any) as the file
// beside the executable, in the ANSI code page the A functions take (the folder's short
// form, which has no characters that page lacks). Other names are returned as they are.
std::string Win32HelpFileBesideProgram(const std::string& file);
// ShellExecuteW "open" on a web address; true when the shell took it.
bool Win32OpenUrl(const std::string& url);
