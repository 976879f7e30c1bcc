// The start-folder walk and the quiet run on the in-memory file system (Windows rules):
// whatever the tree and the start path, a quiet run deletes nothing outside the folder
// the path names, only old matching files (read-only ones only when asked), and below
// that folder only when sub-folders are asked for.
// Input: bytes that choose a tree, the options and the start path.
#include <fuzzer/FuzzedDataProvider.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "framework/CWinApp.h"
#include "framework/WaitCursor.h"
#include "framework/qt/QtApplication.h"
#include "fuzz/Reference.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/ScriptedPresenter.h"
#include "ui/VarnokDlg.h"
#include "ui/resources/Templates.h"

namespace {

constexpr std::int64_t kDay = 86400;
const CTime kNow(986551200);  // Fri Apr 06 10:00:00 2001 UTC

struct ProcessExit {
    int code;
};
[[noreturn]] void ThrowExit(int code) { throw ProcessExit{code}; }
void QuietQt(QtMsgType, const QMessageLogContext&, const QString&) {}

using Node = MemoryFileSystem::Node;

const char* const kNames[] = {"Temp", "temp", "A",    "b",          "Sub", "Program Files", "x.tmp", "y.TMP", "old.log",
                              "a b",  "~1",   ".tmp", "data01.log", "*",   "a.tmp.tmp",     "..x"};
const char* const kFileTypes[] = {"*.tmp", "*", "*.*", "*.log,*.tmp", "", ",", "?", "a*", "*.tmp, *.log", "x*.t?p"};
const char* const kDays[] = {"0", "1", "30", "120", "-5", "", "abc", " 7", "+3", "12345", "99999999999"};

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// atoi's reading of the days text, 0 when it holds no number.
std::int64_t DaysOf(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    std::int64_t v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9' && v < 100000000; ++i) v = v * 10 + (s[i] - '0');
    return negative ? -v : v;
}

std::string NameFrom(FuzzedDataProvider& in) {
    std::string name = in.ConsumeBool() ? kNames[in.ConsumeIntegralInRange<size_t>(0, std::size(kNames) - 1)]
                                        : in.ConsumeRandomLengthString(6);
    std::string clean;
    for (char c : name)
        if (c != '\\' && c != '\0') clean += c;
    if (clean.empty() || clean == "." || clean == "..") clean = "n";
    return clean;
}

CTime TimeFrom(FuzzedDataProvider& in) {
    return CTime(kNow.GetTime() - in.ConsumeIntegralInRange<std::int64_t>(-2, 400) * kDay +
                 in.ConsumeIntegralInRange<int>(-1, 1));
}

// The start path: mostly a real path of the tree, bent in the ways users type them.
std::string StartPathFrom(FuzzedDataProvider& in, MemoryFileSystem& fs, const std::vector<Node*>& nodes) {
    if (in.ConsumeIntegralInRange<int>(0, 9) == 0) return in.ConsumeRandomLengthString(24);
    std::string path = fs.PathOf(nodes[in.ConsumeIntegralInRange<size_t>(0, nodes.size() - 1)]);
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path.substr(3)) {
        if (c == '\\') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    std::string drive = path.substr(0, 3);
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
    case 0: drive[0] = static_cast<char>(drive[0] - 'A' + 'a'); break;
    case 1: drive = ""; break;      // relative
    case 2: drive = "\\\\"; break;  // a share
    default: break;
    }
    std::string out = drive;
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string part = parts[i];
        switch (in.ConsumeIntegralInRange<int>(0, 9)) {
        case 0: part = Upper(part); break;
        case 1: out += ".\\"; break;
        case 2: out += "..\\"; break;
        case 3: out += NameFrom(in) + "\\..\\"; break;
        case 4: out += "\\"; break;  // a doubled separator
        default: break;
        }
        out += part;
        if (i + 1 < parts.size()) out += '\\';
    }
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
    case 0: out += '\\'; break;
    case 1:
        out += (out.empty() || out.back() == '\\' ? "" : "\\") + std::string(in.ConsumeBool() ? "*.tmp" : "?.log");
        break;
    case 2: out += "\\.."; break;
    case 3: out += "\\" + NameFrom(in); break;
    default: break;
    }
    return out;
}

// The folder a start path names, by the file system's own reading of it: the folder
// itself, the folder of a named file, or the folder before a last component with a
// wildcard. Empty when none.
std::string ExpectedFolder(MemoryFileSystem& fs, const std::string& path, std::string& fileType) {
    if (path.empty()) return "";
    if (path.find_first_of("*?") == std::string::npos) {
        if (Node* n = fs.Find(path)) return fs.PathOf(n->directory ? n : n->parent);
    }
    const size_t pos = path.rfind('\\');
    const std::string candidate = pos == std::string::npos ? path : path.substr(pos + 1);
    const std::string folder = pos == std::string::npos ? "" : pos == 0 ? "\\" : path.substr(0, pos);
    if (candidate.find_first_of("*?") == std::string::npos) return "";
    Node* n = fs.Find(folder);
    if (!n || !n->directory) return "";
    fileType = candidate;
    return fs.PathOf(n);
}

struct Before {
    bool directory, readOnly;
    CTime lastWrite;
};

