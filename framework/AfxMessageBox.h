// Message boxes go through one replaceable presenter: the Qt one in a window,
// the console one without a display, a scripted one in tests.
#pragma once
#include "framework/CString.h"
#include "framework/afxdefs.h"

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Shows text with the given buttons and icon; returns IDOK, IDCANCEL, IDYES or IDNO.
    virtual int Show(const CString& text, UINT nType, const CString& caption) = 0;
};

// Installs a presenter (not owned); returns the previous one. nullptr restores the console.
MessagePresenter* AfxSetMessagePresenter(MessagePresenter* presenter);
MessagePresenter* AfxGetMessagePresenter();

// As the framework: with no icon requested, OK boxes get the exclamation icon and
// Yes/No boxes the question icon.
int AfxMessageBox(const CString& text, UINT nType = MB_OK, UINT nIDHelp = 0);

// Without a display: errors on standard error as "name: text", the usage text on
// standard output, questions on the terminal or, without one, answered Cancel (No).
class ConsoleMessagePresenter : public MessagePresenter {
public:
    ConsoleMessagePresenter(int inFd = 0, int outFd = 1, int errFd = 2);
    int Show(const CString& text, UINT nType, const CString& caption) override;

private:
    int m_inFd, m_outFd, m_errFd;
};
