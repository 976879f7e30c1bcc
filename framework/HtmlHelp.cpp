#include "framework/HtmlHelp.h"

#include <string>

namespace {
HelpEngineLoader g_loader = nullptr;
std::unique_ptr<HelpEngine> g_engine;
bool g_loadFailed = false;
UrlOpener g_opener = nullptr;
}  // namespace

void AfxSetHelpEngineLoader(HelpEngineLoader loader) { g_loader = loader; }

void AfxCloseHelp() {
    if (g_engine) g_engine->Invoke(nullptr, nullptr, HH_CLOSE_ALL, 0);
}

void AfxResetHelpEngine() {
    g_engine.reset();
    g_loadFailed = false;
}

HWND HtmlHelpA(HWND hwndCaller, const char* pszFile, UINT uCommand, std::uintptr_t dwData) {
    if (!g_engine) {
        if (g_loadFailed) return nullptr;
        if (g_loader) g_engine = g_loader();
        if (!g_engine) {
            g_loadFailed = true;
            return nullptr;
        }
    }
    return g_engine->Invoke(hwndCaller, pszFile, uCommand, dwData);
}

void AfxSetUrlOpener(UrlOpener opener) { g_opener = opener; }

std::intptr_t ShellExecuteA(HWND, const char* verb, const char* file, const char*, const char*, int) {
    if (!g_opener || !file || std::string(verb ? verb : "open") != "open") return 2;  // SE_ERR_FNF
    return g_opener(file) ? 33 : 2;
}