[[noreturn]] void Fail(const std::string& what, const std::string& path, const std::string& expected,
                       const std::vector<std::string>& log) {
    std::fprintf(stderr, "%s\n  start path: \"%s\"\n  expected folder: \"%s\"\n", what.c_str(), path.c_str(),
                 expected.c_str());
    for (const std::string& line : log) std::fprintf(stderr, "  %s\n", line.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("TZ", "UTC0", 1);
    qInstallMessageHandler(&QuietQt);
    static int qtArgc = 1;
    static QApplication app(qtArgc, *argv);
    (void)argc;
    RegisterVarnokResources();
    AfxInstallQtServices();
    AfxSetExitHandler(&ThrowExit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    MemoryFileSystem fs;
    fs.SetNow(kNow);
    fs.AddDrive('C');
    fs.AddDrive('D');
    fs.AddDrive('Z', true);
    std::vector<Node*> folders{fs.Find("C:\\"), fs.Find("D:\\"), fs.Find("Z:\\")};
    std::vector<Node*> nodes = folders;

    const int entries = in.ConsumeIntegralInRange<int>(0, 24);
    for (int i = 0; i < entries; ++i) {
        Node* parent = folders[in.ConsumeIntegralInRange<size_t>(0, folders.size() - 1)];
        const std::string path = fs.PathOf(parent) + (parent->parent ? "\\" : "") + NameFrom(in);
        const bool folder = in.ConsumeBool();
        Node* n = folder ? fs.AddFolder(path, TimeFrom(in)) : fs.AddFile(path, TimeFrom(in));
        n->lastAccess = TimeFrom(in);
        n->readOnly = in.ConsumeIntegralInRange<int>(0, 3) == 0;
        if (in.ConsumeIntegralInRange<int>(0, 5) == 0) n->shortName = Upper(n->name.substr(0, 6)) + "~1";
        nodes.push_back(n);
        if (n->directory) folders.push_back(n);
    }

    std::map<std::string, Before> before;
    for (Node* n : nodes) before[fs.PathOf(n)] = {n->directory, n->readOnly, n->lastWrite};

    ScriptedPresenter boxes;
    const int answers[] = {IDYES, IDNO, IDCANCEL};
    boxes.SetFallback(answers[in.ConsumeIntegralInRange<int>(0, 2)]);
    for (int i = in.ConsumeIntegralInRange<int>(0, 8); i > 0; --i)
        boxes.Answer({answers[in.ConsumeIntegralInRange<int>(0, 2)]});

    const bool prompt = in.ConsumeBool();
    const bool subDirs = in.ConsumeBool();
    const bool deleteDirs = in.ConsumeBool();
    const bool readOnly = in.ConsumeBool();
    const bool lastAccess = in.ConsumeBool();
    const std::string days = kDays[in.ConsumeIntegralInRange<size_t>(0, std::size(kDays) - 1)];
    std::string fileType = kFileTypes[in.ConsumeIntegralInRange<size_t>(0, std::size(kFileTypes) - 1)];
    const std::string path = StartPathFrom(in, fs, nodes);

    auto dlg = std::make_unique<CVarnokDlg>(nullptr, &fs);
    dlg->m_bQuiet = true;
    dlg->m_bPathGiven = true;
    dlg->m_bPrompt = prompt;
    dlg->m_bSubDirs = subDirs;
    dlg->m_bDeleteDirs = deleteDirs;
    dlg->m_bReadOnly = readOnly;
    dlg->m_bLastAccess = lastAccess;
    dlg->m_strDays = days;
    dlg->m_strFileType = fileType;
    dlg->m_strPath = path;

    const std::string expected = ExpectedFolder(fs, path, fileType);
    try {
        dlg->Create();
    } catch (const ProcessExit&) {}
    while (AfxGetWaitCursorDepth() > 0) EndWaitCursor();  // a simulated exit left it on
    dlg.reset();

    const std::string prefix = expected.empty() || expected.back() == '\\' ? expected : expected + '\\';
    const CTime cutoff(kNow.GetTime() - DaysOf(days) * kDay);
    for (const std::string& line : fs.Log()) {
        const size_t space = line.find(' ');
        const std::string op = line.substr(0, space);
        const std::string target = line.substr(space + 1);
        auto fail = [&](const char* what) { Fail(what, path, expected, fs.Log()); };
        if (expected.empty()) fail("a quiet run whose start folder was not found touched an entry");
        if (target.compare(0, prefix.size(), prefix) != 0 || target.size() == prefix.size())
            fail("an entry outside the start folder was touched");
        if (!subDirs && target.find('\\', prefix.size()) != std::string::npos)
            fail("an entry below the start folder was touched without sub-folders");
        const Before& was = before.at(target);
        if (op == "delete") {
            if (was.directory) fail("a folder was deleted as a file");
            if (was.readOnly && !readOnly) fail("a read-only file was deleted without the read-only option");
            if (!(was.lastWrite < cutoff)) fail("a file that is not old was deleted");
            if (!reference::MatchesFileType(fileType, target.substr(target.rfind('\\') + 1)))
                fail("a file that does not match the file type was deleted");
        } else if (op == "rmdir") {
            if (!deleteDirs) fail("a folder was removed without the option");
            if (was.readOnly) fail("a read-only folder was removed");
            if (!(was.lastWrite < cutoff)) fail("a folder that is not old was removed");
        } else if (op == "attrib") {
            if (!readOnly) fail("attributes were reset without the read-only option");
        }
    }
    return 0;
}
