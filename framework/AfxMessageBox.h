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
    // A file or folder name as it is to stand inside a message's text.
    virtual CString Name(const CString& name) const { return name; }
};

// Installs a presenter (not owned); returns the previous one. nullptr restores the console.
MessagePresenter* AfxSetMessagePresenter(MessagePresenter* presenter);
MessagePresenter* AfxGetMessagePresenter();

// A name as the current presenter shows it: a window shows it as it is; on the console,
// control characters are escaped so that a name cannot rewrite the terminal or split a
// message into lines that look like others.
CString AfxMessageName(const CString& name);
// \n, \r, \t, \e ... and \xNN for the other control characters (C1 ones too), for
// bytes that are not valid UTF-8 and for the marks that reorder text; every other
// character as it is.
CString EscapeControlCharacters(const CString& name);

// As the framework: with no icon requested, OK boxes get the exclamation icon and
// Yes/No boxes the question icon.
int AfxMessageBox(const CString& text, UINT nType = MB_OK, UINT nIDHelp = 0);

// Without a display: errors on standard error as "name: text", the usage text on
// standard output, questions on the terminal or, without one, answered Cancel (No).
class ConsoleMessagePresenter : public MessagePresenter {
public:
    ConsoleMessagePresenter(int inFd = 0, int outFd = 1, int errFd = 2);
    int Show(const CString& text, UINT nType, const CString& caption) override;
    CString Name(const CString& name) const override { return EscapeControlCharacters(name); }

private:
    int m_inFd, m_outFd, m_errFd;
};
