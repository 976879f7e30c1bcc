#include "ui/AboutDlg.h"

#include "framework/HtmlHelp.h"
#include "ui/resource.h"

namespace {
const MessageMapEntry<CAboutDlg> kMessageMap[] = {
    {WM_COMMAND, BN_CLICKED, IDC_ABOUT_HELP,
     [](CAboutDlg& d, WPARAM, LPARAM) -> LRESULT {
         d.OnHelpButton();
         return 0;
     }},
    {WM_COMMAND, STN_CLICKED, IDC_WEBLINK,
     [](CAboutDlg& d, WPARAM, LPARAM) -> LRESULT {
         d.OnWebLink();
         return 0;
     }},
};
}  // namespace

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

bool CAboutDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return DispatchMessageMap(*this, kMessageMap, message, wParam, lParam, pResult);
}

void CAboutDlg::OnHelpButton() { HtmlHelpA(nullptr, "varnok.chm", HH_DISPLAY_TOPIC, 0); }

void CAboutDlg::OnWebLink() { ShellExecuteA(nullptr, "open", VARNOK_WEB_ADDRESS, nullptr, nullptr, SW_SHOW); }
