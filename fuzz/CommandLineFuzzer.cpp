// The command-line parser against the record it must produce, worked out plainly here.
// Input: the arguments after the program's name, each ended by a zero byte.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/VarnokCommandLineInfo.h"
#include "framework/AfxMessageBox.h"
#include "framework/CWinApp.h"
#include "platform/FileSystem.h"

namespace {

struct Record {
    bool readOnly = false, pathGiven = false, subDirs = false, lastAccess = false;
    bool deleteDirs = false, confirm = true, quiet = false, daysGiven = false;
    std::string path, days;
    bool usage = false;  // the usage text was shown and the process ended with 1
};

// Options begin with "-"; the letter after it selects; a second "-" negates q c l s d r;
// "n" takes the text after its next character; "?", "h" and "-help" show the usage text
// and end everything.
Record Expected(const std::vector<std::string>& args) {
    Record r;
    for (const std::string& arg : args) {
        if (arg.empty() || arg[0] != '-') {
            if (!r.pathGiven) {
                r.path = arg;
                r.pathGiven = true;
            }
            continue;
        }
        const std::string opt = arg.substr(1);
        const char c = opt.empty() ? '\0' : opt[0];
        const char second = opt.size() > 1 ? opt[1] : '\0';
        if (c == 'n') {
            r.daysGiven = true;
            r.days = opt.size() > 2 ? opt.substr(2) : "";
        } else if (c == '?' || c == 'h' || opt == "-help") {
            r.usage = true;
            return r;
        } else if (c == '-' || std::string("qclsdr").find(c) != std::string::npos) {
            const bool on = c != '-';
            switch (on ? c : second) {
            case 'q': r.quiet = on; break;
            case 'c': r.confirm = on; break;
            case 'l': r.lastAccess = on; break;
            case 's': r.subDirs = on; break;
            case 'd': r.deleteDirs = on; break;
            case 'r': r.readOnly = on; break;
            default: break;
            }
        }
    }
    return r;
}

struct ProcessExit {
    int code;
};
[[noreturn]] void ThrowExit(int code) { throw ProcessExit{code}; }

class CountingPresenter : public MessagePresenter {
public:
    int Show(const CString& text, UINT nType, const CString&) override {
        ++boxes;
        // The usage text's option markers depend on the platform; its heading does not.
        usageBox = text.str().find("\nUsage\n") != std::string::npos && (nType & 0xF) == MB_OKCANCEL;
        return IDOK;
    }
    int boxes = 0;
    bool usageBox = false;
};

[[noreturn]] void Differ(const char* field, const std::vector<std::string>& args) {
    std::fprintf(stderr, "the record differs in %s for the arguments:\n", field);
    for (const std::string& a : args) std::fprintf(stderr, "  \"%s\"\n", a.c_str());
    std::abort();
}

CWinApp& App() {
    static CWinApp app;
    static bool once = [] {
        app.m_strOptionMarkers = CreatePlatformFileSystem()->OptionMarkers();
        AfxSetExitHandler(&ThrowExit);
        return true;
    }();
    (void)once;
    return app;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args;
    std::string cur;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(cur);
            cur.clear();
        } else {
            cur += static_cast<char>(data[i]);
        }
    }
    if (!cur.empty()) args.push_back(cur);

    std::vector<std::string> argvStore{"varnok"};
    argvStore.insert(argvStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvStore) argv.push_back(a.data());
    CWinApp& app = App();
    app.SetCommandLine(static_cast<int>(argv.size()), argv.data());

    CountingPresenter presenter;
    MessagePresenter* previous = AfxSetMessagePresenter(&presenter);
    CVarnokCommandLineInfo info;
    int exitCode = -1;
    try {
        app.ParseCommandLine(info);
    } catch (const ProcessExit& e) {
        exitCode = e.code;
    }
    AfxSetMessagePresenter(previous);

    const Record want = Expected(args);
    if (want.usage) {
        if (exitCode != 1 || presenter.boxes != 1 || !presenter.usageBox)
            Differ("the usage text and exit code 1", args);
        return 0;
    }
    if (exitCode != -1 || presenter.boxes != 0) Differ("an unexpected message or exit", args);
    const std::pair<BOOL, bool> flags[] = {
        {info.m_bReadOnly, want.readOnly},     {info.m_bPathGiven, want.pathGiven},   {info.m_bSubDirs, want.subDirs},
        {info.m_bLastAccess, want.lastAccess}, {info.m_bDeleteDirs, want.deleteDirs}, {info.m_bConfirm, want.confirm},
        {info.m_bQuiet, want.quiet},           {info.m_bDaysGiven, want.daysGiven},
    };
    for (auto [got, expected] : flags)
        if (got != (expected ? TRUE : FALSE)) Differ("a switch", args);
    if (info.m_strPath.str() != want.path) Differ("the path", args);
    if (info.m_strDays.str() != want.days) Differ("the days text", args);
    return 0;
}
