#pragma once
#include "framework/CDialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    void OnHelpButton();
    void OnWebLink();

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
