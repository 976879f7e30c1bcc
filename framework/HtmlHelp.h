// HtmlHelpA: the help engine is loaded on first use; a failed load is remembered.
#pragma once
#include <cstdint>
#include <memory>

#include "framework/afxdefs.h"

constexpr UINT HH_DISPLAY_TOPIC = 0x0000;
constexpr UINT HH_TP_HELP_WM_HELP = 0x0011;
constexpr UINT HH_CLOSE_ALL = 0x0012;

HWND HtmlHelpA(HWND hwndCaller, const char* pszFile, UINT uCommand, std::uintptr_t dwData);

class HelpEngine {
public:
    virtual ~HelpEngine() = default;
    virtual HWND Invoke(HWND hwndCaller, const char* pszFile, UINT uCommand, std::uintptr_t dwData) = 0;
};

// Returns the engine, or nullptr when it cannot be loaded.
using HelpEngineLoader = std::unique_ptr<HelpEngine> (*)();
void AfxSetHelpEngineLoader(HelpEngineLoader loader);
// Closes every help window before the toolkit goes (HH_CLOSE_ALL); loads nothing.
void AfxCloseHelp();
// Forgets the loaded engine and the failure mark (tests only).
void AfxResetHelpEngine();

// ShellExecuteA "open": hands a web address to the desktop's opener. The result is ignored.
using UrlOpener = bool (*)(const char* url);
void AfxSetUrlOpener(UrlOpener opener);
std::intptr_t ShellExecuteA(HWND hwnd, const char* verb, const char* file, const char* params, const char* dir,
                            int nShowCmd);
constexpr int SW_SHOW = 5;
