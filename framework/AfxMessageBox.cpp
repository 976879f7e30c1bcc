#include "framework/AfxMessageBox.h"

#include <unistd.h>

#include <string>

#include "framework/CWinApp.h"

namespace {
ConsoleMessagePresenter g_console;
MessagePresenter* g_presenter = nullptr;

void WriteAll(int fd, const std::string& s) {
    const char* p = s.data();
    size_t left = s.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n <= 0) return;
        p += n;
        left -= static_cast<size_t>(n);
    }
}

std::string WithNewline(const CString& text) {
    std::string s = text.str();
    if (s.empty() || s.back() != '\n') s += '\n';
    return s;
}
}  // namespace

MessagePresenter* AfxSetMessagePresenter(MessagePresenter* presenter) {
    MessagePresenter* old = g_presenter;
    g_presenter = presenter;
    return old;
}

MessagePresenter* AfxGetMessagePresenter() { return g_presenter ? g_presenter : &g_console; }

CString AfxMessageName(const CString& name) { return AfxGetMessagePresenter()->Name(name); }

CString EscapeControlCharacters(const CString& name) {
    const std::string& s = name.str();
    std::string out;
    out.reserve(s.size());
    auto hex = [&out](unsigned char c) {
        static const char kDigits[] = "0123456789abcdef";
        out += "\\x";
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    };
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        switch (c) {
        case '\a': out += "\\a"; continue;
        case '\b': out += "\\b"; continue;
        case '\t': out += "\\t"; continue;
        case '\n': out += "\\n"; continue;
        case '\v': out += "\\v"; continue;
        case '\f': out += "\\f"; continue;
        case '\r': out += "\\r"; continue;
        case 0x1b: out += "\\e"; continue;
        default: break;
        }
        if (c < 0x20 || c == 0x7f) {
            hex(c);
        } else if (c == 0xc2 && i + 1 < s.size() && (static_cast<unsigned char>(s[i + 1]) & 0xe0) == 0x80) {
            hex(c);  // a C1 control character in UTF-8 (CSI among them)
            hex(static_cast<unsigned char>(s[++i]));
        } else {
            out += static_cast<char>(c);
        }
    }
    return CString(out);
}

int AfxMessageBox(const CString& text, UINT nType, UINT /*nIDHelp*/) {
    if ((nType & MB_ICONMASK) == 0) {
        UINT buttons = nType & MB_TYPEMASK;
        if (buttons == MB_OK || buttons == MB_OKCANCEL)
            nType |= MB_ICONEXCLAMATION;
        else if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL)
            nType |= MB_ICONQUESTION;
    }
    return AfxGetMessagePresenter()->Show(text, nType, AfxGetAppName());
}

ConsoleMessagePresenter::ConsoleMessagePresenter(int inFd, int outFd, int errFd)
    : m_inFd(inFd), m_outFd(outFd), m_errFd(errFd) {}

int ConsoleMessagePresenter::Show(const CString& text, UINT nType, const CString& caption) {
    const UINT buttons = nType & MB_TYPEMASK;
    const std::string prefix = caption.str() + ": ";
    if (buttons == MB_OK) {
        WriteAll(m_errFd, prefix + WithNewline(text));
        return IDOK;
    }
    if (buttons == MB_OKCANCEL) {  // the usage text: it is what the user asked for
        WriteAll(m_outFd, WithNewline(text));
        return IDOK;
    }
    const bool withCancel = buttons == MB_YESNOCANCEL;
    const int fallback = withCancel ? IDCANCEL : IDNO;
    if (!::isatty(m_inFd)) {
        WriteAll(m_errFd, prefix + WithNewline(text) + prefix + "no terminal to answer; answered " +
                              (withCancel ? "Cancel" : "No") + "\n");
        return fallback;
    }
    const std::string choices = withCancel ? "[y]es/[n]o/[c]ancel? " : "[y]es/[n]o? ";
    for (;;) {
        WriteAll(m_errFd, WithNewline(text) + choices);
        std::string line;
        char c;
        ssize_t n;
        while ((n = ::read(m_inFd, &c, 1)) == 1 && c != '\n') line += c;
        if (n <= 0 && line.empty()) {  // end of input
            WriteAll(m_errFd, "\n");
            return fallback;
        }
        const size_t start = line.find_first_not_of(" \t");
        const char first = start == std::string::npos ? '\0' : line[start];
        if (first == 'y' || first == 'Y') return IDYES;
        if (first == 'n' || first == 'N') return IDNO;
        if (withCancel && (first == 'c' || first == 'C')) return IDCANCEL;
    }
}
