#include "framework/AfxMessageBox.h"

#include <unistd.h>

#include <cstdint>
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

namespace {

// The length of the valid UTF-8 sequence that starts at i (shortest form, no surrogates,
// at most U+10FFFF); 0 when there is none.
size_t Utf8SequenceLength(const std::string& s, size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const size_t n = c >= 0xc2 && c <= 0xdf ? 2 : c >= 0xe0 && c <= 0xef ? 3 : c >= 0xf0 && c <= 0xf4 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xc0) != 0x80) return 0;
    const unsigned char d = static_cast<unsigned char>(s[i + 1]);
    if ((c == 0xe0 && d < 0xa0) || (c == 0xed && d >= 0xa0) || (c == 0xf0 && d < 0x90) || (c == 0xf4 && d >= 0x90))
        return 0;
    return n;
}

std::uint32_t DecodeUtf8(const std::string& s, size_t i, size_t n) {
    std::uint32_t cp = static_cast<unsigned char>(s[i]) & (0x7f >> n);
    for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3f);
    return cp;
}

// Marks that reverse or isolate the text around them (a name could show as another).
bool IsBidiControl(std::uint32_t cp) {
    return cp == 0x200e || cp == 0x200f || (cp >= 0x202a && cp <= 0x202e) || (cp >= 0x2066 && cp <= 0x2069);
}

}  // namespace

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
            continue;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        // A byte outside a valid UTF-8 sequence (a raw 0x9b is CSI to a terminal that takes
        // 8-bit controls), a C1 control in UTF-8, and a character that reorders the text
        // around it are written as their bytes in hex; other characters as they are.
        const size_t n = Utf8SequenceLength(s, i);
        const std::uint32_t cp = n ? DecodeUtf8(s, i, n) : 0;
        if (n == 0) {
            hex(c);
        } else if (cp < 0xa0 || IsBidiControl(cp)) {
            for (size_t k = 0; k < n; ++k) hex(static_cast<unsigned char>(s[i + k]));
            i += n - 1;
        } else {
            out.append(s, i, n);
            i += n - 1;
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
